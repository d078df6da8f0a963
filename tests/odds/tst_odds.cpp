// Chances of one die and of success counts, sums of independent quantities and the folded
// total of a recovery, each checked against counting every case by brute force.

#include "odds/Chance.h"
#include "odds/Distribution.h"
#include "odds/Total.h"

#include <QTest>
#include <cfloat>
#include <cmath>
#include <map>

using namespace odds;
using Presses = QList<Distribution>;

Q_DECLARE_METATYPE(odds::Distribution)
Q_DECLARE_METATYPE(odds::Method)
Q_DECLARE_METATYPE(odds::Reason)

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

// Adds in the presses' order, so that the totals round exactly as sum() rounds them.
std::map<double, double> everyCombination(const Presses& presses) {
    std::map<double, double> totals{{0.0, 1.0}};
    for (const Distribution& d : presses) {
        std::map<double, double> next;
        for (const auto& [value, probability] : totals)
            for (const Point& p : d.points())
                next[value + p.value] += probability * p.probability;
        totals = next;
    }
    return totals;
}

Distribution sumAll(const Presses& presses, std::size_t limit) {
    Distribution total = presses.front();
    for (qsizetype i = 1; i < presses.size(); ++i)
        total = sum(total, presses[i], limit);
    return total;
}

} // namespace

class tst_Odds : public QObject {
    Q_OBJECT

  private slots:
    void openEnded_data() {
        QTest::addColumn<int>("target");
        for (int target = -1; target <= 25; ++target)
            QTest::newRow(qPrintable(QStringLiteral("target %1").arg(target))) << target;
    }
    void openEnded() {
        QFETCH(int, target);
        QCOMPARE(openEndedChance(target), chainChance(target));
        if (target > 1 && (target - 1) % 6 == 0) // 6 and 7, 12 and 13 need the same dice
            QCOMPARE_EQ(openEndedChance(target), openEndedChance(target - 1));
        // Six more needs one more six, down to 0 and never a denormal.
        const double far = openEndedChance((target + 2) * 1300 + 7),
                     sixLess = openEndedChance((target + 2) * 1300 + 1);
        QVERIFY(sixLess / 6 >= DBL_MIN ? qFuzzyCompare(far, sixLess / 6) : far == 0);
    }

    // Up to 12 dice against all 2^n sequences, beyond that the sum and the mean.
    void binomial_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("p");
        // clang-format off
        QTest::newRow("no dice") << 0 << 0.4;               QTest::newRow("negative count") << -3 << 0.4;
        QTest::newRow("12 dice half") << 12 << 0.5;         QTest::newRow("12 dice never") << 12 << 0.0;
        QTest::newRow("12 dice always") << 12 << 1.0;       QTest::newRow("10 dice p above 1") << 10 << 1.5;
        QTest::newRow("100 dice half") << 100 << 0.5;       QTest::newRow("1000 dice 0.999") << 1000 << 0.999;
        QTest::newRow("100 dice 1e-300") << 100 << 1e-300;
        // clang-format on
    }
    void binomial() {
        QFETCH(int, n);
        QFETCH(double, p);
        const std::vector<double> pmf = odds::binomial(n, p);
        const double s = std::clamp(p, 0.0, 1.0);
        n = std::max(n, 0);
        QCOMPARE(pmf.size(), std::size_t(n + 1));
        double total = 0, mean = 0;
        for (std::size_t k = 0; k < pmf.size(); ++k)
            total += pmf[k], mean += k * pmf[k];
        QVERIFY(std::abs(total - 1) <= 1e-12 && std::abs(mean - n * s) <= 1e-12 * n);
        if (n == 100 && p == 0.5) // C(100, 50) / 2^100
            QCOMPARE(pmf[50], 0.07958923738717876);
        if (n > 12)
            return;
        std::vector<double> expected(pmf.size(), 0.0);
        for (unsigned mask = 0; mask < (1u << n); ++mask) {
            double chance = 1;
            for (int die = 0; die < n; ++die)
                chance *= (mask >> die & 1) ? s : 1 - s;
            expected[std::popcount(mask)] += chance;
        }
        for (std::size_t k = 0; k < pmf.size(); ++k)
            QVERIFY(expected[k] == 0 || expected[k] == 1 ? pmf[k] == expected[k]
                                                         : std::abs(pmf[k] - expected[k]) <= 1e-15);
    }

    // Sums counted without limit against every combination, and the same sums under a
    // limit: exact where the totals fit, else within the bound, which is no looser than a
    // bin width per sum.
    void sums_data() {
        QTest::addColumn<Presses>("presses");
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("fits");
        const Distribution die(
            {{1, 1 / 6.}, {2, 1 / 6.}, {3, 1 / 6.}, {4, 1 / 6.}, {5, 1 / 6.}, {6, 1 / 6.}});
        QTest::newRow("2W6") << Presses{die, die} << 11 << true;
        QTest::newRow("2W6 in 4 bins") << Presses{die, die} << 4 << false;
        // clang-format off
        QTest::newRow("lattice through the bins") << Presses(4, Distribution({{0, .05}, {1, .1},
            {2, .15}, {3, .2}, {4, .1}, {5, .1}, {6, .1}, {7, .05}, {8, .1}, {9, .05}})) << 40 << true;
        // clang-format on
        QTest::newRow("3 presses, 64 bins")
            << Presses{press(10, 30), press(7, 30), press(14, 30)} << 64 << false;
    }
    void sums() {
        QFETCH(Presses, presses);
        QFETCH(int, limit);
        QFETCH(bool, fits);
        const Distribution exact = sumAll(presses, 1 << 20), limited = sumAll(presses, limit);
        const std::map<double, double> expected = everyCombination(presses);
        QCOMPARE(exact.points().size(), expected.size());
        double mean = 0, square = 0;
        auto point = exact.points().begin();
        for (const auto& [value, probability] : expected) {
            QCOMPARE_EQ(point->value, value);
            QVERIFY(std::abs((point++)->probability - probability) <= 1e-15);
            mean += value * probability, square += value * value * probability;
        }
        QVERIFY(std::abs(limited.mean() - mean) <= 1e-12 * (1 + std::abs(mean)));
        QVERIFY(std::abs(limited.variance() - (square - mean * mean)) <= 1e-12 * square);
        QCOMPARE(limited.exact(), fits);
        QVERIFY(limited.points().size() <= std::size_t(limit));
        const double e = limited.maxError();
        double widths = 0, pointMean = 0;
        for (qsizetype n = 2; n <= presses.size(); ++n) {
            const Distribution part = sumAll(presses.first(n), 1 << 20);
            widths += (part.highest() - part.lowest()) / limit;
        }
        QVERIFY2(e <= widths, qPrintable(QStringLiteral("%1 > %2").arg(e).arg(widths)));
        for (const Point& p : limited.points()) // each bin sits at the mean of its mass
            pointMean += p.value * p.probability;
        QVERIFY(std::abs(pointMean - mean) <= 1e-12 * (1 + std::abs(mean)));
        for (const Point& p : exact.points())
            for (double x : {p.value, std::nextafter(p.value, -INFINITY)})
                QVERIFY(limited.cdf(x - e) <= exact.cdf(x) + 1e-12 &&
                        exact.cdf(x) <= limited.cdf(x + e) + 1e-12);
        for (double q = 0.001; q < 1; q += 0.001)
            QVERIFY(std::abs(limited.quantile(q) - exact.quantile(q)) <= e * (1 + 1e-12));
    }

    // The normal curve against exact totals of many presses on a lattice: within the
    // Berry-Esseen bound everywhere, and the bound tells something.
    void normalAgainstExact_data() {
        QTest::addColumn<Presses>("presses");
        QTest::addColumn<double>("usefulBound");
        std::vector<Point> six;
        for (int k = 0; k <= 6; ++k)
            six.push_back({double(k), odds::binomial(6, 1 / 12.0)[k]});
        QTest::newRow("150 presses of 6 dice") << Presses(150, Distribution(six)) << 0.2;
        QTest::newRow("400 coins") << Presses(400, Distribution({{0, .5}, {1, .5}})) << 0.05;
        // Skewed hard against the largest total: the bound is weak, the clipping shows.
        QTest::newRow("150 nearly sure") << Presses(150, Distribution({{0, .01}, {1, .99}})) << 0.5;
    }
    void normalAgainstExact() {
        QFETCH(Presses, presses);
        QFETCH(double, usefulBound);
        const std::vector<Distribution> list(presses.begin(), presses.end());
        const Total exact = fold(list, {1 << 14, 1e12}), normal = fold(list, {1 << 14, 0});
        QCOMPARE(exact.method(), Method::Exact);
        QCOMPARE(normal.method(), Method::Normal);
        QVERIFY(qFuzzyCompare(normal.mean(), exact.mean()));
        QVERIFY(qFuzzyCompare(normal.variance(), exact.variance()));
        QCOMPARE(normal.cdf(normal.highest()), 1.0);
        QCOMPARE(normal.cdf(std::nextafter(normal.lowest(), -INFINITY)), 0.0);
        const double d = normal.maxCdfError();
        QVERIFY2(d > 0 && d < usefulBound, qPrintable(QString::number(d)));
        double left = 0;
        for (const Point& p : exact.distribution().points()) {
            QVERIFY(std::abs(normal.cdf(std::nextafter(p.value, -INFINITY)) - left) <= d);
            left = exact.cdf(p.value);
            QVERIFY(std::abs(normal.cdf(p.value) - left) <= d);
        }
    }

    void foldChooses_data() {
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("dice");
        QTest::addColumn<Method>("method");
        QTest::addColumn<Reason>("reason");
        // clang-format off
        QTest::newRow("no presses") << 0 << 0 << Method::Exact << Reason::AllCounted;
        QTest::newRow("2 x 31") << 2 << 30 << Method::Exact << Reason::AllCounted;
        QTest::newRow("40 x 3, whole days") << 40 << 2 << Method::Exact << Reason::AllCounted;
        QTest::newRow("10 x 31") << 10 << 30 << Method::Binned << Reason::TooManyTotals;
        QTest::newRow("60 x 6") << 60 << 5 << Method::Normal << Reason::TooCoarse;
        QTest::newRow("700 x 101") << 700 << 100 << Method::Normal << Reason::TooMuchWork;
        // clang-format on
    }
    void foldChooses() {
        QFETCH(int, presses);
        QFETCH(int, dice);
        QFETCH(Method, method);
        QFETCH(Reason, reason);
        std::vector<Distribution> list;
        for (int i = 0; i < presses; ++i)
            list.push_back(press(5 + i % 16, dice));
        const Total total = fold(list);
        QCOMPARE(total.method(), method);
        QCOMPARE(total.reason(), reason);
        if (presses == 0)
            QVERIFY(total.cdf(0) == 1 && total.quantile(0.5) == 0);
    }
};

QTEST_GUILESS_MAIN(tst_Odds)
#include "tst_odds.moc"
