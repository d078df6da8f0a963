#pragma once
// A whole recovery: the sum of many independent presses, each with its own small spread of
// durations or costs, folded into one total for the forecast window. The fold picks how to
// compute it from an estimate of the work, so that even absurd inputs answer at once, and it
// says which way it took, so that the window can mark an approximation ("Näherung").
//
// How the way is chosen: the fold first plans adding the presses one by one (a running sum
// of at most `points` points and the next press, see Adder::mostWork), assuming that no two
// totals coincide unless whole numbers force them to (whole numbers only reach as many totals
// as their range holds). The plan gives the work and the bound binning would reach.
// - Work within `workBudget` and binning no coarser than the curve (below): the presses are
//   added one by one as sum() adds them. Method::Exact when every step stayed within
//   `points` distinct totals, else Method::Binned with maxError() as Distribution states it.
//   Totals that coincide can keep the sum exact and merging for longer than planned; a step
//   that could take the work past twice the budget is not started, and the fold takes the
//   normal curve instead (Reason::TooMuchWork).
// - Otherwise Method::Normal: a normal curve with the exact mean and variance (they add up
//   exactly), clipped to the smallest and largest possible totals. Its cdf is off by at
//   most maxCdfError(), the Berry-Esseen bound 0.56 * sum(E|X - mu|^3) / sigma^3 for
//   independent presses, honest but often far above the real error.
// - "Coarser": a shift by E moves the curve's cdf by up to E / (sigma * sqrt(2 pi)); when
//   the planned binning bound, seen that way, exceeds maxCdfError(), the curve says more
//   (Reason::TooCoarse). Many presses of few outcomes end here.
// With the defaults a few presses are counted exactly (4 boxes at home with 3 dice); 10
// hospital presses of 30 dice are already grouped, and hundreds take the curve.
//
// In every mode, with E = maxError() and D = maxCdfError(), for all x:
//     cdf(x - E) - D <= P(total <= x) <= cdf(x + E) + D,
// and the true q-quantile lies between quantile(q - D) - E and quantile(q + D) + E.
// The presses are taken as given; a press that is itself binned adds its own maxError().

#include "Distribution.h"

#include <cstddef>
#include <vector>

namespace odds {

// Why the fold took its method, for the window's note on the approximation.
enum class Reason {
    AllCounted,    // Exact
    TooManyTotals, // Binned: more distinct totals than points
    TooMuchWork,   // Normal: counting would take too long
    TooCoarse,     // Normal: binning would be off by more than the curve
};

enum class Method {
    Exact,  // every total counted, equal totals merged
    Binned, // totals grouped into bins, off by at most maxError()
    Normal, // normal curve from the exact mean and variance, cdf off by at most maxCdfError()
};

struct FoldOptions {
    std::size_t points = Distribution::defaultLimit; // the limit handed to sum()
    // Estimated pair operations beyond which the fold takes the normal curve. At a few
    // nanoseconds each, even twice the default stays well below 20 ms.
    double workBudget = 2e6;
};

class Total {
  public:
    Method method() const { return m_method; }
    Reason reason() const { return m_reason; }
    double work() const { return m_work; } // the estimate that chose the method

    double mean() const { return m_mean; }
    double variance() const { return m_variance; }
    double lowest() const { return m_lowest; }   // smallest possible total; NaN when empty
    double highest() const { return m_highest; } // largest possible total; NaN when empty

    double cdf(double x) const;
    // Exact and Binned: as Distribution::quantile. Normal: the normal curve's quantile, with
    // q <= 0 giving lowest() and q >= 1 highest().
    double quantile(double q) const;

    double maxError() const { return m_maxError; }
    double maxCdfError() const { return m_maxCdfError; }
    // How many steps the totals were grouped into (Method::Binned), as the window says it.
    std::size_t points() const { return m_points; }

    // Where the true q-quantile can lie, from both bounds: the window shows no more digits
    // than the width of this range allows.
    double lowerQuantile(double q) const { return quantile(q - m_maxCdfError) - m_maxError; }
    double upperQuantile(double q) const { return quantile(q + m_maxCdfError) + m_maxError; }

    // The totals themselves for bars; empty for Method::Normal, where cdf() draws the curve.
    const Distribution& distribution() const { return m_distribution; }

  private:
    friend Total fold(const std::vector<Distribution>&, const FoldOptions&);

    Method m_method = Method::Exact;
    Reason m_reason = Reason::AllCounted;
    double m_work = 0;
    double m_mean = 0;
    double m_variance = 0;
    double m_lowest = 0;
    double m_highest = 0;
    double m_maxError = 0;
    double m_maxCdfError = 0;
    std::size_t m_points = 0;
    Distribution m_distribution;
};

// The total of all presses. No presses: exactly 0. A press without any outcome: an empty
// total (as Distribution with no points).
Total fold(const std::vector<Distribution>& presses, const FoldOptions& options = {});

} // namespace odds
