// The number rules every other part relies on: checked 16-bit arithmetic, text to number by
// the user's locale, the single-precision text form, the time line and the fixed-point amount.

#include "LocaleGuard.h"
#include "numbers/Amount.h"
#include "numbers/Checked.h"
#include "numbers/Text.h"

#include <QTest>
#include <limits>

using numbers::Amount;
using numbers::Int16;

class tst_Numbers : public QObject {
    Q_OBJECT

private slots:
    void checkedArithmetic_data();
    void checkedArithmetic();
    void parseInt16_data();
    void parseInt16();
    void parseSingle_data();
    void parseSingle();
    void singleText_data();
    void singleText();
    void timeLine();
    void amountFromFloat_data();
    void amountFromFloat();
    void amountRoundingAndText_data();
    void amountRoundingAndText();
    void amountOverflow();
};

void tst_Numbers::checkedArithmetic_data()
{
    QTest::addColumn<char>("op");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<bool>("overflows");
    QTest::addColumn<int>("result");
    QTest::newRow("add at the top") << '+' << 32766 << 1 << false << 32767;
    QTest::newRow("add past the top") << '+' << 32767 << 1 << true << 0;
    QTest::newRow("add past the bottom") << '+' << -32768 << -1 << true << 0;
    QTest::newRow("sub to the bottom") << '-' << -32767 << 1 << false << -32768;
    QTest::newRow("sub past the bottom") << '-' << -32768 << 1 << true << 0;
    QTest::newRow("negate the bottom") << '-' << 0 << -32768 << true << 0;
    QTest::newRow("mul 1365 x 24") << '*' << 1365 << 24 << false << 32760;
    QTest::newRow("mul 1366 x 24") << '*' << 1366 << 24 << true << 0;
    QTest::newRow("mul 655 x 50") << '*' << 655 << 50 << false << 32750;
    QTest::newRow("mul 656 x 50") << '*' << 656 << 50 << true << 0;
    QTest::newRow("mul negative") << '*' << -1365 << 24 << false << -32760;
}

void tst_Numbers::checkedArithmetic()
{
    QFETCH(char, op);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(bool, overflows);
    QFETCH(int, result);
    const auto x = static_cast<Int16>(a);
    const auto y = static_cast<Int16>(b);
    auto run = [&] {
        return op == '+' ? numbers::add(x, y) : op == '-' ? numbers::sub(x, y) : numbers::mul(x, y);
    };
    if (overflows)
        QVERIFY_THROWS_EXCEPTION(numbers::Overflow, run());
    else
        QCOMPARE(int(run()), result);
}

void tst_Numbers::parseInt16_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "C" << "4" << true << 4;
    QTest::newRow("blanks around") << "C" << " 12 " << true << 12;
    QTest::newRow("negative") << "C" << "-3" << true << -3;
    QTest::newRow("half to even down") << "C" << "2.5" << true << 2;
    QTest::newRow("half to even up") << "C" << "3.5" << true << 4;
    QTest::newRow("negative half") << "C" << "-2.5" << true << -2;
    QTest::newRow("above half") << "C" << "2.51" << true << 3;
    QTest::newRow("top") << "C" << "32767" << true << 32767;
    QTest::newRow("bottom") << "C" << "-32768" << true << -32768;
    QTest::newRow("rounds to the top") << "C" << "32767.4" << true << 32767;
    QTest::newRow("rounds past the top") << "C" << "32767.5" << false << 0;
    QTest::newRow("past the top") << "C" << "40000" << false << 0;
    QTest::newRow("past the bottom") << "C" << "-32769" << false << 0;
    QTest::newRow("exponent") << "C" << "1e2" << true << 100;
    QTest::newRow("exponent too large") << "C" << "1e5" << false << 0;
    QTest::newRow("empty") << "C" << "" << false << 0;
    QTest::newRow("blank") << "C" << "   " << false << 0;
    QTest::newRow("minus only") << "C" << "-" << false << 0;
    QTest::newRow("letters") << "C" << "abc" << false << 0;
    QTest::newRow("trailing letters") << "C" << "4a" << false << 0;
    QTest::newRow("infinity") << "C" << "inf" << false << 0;
    QTest::newRow("not a number") << "C" << "nan" << false << 0;
    QTest::newRow("long digits") << "C" << QString(400, QLatin1Char('9')) << false << 0;
    QTest::newRow("de comma half") << "de_DE" << "2,5" << true << 2;
    QTest::newRow("de comma") << "de_DE" << "3,5" << true << 4;
    QTest::newRow("de point falls back") << "de_DE" << "3.5" << true << 4;
    QTest::newRow("de grouping") << "de_DE" << "1.000" << true << 1000;
}

void tst_Numbers::parseInt16()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    LocaleGuard guard{QLocale(locale)};
    const auto parsed = numbers::parseInt16(text);
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(int(*parsed), value);
}

void tst_Numbers::parseSingle_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<float>("value");
    QTest::newRow("decimal") << "C" << "5.01" << true << 5.01f;
    QTest::newRow("de decimal") << "de_DE" << "5,01" << true << 5.01f;
    QTest::newRow("de half") << "de_DE" << "0,5" << true << 0.5f;
    QTest::newRow("beyond float") << "C" << "1e39" << false << 0.0f;
    QTest::newRow("largest float") << "C" << "3.4e38" << true << 3.4e38f;
    QTest::newRow("empty") << "C" << "" << false << 0.0f;
}

void tst_Numbers::parseSingle()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(float, value);
    LocaleGuard guard{QLocale(locale)};
    const auto parsed = numbers::parseSingle(text);
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(*parsed, value); // exact: bounds are compared as single precision
}

void tst_Numbers::singleText_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << "C" << 288.0f << "288";
    QTest::newRow("fraction") << "C" << 9.6f << "9.6";
    QTest::newRow("seven digits") << "C" << 16.0f / 24.0f << "0.6666667";
    QTest::newRow("halving") << "C" << 0.875f << "0.875";
    QTest::newRow("negative") << "C" << -2.5f << "-2.5";
    QTest::newRow("negative zero") << "C" << -0.0f << "0";
    QTest::newRow("no grouping") << "C" << 123456.0f << "123456";
    QTest::newRow("de comma") << "de_DE" << 9.6f << "9,6";
    QTest::newRow("de no grouping") << "de_DE" << 1234.5f << "1234,5";
    QTest::newRow("eight digits need an exponent") << "C" << 123456789.0f << "1.234568e+08";
}

void tst_Numbers::singleText()
{
    QFETCH(QString, locale);
    QFETCH(float, value);
    QFETCH(QString, text);
    LocaleGuard guard{QLocale(locale)};
    QCOMPARE(numbers::singleText(value), text);
}

void tst_Numbers::timeLine()
{
    LocaleGuard guard{QLocale::c()};
    QCOMPARE(numbers::timeLine(72.0f), QStringLiteral("72 hrs = 3 Tage"));
    QCOMPARE(numbers::timeLine(16.0f), QStringLiteral("16 hrs = 0.6666667 Tage"));
    LocaleGuard german{QLocale(QStringLiteral("de_DE"))};
    QCOMPARE(numbers::timeLine(36.0f), QStringLiteral("36 hrs = 1,5 Tage"));
}

void tst_Numbers::amountFromFloat_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<qint64>("ticks");
    QTest::newRow("whole") << 6000.0f << qint64(60000000);
    // 16 hours at 500 per day in single precision: 333.33334 -> 333.3333
    QTest::newRow("third") << (16.0f / 24.0f) * 500.0f << qint64(3333333);
    QTest::newRow("to nearest") << 0.00026f << qint64(3);
    QTest::newRow("negative") << -1.5f << qint64(-15000);
}

void tst_Numbers::amountFromFloat()
{
    QFETCH(float, value);
    QFETCH(qint64, ticks);
    QCOMPARE(Amount::fromFloat(value).ticks(), ticks);
}

void tst_Numbers::amountRoundingAndText_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<qint64>("ticks");
    QTest::addColumn<QString>("rounded");
    QTest::newRow("third") << "C" << qint64(3333333) << "333.33";
    QTest::newRow("whole") << "C" << qint64(60000000) << "6000";
    QTest::newRow("tie to even stays") << "C" << qint64(1250) << "0.12";
    QTest::newRow("tie to even rises") << "C" << qint64(1350) << "0.14";
    QTest::newRow("above tie") << "C" << qint64(1251) << "0.13";
    QTest::newRow("negative tie") << "C" << qint64(-1350) << "-0.14";
    QTest::newRow("de comma") << "de_DE" << qint64(3333333) << "333,33";
    QTest::newRow("de no grouping") << "de_DE" << qint64(123456780000) << "12345678";
}

void tst_Numbers::amountRoundingAndText()
{
    QFETCH(QString, locale);
    QFETCH(qint64, ticks);
    QFETCH(QString, rounded);
    LocaleGuard guard{QLocale(locale)};
    QCOMPARE(Amount::fromTicks(ticks).roundedToCents().text(), rounded);
}

void tst_Numbers::amountOverflow()
{
    const Amount top = Amount::fromTicks(std::numeric_limits<qint64>::max());
    QVERIFY_THROWS_EXCEPTION(numbers::Overflow, top.plus(Amount::fromTicks(1)));
    QVERIFY_THROWS_EXCEPTION(numbers::Overflow, Amount::fromFloat(1e30f));
    QCOMPARE(top.roundedToCents().ticks(), qint64(9223372036854775800));
    QCOMPARE(Amount::fromTicks(5).plus(Amount::fromTicks(-7)).ticks(), qint64(-2));
}

QTEST_GUILESS_MAIN(tst_Numbers)
#include "tst_numbers.moc"
