#pragma once
// Chances of single dice and of success counts, the building blocks of the forecast: how
// likely one open-ended die reaches a target number, and how the successes of a pool of such
// dice are spread. Plain C++, no Qt.

#include <vector>

namespace odds {

// The chance that one open-ended six-sided die (a 6 is rolled again and added) reaches
// `target`. Targets of 1 or less always succeed. Each further six needed divides the chance
// by 6; from target 2374 on the true value lies below the smallest normal double (about
// 2.2e-308), and the result is then exactly 0, never a denormal. Never rises with the target.
double openEndedChance(int target);

// P(k successes) for k = 0..n among n independent dice that each succeed with chance p.
// Built die by die (each entry is a sum of positive terms), so nothing overflows for large n,
// p = 0 and p = 1 give exact 0/1 entries, and the entries sum to 1 within n rounding steps.
// n <= 0 means no dice: {1.0}, zero successes for sure, as the roller counts them. p is
// clamped into [0, 1]; NaN counts as 0.
std::vector<double> binomial(int n, double p);

} // namespace odds
