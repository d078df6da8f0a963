#include "Checked.h"

namespace numbers {

namespace {
[[noreturn]] void overflow() {
    throw Overflow("16-bit overflow");
}
} // namespace

Int16 add(Int16 a, Int16 b) {
    Int16 r;
    if (__builtin_add_overflow(a, b, &r))
        overflow();
    return r;
}

Int16 sub(Int16 a, Int16 b) {
    Int16 r;
    if (__builtin_sub_overflow(a, b, &r))
        overflow();
    return r;
}

Int16 mul(Int16 a, Int16 b) {
    Int16 r;
    if (__builtin_mul_overflow(a, b, &r))
        overflow();
    return r;
}

} // namespace numbers
