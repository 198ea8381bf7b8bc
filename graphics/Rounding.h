#pragma once
// Integer ratios rounded the way the screen arithmetic of the launchers
// always has been: to the nearest integer, halves to even.
#include <cstdint>

namespace kelvo {

// The denominator must be positive.
constexpr int roundHalfEven(std::int64_t numerator, std::int64_t denominator) {
    std::int64_t quotient = numerator / denominator;
    std::int64_t remainder = numerator % denominator;
    if (remainder < 0) { // make the quotient the floor
        remainder += denominator;
        --quotient;
    }
    if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0))
        ++quotient;
    return static_cast<int>(quotient);
}

} // namespace kelvo
