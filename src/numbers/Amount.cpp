#include "Amount.h"

#include "Checked.h"

#include <QLocale>
#include <cfenv>
#include <cmath>

namespace numbers {

namespace {
constexpr std::int64_t ticksPerUnit = 10000;
}

Amount Amount::fromFloat(float value) {
    // A float times 10000 is exact in double (24 + 14 bits), so only the rounding is inexact.
    const double scaled = static_cast<double>(value) * ticksPerUnit;
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(scaled);
    std::fesetround(saved);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (!std::isfinite(r) || r >= 9223372036854775808.0 || r < -9223372036854775808.0)
        throw Overflow("amount out of range");
    return Amount(static_cast<std::int64_t>(r));
}

Amount Amount::plus(Amount other) const {
    std::int64_t r;
    if (__builtin_add_overflow(m_ticks, other.m_ticks, &r))
        throw Overflow("amount out of range");
    return Amount(r);
}

Amount Amount::roundedToCents() const {
    constexpr std::int64_t step = 100;
    std::int64_t q = m_ticks / step;
    const std::int64_t rem = m_ticks % step; // same sign as m_ticks
    const std::int64_t twice = 2 * (rem < 0 ? -rem : rem);
    if (twice > step || (twice == step && q % 2 != 0))
        q += (rem < 0 ? -1 : 1);
    // |q| <= |m_ticks| / 100 + 1, so q * 100 stays within the 64-bit range.
    return Amount(q * step);
}

QString Amount::text() const {
    const bool negative = m_ticks < 0;
    // Work in unsigned so that the most negative count has a magnitude too.
    const std::uint64_t magnitude = negative
                                        ? std::uint64_t(0) - static_cast<std::uint64_t>(m_ticks)
                                        : static_cast<std::uint64_t>(m_ticks);
    QString text = QString::number(magnitude / ticksPerUnit);
    QString fraction = QStringLiteral("%1").arg(magnitude % ticksPerUnit, 4, 10, QLatin1Char('0'));
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += QLocale().decimalPoint() + fraction;
    return negative ? QStringLiteral("-") + text : text;
}

} // namespace numbers
