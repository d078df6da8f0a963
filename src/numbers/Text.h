#pragma once
// Conversions between the text of a field and the numbers of the rules, by the user's locale
// (QLocale()), and the text forms the windows show. Parsing never throws; the read functions
// are for rules and refuse with a message that names the field by its caption.

#include "Checked.h"

#include <QString>
#include <optional>

namespace numbers {

// A number as the user typed it: the locale's form first, the C form ("3.5") as a fallback so
// that a point typed on a German keyboard still reads as a decimal point. No field needs a
// thousands separator, so grouping is refused in both forms: "3.500" in German is 3.5, never
// 3500. A number too large for a double gives an infinity of its sign (it is a number, only
// beyond every limit); text that is no number, and NaN, give nothing.
std::optional<double> parseDouble(const QString& text);

// Rounds half to even and narrows to 16 bits; throws Overflow when it does not fit.
Int16 roundToInt16(double value);

// A whole number for a rule: halves round to the even neighbour. Refuses, naming `field`, a
// text that is no number or a number outside 16 bits.
Int16 readWholeNumber(const QString& text, const QString& field);

// A single-precision number for a rule. Refuses, naming `field`, a text that is no number or a
// number beyond the float range.
float readSingle(const QString& text, const QString& field);

// Plain decimal: a leading "-" for negatives, no plus sign, no blank, no grouping.
QString intText(long long value);

// At most 7 significant digits, no trailing zeros, the locale's decimal separator.
QString singleText(float value);

// "72 hrs = 3 Tage": hours and hours / 24, both in the single-precision form.
QString timeLine(float hours);

// The messages for a field that cannot be read; `field` is its caption.
QString notAWholeNumber(const QString& field);
QString wholeNumberOutOfRange(const QString& field);
QString notANumber(const QString& field);

} // namespace numbers
