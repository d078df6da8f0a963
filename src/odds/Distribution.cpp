#include "Distribution.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace odds {

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// Appends p to sorted `out`, adding it to the last point when the values are equal.
void appendMerged(std::vector<Point>& out, const Point& p) {
    if (!out.empty() && out.back().value == p.value)
        out.back().probability += p.probability;
    else
        out.push_back(p);
}

// Two sorted runs as one, equal values merged.
std::vector<Point> mergeRuns(const std::vector<Point>& x, const std::vector<Point>& y) {
    std::vector<Point> out;
    out.reserve(x.size() + y.size());
    auto i = x.begin(), j = y.begin();
    while (i != x.end() || j != y.end()) {
        const bool takeX = j == y.end() || (i != x.end() && i->value <= j->value);
        appendMerged(out, takeX ? *i++ : *j++);
    }
    return out;
}

// All pair sums, equal ones merged, or nothing when more than `limit` distinct values turn
// up. Each point of b shifts a's sorted values into one sorted run (rounding is monotone), so
// merging runs of equal size as they come, like a binary counter, needs no sort and little
// memory; any merged run is a subset of the result, which lets a hopeless attempt stop at
// the first run that grows past the limit.
std::optional<std::vector<Point>> mergeExactly(const std::vector<Point>& a,
                                               const std::vector<Point>& b, std::size_t limit) {
    struct Run {
        std::vector<Point> points;
        int rank = 0;
    };
    std::vector<Run> runs;
    for (const Point& pb : b) {
        Run run;
        run.points.reserve(a.size());
        for (const Point& pa : a) {
            const double probability = pa.probability * pb.probability;
            if (probability > 0)
                appendMerged(run.points, {pa.value + pb.value, probability});
        }
        if (run.points.size() > limit)
            return std::nullopt;
        if (run.points.empty())
            continue;
        while (!runs.empty() && runs.back().rank == run.rank) {
            run.points = mergeRuns(runs.back().points, run.points);
            ++run.rank;
            runs.pop_back();
            if (run.points.size() > limit)
                return std::nullopt;
        }
        runs.push_back(std::move(run));
    }
    if (runs.empty())
        return std::vector<Point>{};
    std::vector<Point> all = std::move(runs.back().points);
    for (auto r = runs.rbegin() + 1; r != runs.rend(); ++r) {
        all = mergeRuns(r->points, all);
        if (all.size() > limit)
            return std::nullopt;
    }
    return all;
}

} // namespace

Distribution::Distribution(std::vector<Point> points) {
    std::erase_if(points, [](const Point& p) {
        return !std::isfinite(p.value) || !(p.probability > 0) || !std::isfinite(p.probability);
    });
    std::stable_sort(points.begin(), points.end(),
                     [](const Point& x, const Point& y) { return x.value < y.value; });
    for (const Point& p : points)
        appendMerged(m_points, p);
    accumulate();
    if (empty())
        return;
    double weighted = 0;
    for (const Point& p : m_points)
        weighted += p.probability * p.value;
    m_mean = weighted / total();
    // Second pass around the mean: no cancellation of large squares.
    double spread = 0;
    for (const Point& p : m_points)
        spread += p.probability * (p.value - m_mean) * (p.value - m_mean);
    m_variance = spread / total();
}

Distribution::Distribution(std::vector<Point> sorted, std::vector<double> buffer, double mean,
                           double variance, double maxError)
    : m_points(std::move(sorted)), m_cumulative(std::move(buffer)), m_mean(mean),
      m_variance(variance), m_maxError(maxError) {
    accumulate();
}

void Distribution::accumulate() {
    m_cumulative.resize(m_points.size());
    double running = 0;
    for (std::size_t i = 0; i < m_points.size(); ++i)
        m_cumulative[i] = running += m_points[i].probability;
}

double Distribution::lowest() const {
    return empty() ? notANumber : m_points.front().value;
}

double Distribution::highest() const {
    return empty() ? notANumber : m_points.back().value;
}

double Distribution::cdf(double x) const {
    if (std::isnan(x))
        return notANumber;
    const auto above = std::upper_bound(m_points.begin(), m_points.end(), x,
                                        [](double v, const Point& p) { return v < p.value; });
    return above == m_points.begin() ? 0.0 : m_cumulative[above - m_points.begin() - 1];
}

double Distribution::quantile(double q) const {
    if (empty() || std::isnan(q))
        return notANumber;
    // cdf() reads the same sums, so a q taken from cdf(x) comes back as x; every sum is
    // positive, so q <= 0 lands on the lowest value.
    const auto reached = std::lower_bound(m_cumulative.begin(), m_cumulative.end(), q);
    return reached == m_cumulative.end() ? m_points.back().value
                                         : m_points[reached - m_cumulative.begin()].value;
}

Adder::Adder(std::size_t limit) : m_limit(std::max<std::size_t>(limit, 1)) {}

// Pair sums on m_limit equal bins over [lo, hi].
void Adder::binPairs(const std::vector<Point>& a, const std::vector<Point>& b) {
    const std::size_t bins = m_limit;
    const double lo = a.front().value + b.front().value;
    const double hi = a.back().value + b.back().value;
    // Sums beyond the double range would give no sensible position: they share the last bin.
    const double width = hi - lo;
    const double scale = std::isfinite(width) ? static_cast<double>(bins) / width : 0.0;
    const double top = static_cast<double>(bins - 1);
    constexpr double infinity = std::numeric_limits<double>::infinity();
    m_grid.assign(bins, Bin{0, 0, infinity, -infinity});
    // The longer list inside: its sums rise along the loop, so the bins are walked in order.
    const bool aInside = a.size() >= b.size();
    const std::vector<Point>& inner = aInside ? a : b;
    for (const Point& po : aInside ? b : a) {
        for (const Point& pi : inner) {
            const double probability = po.probability * pi.probability;
            if (!(probability > 0))
                continue;
            const double value = pi.value + po.value;
            // value >= lo holds, as rounding is monotone; the top edge belongs to the last bin.
            const double at = (value - lo) * scale;
            Bin& bin = m_grid[at < top ? static_cast<std::size_t>(at) : bins - 1];
            bin.mass += probability;
            bin.moment += probability * value;
            bin.smallest = std::min(bin.smallest, value);
            bin.largest = std::max(bin.largest, value);
        }
    }
}

double Adder::centre(const Bin& bin) {
    return std::clamp(bin.moment / bin.mass, bin.smallest, bin.largest);
}

namespace {

// Building b's runs and merging them pairwise: every pair sum takes part in at most
// log2(runs) merges.
double mergeWork(double pairs, std::size_t runs) {
    return pairs * (1 + std::ceil(std::log2(static_cast<double>(std::max<std::size_t>(runs, 1)))));
}

// Clearing, reading and collecting the grid, per bin.
constexpr double binWork = 4;

} // namespace

double Adder::mostWork(std::size_t aPoints, bool aExact, std::size_t bPoints, bool bExact,
                       std::size_t limit) {
    limit = std::max<std::size_t>(limit, 1);
    const double pairs = static_cast<double>(aPoints) * static_cast<double>(bPoints);
    if (pairs <= static_cast<double>(limit))
        return mergeWork(pairs, bPoints);
    return pairs + binWork * static_cast<double>(limit) +
           (aExact && bExact ? mergeWork(pairs, bPoints) : 0);
}

Distribution Adder::operator()(Distribution a, const Distribution& b) {
    if (a.empty() || b.empty())
        return {};
    const double mean = a.mean() + b.mean();
    const double variance = a.variance() + b.variance();
    const double inherited = a.maxError() + b.maxError();
    const auto& pa = a.points();
    const auto& pb = b.points();
    const double pairs = static_cast<double>(pa.size()) * static_cast<double>(pb.size());
    if (pa.size() * pb.size() <= m_limit) {
        m_work += mergeWork(pairs, pb.size());
        return Distribution(*mergeExactly(pa, pb, m_limit), {}, mean, variance, inherited);
    }
    binPairs(pa, pb);
    m_work += pairs + binWork * static_cast<double>(m_limit);
    double moved = 0;
    std::size_t filled = 0, mixed = 0;
    for (const Bin& bin : m_grid) {
        if (!(bin.mass > 0))
            continue;
        const double at = centre(bin);
        moved = std::max({moved, at - bin.smallest, bin.largest - at});
        ++filled;
        mixed += bin.smallest < bin.largest;
    }
    // When every bin holds one value, the bins already are the exact sum (totals on a coarse
    // lattice, costs in whole Nuyen). Merging is worth trying only when the values could
    // still fit: a mixed bin holds at least two.
    if (moved > 0 && a.exact() && b.exact() && filled + mixed <= m_limit) {
        m_work += mergeWork(pairs, pb.size());
        if (auto merged = mergeExactly(pa, pb, m_limit))
            return Distribution(std::move(*merged), {}, mean, variance, inherited);
    }
    std::vector<Point> points = std::move(a.m_points);
    points.clear();
    points.reserve(filled);
    for (const Bin& bin : m_grid)
        if (bin.mass > 0)
            points.push_back({centre(bin), bin.mass});
    return Distribution(std::move(points), std::move(a.m_cumulative), mean, variance,
                        inherited + moved);
}

} // namespace odds
