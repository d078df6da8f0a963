#pragma once
// The spread of one real-valued quantity (hours, Nuyen) over its possible values, and of sums
// of independent such quantities: the chances behind one healing press and behind a whole
// recovery, for the forecast window's bars, curves and "at most ... with 90 %" lines.
//
// Guarantees:
// - A distribution built from points is exact: points of equal value (equal as doubles) are
//   merged; points with a non-finite value or a probability that is not positive and finite
//   are left out. Probabilities are not rescaled; total() says what they add up to.
// - sum(a, b, limit) is exact, with equal sums merged, as long as both inputs are exact and
//   the merged sum has at most `limit` points. Otherwise it bins: the pair sums fall onto
//   `limit` equal bins spanning the sum's range, and each bin becomes one point at the mean
//   of the mass it holds. No mass moves by more than the spread of its bin, at most one bin
//   width; maxError() adds these moves up over every sum that led to a distribution. (At
//   most `limit` pairs are always merged exactly, and so are bins that each hold one value,
//   so an already binned input adds no error then.)
// - With E = maxError() and X the true quantity, for every x and every q in (0, 1):
//       cdf(x - E) <= P(X <= x) <= cdf(x + E)   and   |quantile(q) - true quantile(q)| <= E,
//   up to rounding of the values themselves. Exact distributions have E = 0.
// - mean() and variance() are those of the true quantity in every mode, exact up to rounding:
//   they add up under sums rather than being read off the binned points. Both are moments of
//   the probabilities as if rescaled to total 1.
// - Probabilities of pair sums that underflow to 0 (below about 1e-308) are dropped.

#include <cstddef>
#include <vector>

namespace odds {

struct Point {
    double value = 0;
    double probability = 0;
};

class Distribution {
  public:
    // Enough points for smooth bars and curves, few enough that one sum with a press of a
    // hundred outcomes takes about 200,000 pair operations.
    static constexpr std::size_t defaultLimit = 2048;

    Distribution() = default; // no points at all: total() is 0
    explicit Distribution(std::vector<Point> points);

    // The support, sorted by value, equal values merged, no zero probabilities.
    const std::vector<Point>& points() const { return m_points; }
    bool empty() const { return m_points.empty(); }
    double lowest() const;  // smallest value; NaN when empty
    double highest() const; // largest value; NaN when empty

    double total() const { return m_cumulative.empty() ? 0.0 : m_cumulative.back(); }
    double mean() const { return m_mean; }         // 0 when empty
    double variance() const { return m_variance; } // 0 when empty

    // P(X <= x).
    double cdf(double x) const;
    // The smallest support value x with cdf(x) >= q. q <= 0 gives the lowest value, q above
    // the total (rounding may leave it just below 1) the highest; NaN when empty or q is NaN.
    double quantile(double q) const;

    bool exact() const { return m_maxError == 0; }
    double maxError() const { return m_maxError; }

  private:
    friend class Adder;
    // Takes sorted, merged points and a buffer to reuse for the running sums; moments and
    // error come from the caller.
    Distribution(std::vector<Point> sorted, std::vector<double> buffer, double mean,
                 double variance, double maxError);
    void accumulate();

    std::vector<Point> m_points;
    std::vector<double> m_cumulative; // m_cumulative[i] = P(X <= m_points[i].value)
    double m_mean = 0;
    double m_variance = 0;
    double m_maxError = 0;
};

// Sums A + B of independent A and B (see the guarantees above), keeping its buffers from one
// sum to the next, so that a fold of many presses asks the allocator for little more than
// its results. An empty input gives an empty result; a limit below 1 counts as 1. A sum takes
// time in proportion to its pairs, times their logarithm where it merges; work() counts
// these pair operations, so that a caller can keep a budget.
class Adder {
  public:
    explicit Adder(std::size_t limit = Distribution::defaultLimit);
    // A moved-in `a` lends its buffers to the result: a fold then reuses the same memory.
    Distribution operator()(Distribution a, const Distribution& b);
    double work() const { return m_work; }
    // The most work one sum of inputs this size can count, for planning a fold.
    static double mostWork(std::size_t aPoints, bool aExact, std::size_t bPoints, bool bExact,
                           std::size_t limit);

  private:
    struct Bin {
        double mass;
        double moment; // sum of probability * value
        double smallest;
        double largest;
    };
    void binPairs(const std::vector<Point>& a, const std::vector<Point>& b);
    // Where a bin's mass goes: its mean, kept inside the bin's own values so that rounding
    // cannot push it past its neighbours.
    static double centre(const Bin& bin);

    std::size_t m_limit;
    std::vector<Bin> m_grid;
    double m_work = 0;
};

inline Distribution sum(const Distribution& a, const Distribution& b,
                        std::size_t limit = Distribution::defaultLimit) {
    return Adder(limit)(a, b);
}

} // namespace odds
