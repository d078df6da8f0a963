#pragma once
// How the forecast puts its figures into words: chances, durations, Nuyen and counts in the
// user's locale, a number never parted from its unit (no-break space), thousands grouped
// alike for days and Nuyen, and never more digits than a figure's error bound allows.

#include <QString>

namespace odds::wording {

// One decimal and "%"; what rounds to 0 or 100 without being it says so ("< 0,1 %").
QString percent(double chance);

// The grammatical case a unit takes in its sentence: "36 Tage", but "in 36 Tagen".
enum class Case { Nominative, Dative };

// A duration given in hours: under a day in hours ("12,5 Stunden", "0,08 Stunden"), else in days
// with one decimal. `halfWidth` (hours) is how far the true value may lie from `hours`: the figure
// then keeps only the digits that width allows, rounding to whole days, tens of days and so
// on, so that it is never off by more than one unit of its last digit.
QString duration(double hours, Case grammar = Case::Nominative, double halfWidth = 0);

// Whole Nuyen, grouped; fewer digits as for duration() when `halfWidth` asks for it.
QString nuyen(double amount, double halfWidth = 0);

// "0 Erfolge", "1 Erfolg", "2 Erfolge"; from < to gives a range: "1–17 Erfolge".
QString successes(int from, int to);
inline QString successes(int k) {
    return successes(k, k);
}

// "Noch 4 Kästchen, 4 Heilungswürfe", "Noch 1 Kästchen, 1 Heilungswurf".
QString boxesAndRolls(int boxes, int rolls);

// "der 695. Heilungswurf"
QString ordinal(int n);

} // namespace odds::wording
