// The trade of successes against equipment and period after a normal search.

#include "LocaleGuard.h"
#include "care/NormalSearch.h"
#include "care/Trade.h"

#include <QTest>
#include <cmath>

using namespace care;

class tst_Trade : public QObject {
    Q_OBJECT

  private slots:
    void clicks_data();
    void clicks();
    void doublingStopsBeforeInfinity();
    void periodText();
};

void tst_Trade::clicks_data() {
    // Clicks: Q/q = "+"/"-" at the equipment, T/t = "+"/"-" at the period; acted: 1 per click
    // that changed something.
    QTest::addColumn<int>("basis");
    QTest::addColumn<int>("erfolge");
    QTest::addColumn<float>("zeitraum");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("acted");
    QTest::addColumn<int>("equipment");
    QTest::addColumn<int>("erfolgeAfter");
    QTest::addColumn<float>("zeitraumAfter");
    const auto row = [](const char* name, int basis, int erfolge, float zeitraum,
                        const char* clicks, const char* acted, int equipment, int erfolgeAfter,
                        float zeitraumAfter) {
        QTest::newRow(name) << basis << erfolge << zeitraum << QString(clicks) << QString(acted)
                            << equipment << erfolgeAfter << zeitraumAfter;
    };
    row("quality up to the last success", 3, 3, 7, "QQQ", "110", 5, 1, 7);
    row("quality down one below the basis", 3, 3, 7, "qqQ", "101", 3, 3, 7);
    row("quality up stops at basis + 6", 3, 20, 7, "QQQQQQQ", "1111110", 9, 14, 7);
    row("after second refusal: -1 to 6", 0, 20, 7, "qqQQQQQQQQ", "1011111110", 6, 14, 7);
    row("period halved to the last success", 3, 3, 7, "TTT", "110", 3, 1, 1.75f);
    row("doubling earns a success to spend", 3, 1, 7, "QtQ", "011", 4, 1, 14);
    row("time for quality and back", 3, 2, 7, "qTtQ", "1111", 3, 2, 7);
    row("successes at the 16-bit top", 3, 32767, 7, "tqQT", "0011", 4, 32765, 3.5f);
}

void tst_Trade::clicks() {
    QFETCH(int, basis);
    QFETCH(int, erfolge);
    QFETCH(float, zeitraum);
    QFETCH(QString, clicks);
    QFETCH(QString, acted);
    NormalVersorgungState state{0, 5, 0, zeitraum, Int16(erfolge), Int16(basis), Int16(basis)};
    QString actedNow;
    for (const QChar click : clicks) {
        bool (*rule)(NormalVersorgungState&) = click == 'Q'   ? cmdImproveQual
                                               : click == 'q' ? cmdDiminQual
                                               : click == 'T' ? cmdImproveTime
                                                              : cmdDiminTime;
        actedNow += rule(state) ? '1' : '0';
    }
    QCOMPARE(actedNow, acted);
    QTEST(int(state.Equipment), "equipment");
    QTEST(int(state.Erfolge), "erfolgeAfter");
    QTEST(state.Zeitraum, "zeitraumAfter");
    QCOMPARE(state.EquipmentBasis, basis);
    QCOMPARE(state.Fertigkeit, 5); // the trade never touches the skill handed over
}

void tst_Trade::doublingStopsBeforeInfinity() {
    NormalVersorgungState state;
    state.Zeitraum = 180.0f;
    state.Erfolge = 1;
    int doublings = 0;
    while (doublings < 1000 && cmdDiminTime(state))
        ++doublings;
    // The 121st doubling of 180 days would pass the largest float.
    QCOMPARE(doublings, 120);
    QVERIFY(std::isfinite(state.Zeitraum));
    QCOMPARE(state.Erfolge, 121);
}

void tst_Trade::periodText() {
    {
        const LocaleGuard guard{QLocale::c()};
        QCOMPARE(zeitraumText(3.5f), QStringLiteral("3.5 Tage"));
    }
    const LocaleGuard guard{QLocale(QLocale::German, QLocale::Germany)};
    QCOMPARE(zeitraumText(3.5f), QStringLiteral("3,5 Tage"));
    QCOMPARE(zeitraumText(0.875f), QStringLiteral("0,875 Tage"));
}

QTEST_GUILESS_MAIN(tst_Trade)
#include "tst_trade.moc"
