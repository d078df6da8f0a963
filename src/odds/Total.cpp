#include "Total.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace odds {

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// Berry-Esseen constant for independent, not identically distributed summands (Shevtsova).
constexpr double berryEsseen = 0.56;

double normalCdf(double z) {
    return 0.5 * std::erfc(-z / std::numbers::sqrt2);
}

// The z with normalCdf(z) = q, 0 < q < 1: a rational start good to 5e-4 (Abramowitz and
// Stegun 26.2.23), then Halley steps on erfc, each of which roughly triples the digits.
double inverseNormalCdf(double q) {
    const double tail = std::min(q, 1 - q);
    const double t = std::sqrt(-2 * std::log(tail));
    double z = t - (2.515517 + t * (0.802853 + t * 0.010328)) /
                       (1 + t * (1.432788 + t * (0.189269 + t * 0.001308)));
    if (q < 0.5)
        z = -z;
    for (int step = 0; step < 3; ++step) {
        const double miss = normalCdf(z) - q;
        const double u = miss * std::sqrt(2 * std::numbers::pi) * std::exp(z * z / 2);
        z -= u / (1 + z * u / 2);
    }
    return z;
}

// What adding the presses one by one would cost, as if no two totals coincided beyond what
// whole numbers force, and how far binning could move the total.
struct Plan {
    double work = 0;
    double binningError = 0;
};

Plan plan(const std::vector<Distribution>& presses, std::size_t points) {
    // Whole numbers can only sum to as many totals as the range holds.
    const bool whole = std::all_of(presses.begin(), presses.end(), [](const Distribution& d) {
        return std::all_of(d.points().begin(), d.points().end(), [](const Point& p) {
            return std::abs(p.value) < 0x1p52 && p.value == std::floor(p.value);
        });
    });
    const double limit = static_cast<double>(points);
    double running = static_cast<double>(presses.front().points().size());
    double range = presses.front().highest() - presses.front().lowest();
    bool exact = presses.front().exact();
    Plan result;
    for (std::size_t i = 1; i < presses.size(); ++i) {
        const Distribution& press = presses[i];
        const double pairs = running * static_cast<double>(press.points().size());
        range += press.highest() - press.lowest();
        const double totals = whole ? std::min(pairs, range + 1) : pairs;
        const bool fits = totals <= limit;
        // Whole numbers that fit leave one value per bin, and nothing to merge.
        const bool mayMerge = exact && press.exact() && !(whole && fits);
        result.work += Adder::mostWork(static_cast<std::size_t>(running), mayMerge,
                                       press.points().size(), mayMerge, points);
        if (!fits)
            result.binningError += range / limit;
        exact = exact && press.exact() && fits;
        running = std::min(totals, limit);
    }
    return result;
}

} // namespace

double Total::cdf(double x) const {
    if (m_method != Method::Normal)
        return m_distribution.cdf(x);
    if (std::isnan(x))
        return notANumber;
    if (x < m_lowest)
        return 0;
    if (x >= m_highest)
        return 1;
    if (m_variance <= 0)
        return x >= m_mean ? 1 : 0;
    return normalCdf((x - m_mean) / std::sqrt(m_variance));
}

double Total::quantile(double q) const {
    if (m_method != Method::Normal)
        return m_distribution.quantile(q);
    if (std::isnan(q))
        return notANumber;
    if (q <= 0)
        return m_lowest;
    if (q >= 1)
        return m_highest;
    const double z = m_variance > 0 ? inverseNormalCdf(q) : 0;
    return std::clamp(m_mean + z * std::sqrt(m_variance), m_lowest, m_highest);
}

Total fold(const std::vector<Distribution>& presses, const FoldOptions& options) {
    Total total;
    if (presses.empty()) {
        total.m_distribution = Distribution({{0.0, 1.0}});
        return total;
    }
    if (std::any_of(presses.begin(), presses.end(),
                    [](const Distribution& d) { return d.empty(); })) {
        total.m_lowest = total.m_highest = notANumber;
        return total;
    }
    // The normal curve's figures cost one pass over the outcomes and decide the choice too.
    double mean = 0, variance = 0, lowest = 0, highest = 0, maxError = 0, thirdMoment = 0;
    for (const Distribution& press : presses) {
        mean += press.mean();
        variance += press.variance();
        lowest += press.lowest();
        highest += press.highest();
        maxError += press.maxError();
        double absoluteCubes = 0;
        for (const Point& p : press.points()) {
            const double distance = std::abs(p.value - press.mean());
            absoluteCubes += p.probability * distance * distance * distance;
        }
        thirdMoment += absoluteCubes / press.total();
    }
    const double cdfError =
        variance > 0 ? std::min(1.0, berryEsseen * thirdMoment / std::pow(variance, 1.5)) : 0;

    const std::size_t points = options.points;
    const Plan planned = plan(presses, points);
    total.m_points = points;
    total.m_work = planned.work;
    // A shift by E moves a normal cdf by at most E / (sigma * sqrt(2 pi)): binning that could
    // be off by more than the curve is not worth its work.
    const bool coarse = planned.binningError > 0 &&
                        planned.binningError * std::numbers::inv_sqrtpi / std::numbers::sqrt2 >
                            cdfError * std::sqrt(variance);
    if (planned.work > options.workBudget) {
        total.m_reason = Reason::TooMuchWork;
    } else if (coarse) {
        total.m_reason = Reason::TooCoarse;
    } else {
        // The plan cannot see how often totals coincide, which can keep the sum exact and
        // merging for longer; no step may take the work past twice the budget.
        Adder add(points);
        Distribution running = presses.front();
        std::size_t next = 1;
        for (; next < presses.size(); ++next) {
            const Distribution& press = presses[next];
            if (add.work() + Adder::mostWork(running.points().size(), running.exact(),
                                             press.points().size(), press.exact(), points) >
                2 * options.workBudget)
                break;
            running = add(std::move(running), press);
        }
        if (next == presses.size()) {
            total.m_distribution = std::move(running);
            const Distribution& d = total.m_distribution;
            total.m_method = d.exact() ? Method::Exact : Method::Binned;
            total.m_reason = d.exact() ? Reason::AllCounted : Reason::TooManyTotals;
            total.m_mean = d.mean();
            total.m_variance = d.variance();
            total.m_lowest = d.lowest();
            total.m_highest = d.highest();
            total.m_maxError = d.maxError();
            return total;
        }
        total.m_work = std::max(total.m_work, add.work());
        total.m_reason = Reason::TooMuchWork;
    }
    total.m_method = Method::Normal;
    total.m_mean = mean;
    total.m_variance = variance;
    total.m_lowest = lowest;
    total.m_highest = highest;
    total.m_maxError = maxError;
    total.m_maxCdfError = cdfError;
    return total;
}

} // namespace odds
