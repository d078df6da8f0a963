// The chance of one die, sums of independent quantities and the folded total of a recovery,
// each checked against counting every case by brute force. (The chances of success counts
// are held against rolled presses in tst_forecast.)

#include "odds/Chance.h"
#include "odds/Distribution.h"
#include "odds/Total.h"
#include "odds/Wording.h"

#include <QTest>
#include <cmath>
#include <map>

using namespace odds;
using Presses = std::vector<Distribution>;

Q_DECLARE_METATYPE(odds::Distribution)

namespace {

// Walks every chain of faces: a 6 below the target rolls on.
double chainChance(int target, int reached = 0) {
    double chance = 0;
    for (int face = 1; face <= 6; ++face)
        chance += reached + face >= target ? 1.0 / 6
                  : face == 6              ? chainChance(target, reached + face) / 6
                                           : 0;
    return chance;
}

// One healing press: hours by successes among `dice`, 48 * target / k, none doubles 48 * target.
Distribution press(int target, int dice) {
    const std::vector<double> chances = binomial(dice, openEndedChance(target));
    std::vector<Point> points;
    for (int k = 0; k <= dice; ++k)
        points.push_back({k == 0 ? 96.0 * target : 48.0 * target / k, chances[k]});
    return Distribution(points);
}

Distribution sumAll(const Presses& presses, std::size_t limit) {
    Distribution total;
    for (const Distribution& d : presses)
        total = total.empty() ? d : sum(total, d, limit);
    return total;
}

} // namespace

class tst_Odds : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // What the forecast writes: a number never parted from its unit, German that reads right,
    // days and Nuyen grouped alike, hours under a day, and no digit the bound does not allow.
    void wording_data() {
        using namespace wording;
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* tag, const QString& got, const char* expected) {
            QTest::newRow(tag) << got << QString::fromUtf8(expected).replace('_', QChar(0xA0));
        };
        row("tiny", percent(0.0004), "< 0,1_%");
        row("nearly sure", percent(0.9996), "> 99,9_%");
        row("percent", percent(0.12345), "12,3_%");
        row("hours", duration(2), "2,0_Stunden");
        row("one hour", duration(1.02), "1,0_Stunde");
        row("minutes", duration(0.08), "0,08_Stunden");
        row("just a day", duration(23.96), "1,0_Tage");
        row("dative", duration(65 * 24, Case::Dative), "65,0_Tagen");
        row("grouped days", duration(1234.5 * 24), "1.234,5_Tage");
        row("bound: whole", duration(147.26 * 24, Case::Nominative, 0.3 * 24), "147_Tage");
        row("bound: tens", duration(147.26 * 24, Case::Nominative, 0.6 * 24), "150_Tage");
        row("bound: tenth", duration(147.26 * 24, Case::Nominative, 0.04 * 24), "147,3_Tage");
        row("bound: one day", duration(1.3 * 24, Case::Dative, 0.3 * 24), "1_Tag");
        row("nuyen", nuyen(61400.4), "61.400_Nuyen");
        row("nuyen bound", nuyen(61449, 40), "61.400_Nuyen");
        row("nuyen hundreds", nuyen(61449, 50), "61.400_Nuyen");
        row("nuyen thousands", nuyen(61449, 51), "61.000_Nuyen");
        row("no success", successes(0), "0_Erfolge");
        row("one success", successes(1), "1_Erfolg");
        row("merged", successes(1, 17), "1–17_Erfolge");
        row("rolls", boxesAndRolls(4, 4), "Noch 4_Kästchen, 4_Heilungswürfe");
        row("one roll", boxesAndRolls(1, 1), "Noch 1_Kästchen, 1_Heilungswurf");
        row("ordinal", ordinal(695), "der 695. Heilungswurf");
    }
    void wording() {
        QFETCH(QString, got);
        QFETCH(QString, expected);
        QCOMPARE(got, expected);
    }

    void openEnded() {
        for (int target = -1; target <= 25; ++target) {
            QCOMPARE(openEndedChance(target), chainChance(target));
            if (target > 1 && (target - 1) % 6 == 0) // 6 and 7, 12 and 13 need the same dice
                QCOMPARE_EQ(openEndedChance(target), openEndedChance(target - 1));
        }
        QCOMPARE(openEndedChance(6 * 400), 0.0); // far beyond the double range: never a denormal
    }

    // Sums without limit against every combination; under a limit the mean and variance stay
    // exact, each bin sits at the mean of its mass, and the distribution and its quantiles are
    // off by no more than the stated bound, which is no looser than a bin width per sum.
    void sums_data() {
        QTest::addColumn<Presses>("presses");
        QTest::addColumn<int>("limit");
        const Distribution die(
            {{1, 1 / 6.}, {2, 1 / 6.}, {3, 1 / 6.}, {4, 1 / 6.}, {5, 1 / 6.}, {6, 1 / 6.}});
        QTest::newRow("2W6 in 4 bins") << Presses{die, die} << 4;
        QTest::newRow("3 presses, 64 bins")
            << Presses{press(10, 30), press(7, 30), press(14, 30)} << 64;
    }
    void sums() {
        QFETCH(Presses, presses);
        QFETCH(int, limit);
        std::map<double, double> every{{0.0, 1.0}}; // in the presses' order, rounded as sum()
        for (const Distribution& d : presses) {
            std::map<double, double> next;
            for (const auto& [value, probability] : every)
                for (const Point& p : d.points())
                    next[value + p.value] += probability * p.probability;
            every = next;
        }
        const Distribution exact = sumAll(presses, 1 << 20), limited = sumAll(presses, limit);
        QCOMPARE(exact.points().size(), every.size());
        auto point = exact.points().begin();
        for (const auto& [value, probability] : every) {
            QCOMPARE_EQ(point->value, value);
            if (exact.cdf(value) > exact.cdf(std::nextafter(value, -INFINITY))) // q can land on
                QCOMPARE(exact.quantile(exact.cdf(value)), value); // the smallest reaching q
            QVERIFY(std::abs((point++)->probability - probability) <= 1e-15);
        }
        QVERIFY(qFuzzyCompare(limited.mean(), exact.mean()));
        QVERIFY(qFuzzyCompare(limited.variance(), exact.variance()));
        QVERIFY(!limited.exact() && limited.points().size() <= std::size_t(limit));
        double pointMean = 0;
        for (const Point& p : limited.points())
            pointMean += p.value * p.probability;
        QVERIFY(qFuzzyCompare(pointMean, exact.mean()));
        const double e = limited.maxError();
        QVERIFY(e <= (exact.highest() - exact.lowest()) * double(presses.size() - 1) / limit);
        for (const Point& p : exact.points())
            for (double x : {p.value, std::nextafter(p.value, -INFINITY)})
                QVERIFY(limited.cdf(x - e) <= exact.cdf(x) + 1e-12 &&
                        exact.cdf(x) <= limited.cdf(x + e) + 1e-12);
        for (double q = 0.001; q < 1; q += 0.001)
            QVERIFY(std::abs(limited.quantile(q) - exact.quantile(q)) <= e * (1 + 1e-12));
    }

    // The normal curve against exact totals of many presses: within the Berry-Esseen bound
    // everywhere, the bound tells something, and nothing lies beyond the possible totals.
    void normalAgainstExact_data() {
        QTest::addColumn<Presses>("presses");
        QTest::addColumn<double>("usefulBound");
        QTest::newRow("400 coins") << Presses(400, Distribution({{0, .5}, {1, .5}})) << 0.05;
        // Skewed hard against the largest total: the bound is weak, the clipping shows.
        QTest::newRow("150 nearly sure") << Presses(150, Distribution({{0, .01}, {1, .99}})) << 0.5;
    }
    void normalAgainstExact() {
        QFETCH(Presses, presses);
        QFETCH(double, usefulBound);
        const Total exact = fold(presses, {1 << 14, 1e12}), normal = fold(presses, {1 << 14, 0});
        QCOMPARE(QList({exact.method(), normal.method()}), QList({Method::Exact, Method::Normal}));
        QVERIFY(qFuzzyCompare(normal.variance(), exact.variance()));
        QVERIFY(normal.quantile(0.999999) <= exact.distribution().highest());
        const double d = normal.maxCdfError();
        QVERIFY2(d > 0 && d < usefulBound, qPrintable(QString::number(d)));
        for (double q = 0.05; q < 1; q += 0.05) // the range the window's digits rest on
            QVERIFY(normal.lowerQuantile(q) <= exact.quantile(q) &&
                    exact.quantile(q) <= normal.upperQuantile(q));
        double left = 0;
        for (const Point& p : exact.distribution().points()) {
            QVERIFY(std::abs(normal.cdf(std::nextafter(p.value, -INFINITY)) - left) <= d);
            left = exact.cdf(p.value);
            QVERIFY(std::abs(normal.cdf(p.value) - left) <= d);
        }
    }

    // Small cases with a known answer: a spread far from zero (no cancellation), the total of
    // no presses, a sum that fits its limit only once merged, and the work budget.
    void smallCases() {
        QCOMPARE(Distribution({{10000, 0.1}, {10001, 0.9}}).variance(), 0.09);
        const Total none = fold({});
        QCOMPARE(QList({none.lowest(), none.highest(), none.mean(), none.quantile(0),
                        none.quantile(0.5), none.quantile(1), none.cdf(-1e-9), none.cdf(0)}),
                 QList<double>({0, 0, 0, 0, 0, 0, 0, 1}));
        const Distribution fits =
            sum(Distribution({{0, .5}, {1, .25}, {3, .25}}), Distribution({{0, .5}, {3, .5}}), 5);
        QVERIFY(fits.exact() && fits.points().size() == 5);
        const Distribution sure({{1.5, 1}}); // 11 presses of one outcome: 10 pair operations
        QVERIFY(fold(Presses(11, sure), {.workBudget = 10}).method() == Method::Exact);
        QVERIFY(fold(Presses(12, sure), {.workBudget = 10}).method() == Method::Normal);
        // 9 coins have exactly 10 totals: counted, though 2^9 pairs were planned.
        const Distribution coin({{0, .5}, {1, .5}});
        QVERIFY(fold(Presses(9, coin), {.points = 10}).method() == Method::Exact);
        // A sum counts the work planned for it where nothing can be saved: pairs that fit the
        // limit merged, grouped inputs binned.
        const Distribution grouped = sum(fits, fits, 4);
        QVERIFY(!grouped.exact());
        for (const auto& [a, b, limit] : {std::tuple{coin, coin, 4}, {grouped, grouped, 4}}) {
            Adder add(limit);
            add(a, b);
            QCOMPARE(add.work(), Adder::mostWork(a.points().size(), a.exact(), b.points().size(),
                                                 b.exact(), limit));
        }
    }

    // Counted while the totals fit, binned beyond, the curve where binning would be coarser
    // than the curve or the work too much.
    void foldChooses() {
        for (const auto& [presses, dice, method, reason] :
             {std::tuple{2, 30, Method::Exact, Reason::AllCounted},
              {40, 2, Method::Exact, Reason::AllCounted},
              {10, 30, Method::Binned, Reason::TooManyTotals},
              {60, 5, Method::Normal, Reason::TooCoarse},
              {700, 100, Method::Normal, Reason::TooMuchWork}}) {
            Presses list;
            for (int i = 0; i < presses; ++i)
                list.push_back(press(5 + i % 16, dice));
            const Total total = fold(list);
            QCOMPARE(QList({int(total.method()), int(total.reason())}),
                     QList({int(method), int(reason)}));
        }
        // Grouped totals hold the exact quantiles within their bounds.
        const Presses three{press(10, 30), press(7, 30), press(14, 30)};
        const Total counted = fold(three, {1 << 20, 1e12}), binned = fold(three, {64, 1e12});
        QVERIFY(counted.method() == Method::Exact && binned.method() == Method::Binned);
        for (double q = 0.05; q < 1; q += 0.05)
            QVERIFY(binned.lowerQuantile(q) <= counted.quantile(q) &&
                    counted.quantile(q) <= binned.upperQuantile(q));
        // Grouped totals: the steps said are the steps taken.
        const Total grouped = fold(Presses(12, press(11, 5)), {.points = 512});
        QVERIFY(grouped.method() == Method::Binned && grouped.points() == 512 &&
                grouped.distribution().points().size() > 256);
    }
};

QTEST_GUILESS_MAIN(tst_Odds)
#include "tst_odds.moc"
