#pragma once

#include <cstdint>
#include <optional>

namespace korvelian {

// Least common multiple of denominator a and numerator b by repeated subtraction, then
// (a0 * b0) / gcd. Gives nothing when the result does not fit 16 bits.
// Only for a a whole number and both in 1 ... 32767: elsewhere the loop need not end, so
// callers go through closingCount().
std::optional<std::int16_t> kgV(double a, std::int16_t b);

enum class RatioFault {
    None,
    Denominator, // not a whole number from 1 to 32767
    Numerator,   // does not round to a whole number from 1 to 32767
    TooLarge,    // the closing count is above 32767
};

struct ClosingCount
{
    RatioFault fault = RatioFault::None;
    std::int16_t value = 0;
};

// The closing count of the frequency factor as the boxes read, or why there is none.
// The numerator enters kgV rounded to a whole number (ties to even); the denominator must
// already be one.
ClosingCount closingCount(double numerator, double denominator);

} // namespace korvelian
