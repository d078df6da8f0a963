#include "Chance.h"

#include <cfloat>
#include <cmath>

namespace odds {

double openEndedChance(int target) {
    if (target <= 1)
        return 1.0;
    // target - 1 = 6 * sixes + rest: that many sixes first, then one of the 6 - rest faces
    // above `rest`. Written as faces / 6^dice with faces in 1..5, so that targets needing the
    // same dice (6 and 7, 12 and 13) share one expression and rounding keeps the order.
    const int sixes = (target - 1) / 6;
    const int rest = (target - 1) % 6;
    const int faces = rest == 0 ? 1 : 6 - rest;
    const int dice = rest == 0 ? sixes : sixes + 1;
    const double chance = faces * std::pow(6.0, -dice);
    return chance < DBL_MIN ? 0.0 : chance;
}

std::vector<double> binomial(int n, double p) {
    if (!(p > 0.0))
        p = 0.0;
    if (p > 1.0)
        p = 1.0;
    const double q = 1.0 - p;
    if (n <= 0)
        return {1.0};
    std::vector<double> pmf(static_cast<std::size_t>(n) + 1, 0.0);
    pmf[0] = 1.0;
    // One more die at a time: a success moves mass up by one, a failure keeps it.
    for (int dice = 1; dice <= n; ++dice) {
        for (int k = dice; k > 0; --k)
            pmf[k] = pmf[k] * q + pmf[k - 1] * p;
        pmf[0] *= q;
    }
    return pmf;
}

} // namespace odds
