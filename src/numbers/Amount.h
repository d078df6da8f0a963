#pragma once
// The hospital cost: an exact signed count of ten-thousandths, so that sums never drift.

#include <QString>
#include <cstdint>

namespace numbers {

class Amount {
  public:
    constexpr Amount() = default;
    static constexpr Amount fromTicks(std::int64_t ticks) { return Amount(ticks); }
    // value * 10000 rounded half to even; throws Overflow beyond the 64-bit range.
    static Amount fromFloat(float value);

    constexpr std::int64_t ticks() const { return m_ticks; }

    // Exact; throws Overflow instead of wrapping.
    Amount plus(Amount other) const;
    // Rounded to whole hundredths, ties to the even hundredth.
    Amount roundedToCents() const;
    // No thousands separator, no trailing zeros, the locale's decimal separator: "333.33", "6000".
    QString text() const;

    friend constexpr bool operator==(Amount, Amount) = default;

  private:
    constexpr explicit Amount(std::int64_t ticks) : m_ticks(ticks) {}
    std::int64_t m_ticks = 0;
};

} // namespace numbers
