#include "kgv.h"

#include "constants.h"
#include "numbertext.h"

#include <cmath>

namespace korvelian {

std::optional<std::int16_t> kgV(double a, std::int16_t b)
{
    const double a0 = a;
    const std::int16_t b0 = b;
    // The test stands after the pass: equal arguments still run one pass.
    do {
        if (a > b)
            a = a - b;
        if (b > a) {
            const auto smaller = toInt16(b - a);
            if (!smaller)
                return std::nullopt;
            b = *smaller;
        }
    } while (a != b);
    return toInt16((a0 * b0) / a);
}

ClosingCount closingCount(double numerator, double denominator)
{
    if (!(denominator >= 1.0 && denominator <= kLargestWhole &&
          std::floor(denominator) == denominator))
        return {RatioFault::Denominator, 0};
    const auto z = toInt16(numerator);
    if (!z || *z < 1)
        return {RatioFault::Numerator, 0};
    const auto k = kgV(denominator, *z);
    if (!k)
        return {RatioFault::TooLarge, 0};
    return {RatioFault::None, *k};
}

} // namespace korvelian
