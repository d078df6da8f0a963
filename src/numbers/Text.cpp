#include "Text.h"

#include "Refusal.h"

#include <QLocale>
#include <cfenv>
#include <cmath>
#include <limits>

namespace numbers {

namespace {

std::optional<double> parseWith(QLocale locale, const QString& text) {
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    // Qt reports a number beyond the double range as not ok, with an infinity of its sign.
    if (!ok && std::isinf(value))
        return value;
    if (!ok || std::isnan(value))
        return std::nullopt;
    return value;
}

double roundHalfEven(double value) {
    // nearbyint honours the current rounding mode; the default is to-nearest, ties to even.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(saved);
    return r;
}

} // namespace

std::optional<double> parseDouble(const QString& text) {
    if (auto value = parseWith(QLocale(), text))
        return value;
    return parseWith(QLocale::c(), text);
}

Int16 roundToInt16(double value) {
    const double r = roundHalfEven(value);
    if (!(r >= std::numeric_limits<Int16>::min() && r <= std::numeric_limits<Int16>::max()))
        throw Overflow("value does not fit 16 bits");
    return static_cast<Int16>(r);
}

Int16 readWholeNumber(const QString& text, const QString& field) {
    const auto value = parseDouble(text);
    if (!value)
        refuse(notAWholeNumber(field));
    return orRefuse(wholeNumberOutOfRange(field), [&] { return roundToInt16(*value); });
}

float readSingle(const QString& text, const QString& field) {
    const auto value = parseDouble(text);
    if (!value || !(std::fabs(*value) <= std::numeric_limits<float>::max()))
        refuse(notANumber(field));
    return static_cast<float>(*value);
}

QString intText(long long value) {
    return QString::number(value);
}

QString singleText(float value) {
    if (value == 0.0f)
        return QStringLiteral("0"); // also for -0, which has no meaning at the table
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(static_cast<double>(value), 'g', 7);
}

QString timeLine(float hours) {
    const float days = hours / 24.0f;
    return singleText(hours) + QStringLiteral(" hrs = ") + singleText(days) +
           QStringLiteral(" Tage");
}

QString notAWholeNumber(const QString& field) {
    return QStringLiteral("Bitte im Feld „%1“ eine ganze Zahl eingeben.").arg(field);
}

QString wholeNumberOutOfRange(const QString& field) {
    return QStringLiteral("Bitte im Feld „%1“ eine ganze Zahl von -32768 bis 32767 eingeben.")
        .arg(field);
}

QString notANumber(const QString& field) {
    return QStringLiteral("Bitte im Feld „%1“ eine Zahl eingeben.").arg(field);
}

} // namespace numbers
