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

Q_DECLARE_METATYPE(odds::Distribution)
Q_DECLARE_METATYPE(odds::Method)
Q_DECLARE_METATYPE(odds::Reason)

namespace {

// Walks every chain of faces: a 6 below the target rolls on.
double chainChance(int target, int reached = 0) {
    double chance = 0;
    for (int face = 1; face <= 6; ++face) {
        if (reached + face >= target)
            chance += 1.0 / 6;
        else if (face == 6)
            chance += chainChance(target, reached + face) / 6;
    }
    return chance;
}

Distribution plainDie() {
    return Distribution(
        {{1, 1 / 6.0}, {2, 1 / 6.0}, {3, 1 / 6.0}, {4, 1 / 6.0}, {5, 1 / 6.0}, {6, 1 / 6.0}});
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
std::map<double, double> everyCombination(const QList<Distribution>& presses) {
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

Distribution sumAll(const QList<Distribution>& presses, std::size_t limit) {
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
        // A target right after a multiple of 6 needs the same six first: 6 and 7, 12 and 13.
        if (target > 1 && (target - 1) % 6 == 0)
            QCOMPARE_EQ(openEndedChance(target), openEndedChance(target - 1));
    }

    // Six more needs one more six; far targets end in a clean 0, never in a denormal.
    void openEndedFarTargets() {
        for (int target = 2; target <= 32767; ++target) {
            const double chance = openEndedChance(target);
            QVERIFY2(chance == 0 || chance >= DBL_MIN, qPrintable(QString::number(target)));
            QVERIFY(chance <= openEndedChance(target - 1));
            if (target > 7 && openEndedChance(target - 6) / 6 >= DBL_MIN)
                QVERIFY(qFuzzyCompare(chance, openEndedChance(target - 6) / 6));
        }
        QCOMPARE(openEndedChance(32767), 0.0);
    }

    void binomialSmall_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("p");
        QTest::newRow("no dice") << 0 << 0.4;
        QTest::newRow("negative count") << -3 << 0.4;
        QTest::newRow("one die") << 1 << 0.25;
        QTest::newRow("five dice 1/12") << 5 << 1 / 12.0;
        QTest::newRow("twelve dice half") << 12 << 0.5;
        QTest::newRow("twelve dice never") << 12 << 0.0;
        QTest::newRow("twelve dice always") << 12 << 1.0;
        QTest::newRow("ten dice p above 1") << 10 << 1.5;
    }
    void binomialSmall() {
        QFETCH(int, n);
        QFETCH(double, p);
        const double s = std::clamp(p, 0.0, 1.0);
        const int dice = std::max(n, 0);
        std::vector<double> expected(dice + 1, 0.0);
        for (unsigned mask = 0; mask < (1u << dice); ++mask) {
            double chance = 1;
            for (int die = 0; die < dice; ++die)
                chance *= (mask >> die & 1) ? s : 1 - s;
            expected[std::popcount(mask)] += chance;
        }
        const std::vector<double> pmf = binomial(n, p);
        QCOMPARE(pmf.size(), expected.size());
        for (std::size_t k = 0; k < pmf.size(); ++k) {
            if (expected[k] == 0 || expected[k] == 1)
                QCOMPARE_EQ(pmf[k], expected[k]);
            QVERIFY2(std::abs(pmf[k] - expected[k]) <= 1e-15, qPrintable(QString::number(k)));
        }
    }

    void binomialLarge_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("p");
        QTest::newRow("100 dice 1/6") << 100 << 1 / 6.0;
        QTest::newRow("100 dice half") << 100 << 0.5;
        QTest::newRow("1000 dice 0.999") << 1000 << 0.999;
        QTest::newRow("100 dice 1e-300") << 100 << 1e-300;
    }
    void binomialLarge() {
        QFETCH(int, n);
        QFETCH(double, p);
        const std::vector<double> pmf = binomial(n, p);
        double total = 0, mean = 0;
        for (std::size_t k = 0; k < pmf.size(); ++k) {
            QVERIFY(std::isfinite(pmf[k]) && pmf[k] >= 0);
            total += pmf[k];
            mean += k * pmf[k];
        }
        QVERIFY(std::abs(total - 1) <= 1e-12);
        QVERIFY(std::abs(mean - n * p) <= 1e-12 * n);
        if (n == 100 && p == 0.5) // C(100, 50) / 2^100
            QCOMPARE(pmf[50], 0.07958923738717876);
    }

    void sums_data() {
        QTest::addColumn<QList<Distribution>>("presses");
        QTest::addColumn<int>("limit");
        QTest::newRow("two plain dice") << QList{plainDie(), plainDie()} << 2048;
        QTest::newRow("equal sums merge")
            << QList{Distribution({{0, 0.5}, {1, 0.5}}), Distribution({{1, 0.25}, {0, 0.75}})} << 3;
        QTest::newRow("negative, uneven") << QList{Distribution({{-2, 0.2}, {0.5, 0.3}, {3, 0.5}}),
                                                   Distribution({{-0.25, 0.6}, {1.25, 0.4}}),
                                                   Distribution({{0, 0.1}, {-2, 0.7}, {7.5, 0.2}})}
                                          << 2048;
        QTest::newRow("lattice through the bins")
            << QList<Distribution>(4, Distribution({{0, .05},
                                                    {1, .1},
                                                    {2, .15},
                                                    {3, .2},
                                                    {4, .1},
                                                    {5, .1},
                                                    {6, .1},
                                                    {7, .05},
                                                    {8, .1},
                                                    {9, .05}}))
            << 40;
        QTest::newRow("close values share a bin")
            << QList<Distribution>(2, Distribution({{0, 0.5}, {1e-9, 0.25}, {100, 0.25}})) << 8;
    }
    void sums() {
        QFETCH(QList<Distribution>, presses);
        QFETCH(int, limit);
        const Distribution total = sumAll(presses, limit);
        const std::map<double, double> expected = everyCombination(presses);
        QVERIFY(total.exact());
        QCOMPARE(total.points().size(), expected.size());
        double mean = 0;
        auto point = total.points().begin();
        for (const auto& [value, probability] : expected) {
            QCOMPARE_EQ(point->value, value);
            QVERIFY(std::abs(point->probability - probability) <= 1e-15);
            mean += value * probability;
            ++point;
        }
        double variance = 0;
        for (const auto& [value, probability] : expected)
            variance += probability * (value - mean) * (value - mean);
        QVERIFY(std::abs(total.mean() - mean) <= 1e-12);
        QVERIFY(std::abs(total.variance() - variance) <= 1e-12);
    }

    void steps_data() {
        QTest::addColumn<Distribution>("d");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("below");
        QTest::addColumn<double>("q");
        QTest::addColumn<double>("quantile");
        const Distribution d({{4, 0.5}, {1, 0.25}, {2, 0.25}});
        QTest::newRow("q 0 gives the lowest") << d << 0.999 << 0.0 << 0.0 << 1.0;
        QTest::newRow("q on the first step") << d << 1.0 << 0.25 << 0.25 << 1.0;
        QTest::newRow("q just past a step") << d << 1.5 << 0.25 << 0.25 + 1e-12 << 2.0;
        QTest::newRow("q on the second step") << d << 2.0 << 0.5 << 0.5 << 2.0;
        QTest::newRow("q 1 gives the highest") << d << 4.0 << 1.0 << 1.0 << 4.0;
        QTest::newRow("negative q, far x") << d << 1e300 << 1.0 << -1.0 << 1.0;
        std::vector<Point> tenthPoints;
        for (int i = 1; i <= 10; ++i)
            tenthPoints.push_back({double(i), 0.1});
        const Distribution shortOfOne(tenthPoints);
        QTest::newRow("q 1 when the total falls short")
            << shortOfOne << 10.0 << shortOfOne.total() << 1.0 << 10.0;
    }
    void steps() {
        QFETCH(Distribution, d);
        QFETCH(double, x);
        QFETCH(double, below);
        QFETCH(double, q);
        QFETCH(double, quantile);
        QCOMPARE_EQ(d.cdf(x), below);
        QCOMPARE_EQ(d.quantile(q), quantile);
    }

    // The same presses binned and counted exactly: the binned answer stays within its bound,
    // and the bound is no looser than one bin width per sum.
    void binnedWithinBound_data() {
        QTest::addColumn<QList<Distribution>>("presses");
        QTest::addColumn<int>("limit");
        QTest::newRow("three presses, 64 bins")
            << QList{press(10, 30), press(7, 30), press(14, 30)} << 64;
        QTest::newRow("2W6 in 4 bins") << QList{plainDie(), plainDie()} << 4;
        QTest::newRow("six skewed presses, 50 bins")
            << QList<Distribution>(6, Distribution({{0, 0.9}, {1, 0.05}, {7.3, 0.04}, {40, 0.01}}))
            << 50;
    }
    void binnedWithinBound() {
        QFETCH(QList<Distribution>, presses);
        QFETCH(int, limit);
        const Distribution exact = sumAll(presses, 1 << 20);
        const Distribution binned = sumAll(presses, limit);
        QVERIFY(exact.exact());
        QVERIFY(!binned.exact());
        QVERIFY(binned.points().size() <= std::size_t(limit));
        const double e = binned.maxError();
        double widths = 0;
        for (qsizetype n = 2; n <= presses.size(); ++n) {
            const Distribution part = sumAll(presses.first(n), 1 << 20);
            widths += (part.highest() - part.lowest()) / limit;
        }
        QVERIFY2(e > 0 && e <= widths, qPrintable(QStringLiteral("%1 > %2").arg(e).arg(widths)));
        QVERIFY(qFuzzyCompare(binned.mean(), exact.mean()));
        QVERIFY(qFuzzyCompare(binned.variance(), exact.variance()));
        QVERIFY(qFuzzyCompare(binned.total(), exact.total()));
        const double slack = 1e-12;
        for (const Point& p : exact.points()) {
            for (double x : {p.value, std::nextafter(p.value, -INFINITY)}) {
                QVERIFY(binned.cdf(x - e) <= exact.cdf(x) + slack);
                QVERIFY(exact.cdf(x) <= binned.cdf(x + e) + slack);
            }
        }
        for (double q = 0.001; q < 1; q += 0.001)
            QVERIFY2(std::abs(binned.quantile(q) - exact.quantile(q)) <= e * (1 + slack),
                     qPrintable(QString::number(q)));
    }

    // Normal curve against the exact total of many presses on a lattice (small support):
    // within the Berry-Esseen bound everywhere, the bound itself useful.
    void normalAgainstExact_data() {
        QTest::addColumn<QList<Distribution>>("presses");
        QTest::addColumn<double>("usefulBound");
        std::vector<Point> six;
        const std::vector<double> chances = binomial(6, 1 / 12.0);
        for (int k = 0; k <= 6; ++k)
            six.push_back({double(k), chances[k]});
        QTest::newRow("150 presses of six dice")
            << QList<Distribution>(150, Distribution(six)) << 0.2;
        QTest::newRow("400 coins")
            << QList<Distribution>(400, Distribution({{0, .5}, {1, .5}})) << 0.05;
        QTest::newRow("80 presses 0, 5 or 24 hours")
            << QList<Distribution>(80, Distribution({{0, .5}, {5, .3}, {24, .2}})) << 0.2;
    }
    void normalAgainstExact() {
        QFETCH(QList<Distribution>, presses);
        QFETCH(double, usefulBound);
        const std::vector<Distribution> list(presses.begin(), presses.end());
        const Total exact = fold(list, {1 << 14, 1e12});
        const Total normal = fold(list, {1 << 14, 0});
        QCOMPARE(exact.method(), Method::Exact);
        QCOMPARE(normal.method(), Method::Normal);
        QVERIFY(qFuzzyCompare(normal.mean(), exact.mean()));
        QVERIFY(qFuzzyCompare(normal.variance(), exact.variance()));
        // The exact count drops totals whose chance underflows; the curve keeps the full range.
        QVERIFY(normal.lowest() <= exact.lowest() && normal.highest() >= exact.highest());
        const double d = normal.maxCdfError();
        QVERIFY2(d > 0 && d < usefulBound, qPrintable(QString::number(d)));
        double left = 0;
        for (const Point& p : exact.distribution().points()) {
            QVERIFY(std::abs(normal.cdf(std::nextafter(p.value, -INFINITY)) - left) <= d);
            left = exact.cdf(p.value);
            QVERIFY(std::abs(normal.cdf(p.value) - left) <= d);
        }
        for (double q = 0.01; q < 1; q += 0.01) {
            QVERIFY(exact.quantile(q - d) <= normal.quantile(q));
            QVERIFY(normal.quantile(q) <= exact.quantile(q + d));
        }
        for (double q : {1e-9, 0.001, 0.3, 0.5, 0.975, 1 - 1e-9}) {
            const double x = normal.quantile(q);
            if (x > normal.lowest() && x < normal.highest())
                QVERIFY2(std::abs(normal.cdf(x) - q) <= 1e-12 * std::min(q, 1 - q) + 1e-16,
                         qPrintable(QString::number(q)));
        }
    }

    void foldChooses_data() {
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("dice");
        QTest::addColumn<Method>("method");
        QTest::addColumn<Reason>("reason");
        QTest::newRow("no presses") << 0 << 0 << Method::Exact << Reason::AllCounted;
        QTest::newRow("2 x 31") << 2 << 30 << Method::Exact << Reason::AllCounted;
        QTest::newRow("40 x 3, whole days") << 40 << 2 << Method::Exact << Reason::AllCounted;
        QTest::newRow("10 x 31") << 10 << 30 << Method::Binned << Reason::TooManyTotals;
        QTest::newRow("60 x 6") << 60 << 5 << Method::Normal << Reason::TooCoarse;
        QTest::newRow("700 x 101") << 700 << 100 << Method::Normal << Reason::TooMuchWork;
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
        if (presses == 0) {
            QCOMPARE(total.cdf(0), 1.0);
            QCOMPARE(total.quantile(0.5), 0.0);
            return;
        }
        double mean = 0;
        for (const Distribution& d : list)
            mean += d.mean();
        QVERIFY(qFuzzyCompare(total.mean(), mean));
        if (method != Method::Normal) {
            const Distribution counted = sumAll(QList(list.begin(), list.end()), 2048);
            QCOMPARE(total.maxError(), counted.maxError());
            QCOMPARE(total.quantile(0.9), counted.quantile(0.9));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Odds)
#include "tst_odds.moc"
