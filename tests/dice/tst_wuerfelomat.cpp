// The dice roller: fair faces, open-ended totals, the success count and its list.

#include "ScriptedDice.h"
#include "dice/wuerfelomat.h"

#include <QTest>
#include <array>

using dice::Wuerfelomat;

namespace {

// A source that always yields the same value, to probe the mapping to faces at its edges.
class FixedSource final : public dice::RandomSource {
public:
    explicit FixedSource(float value) : m_value(value) {}
    void reseed(std::uint64_t) override {}
    float uniform() override { return m_value; }

private:
    float m_value;
};

} // namespace

class tst_Wuerfelomat : public QObject {
    Q_OBJECT

private slots:
    void facesAreUniform();
    void unchangedClockDoesNotRestart();
    void faceEdges_data();
    void faceEdges();
    void openEndedTotals_data();
    void openEndedTotals();
    void openEndedNeverMultipleOfSix();
    void successes_data();
    void successes();
    void tooManyDiceTouchNothing();
};

void tst_Wuerfelomat::facesAreUniform()
{
    // Fixed seed, real clock mixing replaced by a counting clock: reproducible.
    std::uint64_t tick = 0;
    Wuerfelomat w(std::make_unique<dice::MixingGenerator>(1234), [&tick] { return tick++; });
    constexpr int rolls = 60000;
    std::array<int, 7> counts{};
    for (int i = 0; i < rolls; ++i) {
        const int face = w.WirfW6();
        QVERIFY(face >= 1 && face <= 6);
        ++counts[face];
    }
    double chi2 = 0;
    const double expected = rolls / 6.0;
    for (int face = 1; face <= 6; ++face)
        chi2 += (counts[face] - expected) * (counts[face] - expected) / expected;
    // 5 degrees of freedom: 20.5 is the 0.1 % quantile, so a fair die fails once in a thousand seeds.
    QVERIFY2(chi2 < 20.5, qPrintable(QStringLiteral("chi-square %1").arg(chi2)));
}

void tst_Wuerfelomat::unchangedClockDoesNotRestart()
{
    // Every die of a test is rolled within one clock tick; they must not all be the same.
    Wuerfelomat w(std::make_unique<dice::MixingGenerator>(7), [] { return std::uint64_t(99); });
    std::array<int, 7> counts{};
    for (int i = 0; i < 600; ++i)
        ++counts[w.WirfW6()];
    for (int face = 1; face <= 6; ++face)
        QVERIFY2(counts[face] > 50, qPrintable(QStringLiteral("face %1: %2").arg(face).arg(counts[face])));
}

void tst_Wuerfelomat::faceEdges_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("face");
    QTest::newRow("zero") << 0.0f << 1;
    QTest::newRow("just below a sixth") << 0.1666666f << 1;
    QTest::newRow("a sixth") << 1.0f / 6.0f << 2;
    QTest::newRow("largest below one") << 0.99999994f << 6;
    QTest::newRow("a source that reaches one") << 1.0f << 6;
}

void tst_Wuerfelomat::faceEdges()
{
    QFETCH(float, value);
    QFETCH(int, face);
    Wuerfelomat w(std::make_unique<FixedSource>(value), [] { return std::uint64_t(0); });
    QCOMPARE(int(w.WirfW6()), face);
}

void tst_Wuerfelomat::openEndedTotals_data()
{
    QTest::addColumn<QList<int>>("faces");
    QTest::addColumn<int>("total");
    QTest::newRow("3") << QList<int>{3} << 3;
    QTest::newRow("5") << QList<int>{5} << 5;
    QTest::newRow("6 2") << QList<int>{6, 2} << 8;
    QTest::newRow("6 6 1") << QList<int>{6, 6, 1} << 13;
    QTest::newRow("6 6 6 1") << QList<int>{6, 6, 6, 1} << 19;
}

void tst_Wuerfelomat::openEndedTotals()
{
    QFETCH(QList<int>, faces);
    QFETCH(int, total);
    ScriptedSource* source = nullptr;
    auto w = scriptedDice(faces, &source);
    QCOMPARE(int(w->WirfW6Offen()), total);
    QCOMPARE(source->rolled(), faces.size());
    QCOMPARE(source->reseeds, faces.size()); // the clock is taken in before every single die
}

void tst_Wuerfelomat::openEndedNeverMultipleOfSix()
{
    std::uint64_t tick = 0;
    Wuerfelomat w(std::make_unique<dice::MixingGenerator>(42), [&tick] { return tick += 7; });
    int above6 = 0;
    for (int i = 0; i < 20000; ++i) {
        const int total = w.WirfW6Offen();
        QVERIFY(total >= 1);
        QVERIFY2(total % 6 != 0, qPrintable(QString::number(total)));
        above6 += total > 6;
    }
    QVERIFY(above6 > 2500); // about one in six explodes
}

void tst_Wuerfelomat::successes_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("faces");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("successes");
    QTest::newRow("equal counts") << 4 << 3 << QList<int>{4, 3, 5} << QStringList{"4", "3", "5"} << 2;
    QTest::newRow("exploded die is one line")
        << 12 << 5 << QList<int>{6, 4, 1, 2, 6, 6, 1, 5} << QStringList{"10", "1", "2", "13", "5"} << 1;
    QTest::newRow("target 7 needs a six") << 7 << 2 << QList<int>{5, 6, 1} << QStringList{"5", "7"} << 1;
    QTest::newRow("target 1 always") << 1 << 2 << QList<int>{1, 1} << QStringList{"1", "1"} << 2;
    QTest::newRow("negative target") << -3 << 1 << QList<int>{1} << QStringList{"1"} << 1;
    QTest::newRow("no dice") << 4 << 0 << QList<int>{} << QStringList{} << 0;
    QTest::newRow("negative dice") << 4 << -2 << QList<int>{} << QStringList{} << 0;
}

void tst_Wuerfelomat::successes()
{
    QFETCH(int, target);
    QFETCH(int, count);
    QFETCH(QList<int>, faces);
    QFETCH(QStringList, lines);
    QFETCH(int, successes);
    ScriptedSource* source = nullptr;
    auto w = scriptedDice(faces, &source);
    dice::RecordingSink sink;
    sink.lines = {QStringLiteral("old die")}; // the list is cleared first
    const numbers::Int16 t = target;
    const numbers::Int16 n = count;
    QCOMPARE(int(w->ZaehleErfolge(t, n, sink)), successes);
    QCOMPARE(sink.lines, lines);
    QCOMPARE(source->rolled(), faces.size());
}

void tst_Wuerfelomat::tooManyDiceTouchNothing()
{
    ScriptedSource* source = nullptr;
    auto w = scriptedDice(QList<int>(100, 3), &source);
    dice::RecordingSink sink;
    sink.lines = {QStringLiteral("kept")};
    QVERIFY_THROWS_EXCEPTION(dice::TooManyDice, w->ZaehleErfolge(4, 101, sink));
    QCOMPARE(sink.lines, QStringList{QStringLiteral("kept")});
    QCOMPARE(source->rolled(), 0);
    QCOMPARE(int(w->ZaehleErfolge(4, 100, sink)), 0); // 100 dice still fit the table
    QCOMPARE(sink.lines.size(), 100);
}

QTEST_GUILESS_MAIN(tst_Wuerfelomat)
#include "tst_wuerfelomat.moc"
