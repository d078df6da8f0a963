#pragma once
// Whole numbers of the rules are 16-bit signed; every operation detects overflow instead of
// wrapping, so a rule can refuse a press before anything changes.

#include <cstdint>
#include <stdexcept>

namespace numbers {

using Int16 = std::int16_t;

// The one exception type for arithmetic that leaves its range; decide() turns it into a refusal.
class Overflow : public std::overflow_error {
  public:
    using std::overflow_error::overflow_error;
};

Int16 add(Int16 a, Int16 b);
Int16 sub(Int16 a, Int16 b);
Int16 mul(Int16 a, Int16 b);

} // namespace numbers
