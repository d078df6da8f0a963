#pragma once
// Whole numbers of the rules are 16-bit signed; every operation detects overflow instead of
// wrapping, so a handler can refuse a press before it changes anything.

#include <cstdint>
#include <stdexcept>

namespace numbers {

using Int16 = std::int16_t;

// The one exception type for arithmetic that leaves its range; handlers turn it into a message.
class Overflow : public std::overflow_error {
  public:
    using std::overflow_error::overflow_error;
};

Int16 add(Int16 a, Int16 b);
Int16 sub(Int16 a, Int16 b);
Int16 mul(Int16 a, Int16 b);

// Narrows a wider whole number, throwing when it does not fit 16 bits.
Int16 narrow(long long value);

} // namespace numbers
