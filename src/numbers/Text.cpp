#include "Text.h"

#include <QLocale>
#include <cfenv>
#include <cmath>
#include <limits>

namespace numbers {

namespace {

std::optional<double> parseWith(const QLocale& locale, const QString& text) {
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
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

std::optional<Int16> parseInt16(const QString& text) {
    const auto value = parseDouble(text);
    if (!value)
        return std::nullopt;
    const double r = roundHalfEven(*value);
    if (r < std::numeric_limits<Int16>::min() || r > std::numeric_limits<Int16>::max())
        return std::nullopt;
    return static_cast<Int16>(r);
}

std::optional<float> parseSingle(const QString& text) {
    const auto value = parseDouble(text);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(*value);
}

Int16 roundToInt16(double value) {
    const double r = roundHalfEven(value);
    if (!(r >= std::numeric_limits<Int16>::min() && r <= std::numeric_limits<Int16>::max()))
        throw Overflow("value does not fit 16 bits");
    return static_cast<Int16>(r);
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

} // namespace numbers
