// The number rules every other part relies on: checked 16-bit arithmetic, text to number by
// the user's locale, the refusals of unreadable fields, the text forms and the fixed-point
// amount.

#include "numbers/Amount.h"
#include "numbers/Refusal.h"
#include "numbers/Text.h"

#include <QTest>
#include <limits>

using namespace numbers;

class tst_Numbers : public QObject {
    Q_OBJECT

  private slots:
    void checked() {
        QCOMPARE(add(32766, 1), 32767);
        QVERIFY_THROWS_EXCEPTION(Overflow, add(32767, 1));
        QVERIFY_THROWS_EXCEPTION(Overflow, sub(0, -32768));
        QCOMPARE(mul(-1365, 24), -32760);
        QVERIFY_THROWS_EXCEPTION(Overflow, mul(1366, 24));
    }

    // A field as a rule reads it: the value, or the refusal naming the field.
    void read_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("whole");
        QTest::addColumn<QString>("single");
        const QString none = notAWholeNumber("F"), range = wholeNumberOutOfRange("F");
        const QString nan = notANumber("F");
        // clang-format off
        QTest::newRow("half to even down") << "C" << "2.5" << "2" << "2.5";
        QTest::newRow("negative half") << "C" << "-2.5" << "-2" << "-2.5";
        QTest::newRow("top") << "C" << "32767.4" << "32767" << "32767.4";
        QTest::newRow("above top") << "C" << "32767.5" << range << "32767.5";
        QTest::newRow("bottom") << "C" << "-32768" << "-32768" << "-32768";
        QTest::newRow("below bottom") << "C" << "-32768.6" << range << "-32768.6";
        QTest::newRow("float top") << "C" << "3.4e38" << range << "3.4e+38";
        QTest::newRow("largest float") << "C" << "340282346638528859811704183484516925440" << range << "3.40282e+38";
        QTest::newRow("beyond float") << "C" << "1e39" << range << nan;
        QTest::newRow("beyond double") << "C" << "1e309" << range << nan;
        QTest::newRow("309 digits") << "C" << QString(309, '9') << range << nan;
        QTest::newRow("nan") << "C" << "nan" << none << nan;
        QTest::newRow("C grouping") << "C" << "3,500" << none << nan;
        QTest::newRow("German comma") << "de_DE" << "2,5" << "2" << "2.5";
        QTest::newRow("German point is decimal") << "de_DE" << "1.010" << "1" << "1.01";
        QTest::newRow("German grouped decimal") << "de_DE" << "1.000,5" << none << nan;
        // clang-format on
    }
    void read() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, whole);
        QFETCH(QString, single);
        QLocale::setDefault(QLocale(locale));
        const auto w = decide(QString(), [&] { return readWholeNumber(text, "F"); });
        QCOMPARE(w.refused() ? w.refusal() : intText(*w), whole);
        const auto f = decide(QString(), [&] { return readSingle(text, "F"); });
        QCOMPARE(f.refused() ? f.refusal() : QString::number(*f), single);
    }

    void text() {
        QLocale::setDefault(QLocale::c());
        QCOMPARE(singleText(16.0f / 24.0f), "0.6666667");
        QCOMPARE(singleText(123456789.0f), "1.234568e+08"); // 7 digits cannot show it
        QCOMPARE(timeLine(72.0f), "72 hrs = 3 Tage");
        QCOMPARE(Amount::fromTicks(1450).roundedToCents().text(), "0.14"); // ties to even
        QCOMPARE(Amount::fromTicks(1350).roundedToCents().text(), "0.14");
        QCOMPARE(Amount::fromTicks(-1250).roundedToCents().text(), "-0.12");
        QCOMPARE(Amount::fromTicks(-1350).roundedToCents().text(), "-0.14");
        QCOMPARE(Amount::fromTicks(1251).roundedToCents().text(), "0.13");
        QCOMPARE(Amount::fromTicks(-3).text(), "-0.0003");
        QCOMPARE(Amount::fromTicks(15000).text(), "1.5");
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(singleText(1234.5f), "1234,5"); // no grouping
        QCOMPARE(timeLine(36.0f), "36 hrs = 1,5 Tage");
        QCOMPARE(Amount::fromTicks(123456783333).roundedToCents().text(), "12345678,33");
    }

    void amount() {
        // 16 hours at 500 per day in single precision is 333.33334.
        QCOMPARE(Amount::fromFloat(16.0f / 24.0f * 500.0f).ticks(), 3333333);
        QCOMPARE(Amount::fromFloat(0.00026f).ticks(), 3);
        QCOMPARE(Amount::fromFloat(-1.5f).ticks(), -15000);
        QCOMPARE(Amount().plus(Amount::fromTicks(5)).ticks(), 5); // a new amount is nothing
        QVERIFY_THROWS_EXCEPTION(Overflow, Amount::fromFloat(1e30f));
        const Amount top = Amount::fromTicks(std::numeric_limits<qint64>::max());
        QVERIFY_THROWS_EXCEPTION(Overflow, top.plus(Amount::fromTicks(1)));
        QCOMPARE(top.roundedToCents().ticks(), 9223372036854775800);
    }

    // The one way out of a rule: a refusal or an unnamed overflow becomes the result.
    void decision() {
        QCOMPARE(decide(QString("o"), [] { return add(1, 2); }).refused(), false);
        QCOMPARE(decide(QString("o"), [] { return add(32767, 1); }).refusal(), "o");
        QCOMPARE(decide(QString("o"), [] { return orRefuse("n", [] { return add(32767, 1); }); })
                     .refusal(),
                 "n");
    }
};

QTEST_GUILESS_MAIN(tst_Numbers)
#include "tst_numbers.moc"
