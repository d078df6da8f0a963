// The number rules every other part relies on: checked 16-bit arithmetic, text to number by
// the user's locale, the single-precision text form, the time line and the fixed-point amount.

#include "LocaleGuard.h"
#include "TableRows.h"
#include "numbers/Amount.h"
#include "numbers/Text.h"

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

    // locale, whole number (i) or single precision (f), text, the value or "-" if unusable
    void parse_data() {
        rows({"C|i|2.5|2", "C|i|3.5|4", "C|i|-2.5|-2", "C|i|32767.4|32767", "C|i|32767.5|-",
              "C|i|-32768|-32768", "C|i|-32769|-", "C|i||-", "C|i|4a|-", "C|i|inf|-",
              "de_DE|i|2,5|2", "de_DE|i|3.5|4", "de_DE|f|5,01|5.01", "C|f|3.4e38|3.4e+38",
              "C|f|1e39|-"});
    }
    void parse() {
        QFETCH(QStringList, t);
        LocaleGuard guard{QLocale(t[0])};
        const auto text = [](auto v) { return v ? QString::number(*v) : QStringLiteral("-"); };
        QCOMPARE(t[1] == u"i" ? text(parseInt16(t[2])) : text(parseSingle(t[2])), t[3]);
    }

    void text() {
        LocaleGuard c{QLocale::c()};
        QCOMPARE(singleText(16.0f / 24.0f), "0.6666667");
        QCOMPARE(singleText(123456789.0f), "1.234568e+08"); // 7 digits cannot show it
        QCOMPARE(timeLine(72.0f), "72 hrs = 3 Tage");
        QCOMPARE(Amount::fromTicks(1250).roundedToCents().text(), "0.12"); // ties to even
        QCOMPARE(Amount::fromTicks(1350).roundedToCents().text(), "0.14");
        QCOMPARE(Amount::fromTicks(-1350).roundedToCents().text(), "-0.14");
        QCOMPARE(Amount::fromTicks(1251).roundedToCents().text(), "0.13");
        LocaleGuard de{QLocale(QLocale::German, QLocale::Germany)};
        QCOMPARE(singleText(1234.5f), "1234,5"); // no grouping
        QCOMPARE(timeLine(36.0f), "36 hrs = 1,5 Tage");
        QCOMPARE(Amount::fromTicks(123456783333).roundedToCents().text(), "12345678,33");
    }

    void amount() {
        // 16 hours at 500 per day in single precision is 333.33334.
        QCOMPARE(Amount::fromFloat(16.0f / 24.0f * 500.0f).ticks(), 3333333);
        QCOMPARE(Amount::fromFloat(0.00026f).ticks(), 3);
        QCOMPARE(Amount::fromFloat(-1.5f).ticks(), -15000);
        QVERIFY_THROWS_EXCEPTION(Overflow, Amount::fromFloat(1e30f));
        const Amount top = Amount::fromTicks(std::numeric_limits<qint64>::max());
        QVERIFY_THROWS_EXCEPTION(Overflow, top.plus(Amount::fromTicks(1)));
        QCOMPARE(top.roundedToCents().ticks(), 9223372036854775800);
    }
};

QTEST_GUILESS_MAIN(tst_Numbers)
#include "tst_numbers.moc"
