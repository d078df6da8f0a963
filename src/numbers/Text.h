#pragma once
// Conversions between the text of a field and the numbers of the rules, by the user's locale
// (QLocale()). Parsing never throws: a text that is no usable number gives an empty optional,
// and the caller names the field in its message.

#include "Checked.h"

#include <QString>
#include <optional>

namespace numbers {

// A finite number as the user typed it: the locale's form first, the C form ("3.5") as a
// fallback so that a point typed on a German keyboard still reads as a decimal point.
std::optional<double> parseDouble(const QString& text);

// A whole number: halves round to the even neighbour, then the 16-bit range is checked.
std::optional<Int16> parseInt16(const QString& text);

// A single-precision number; a value beyond the float range counts as unusable.
std::optional<float> parseSingle(const QString& text);

// Plain decimal: a leading "-" for negatives, no plus sign, no blank, no grouping.
QString intText(long long value);

// At most 7 significant digits, no trailing zeros, the locale's decimal separator.
QString singleText(float value);

// "72 hrs = 3 Tage": hours and hours / 24, both in the single-precision form.
QString timeLine(float hours);

// Rounds half to even and narrows to 16 bits; throws Overflow when it does not fit.
Int16 roundToInt16(double value);

} // namespace numbers
