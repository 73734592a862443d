#include "fastsine.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace korvelian {

namespace {

// Arguments reduced by multiples of pi/2 in two fused steps stay exact to a few ulp as
// long as the multiple fits 2^40; beyond that std::sin takes over.
constexpr double kFastLimit = 1.0e12;
constexpr double kTwoOverPi = 0.636619772367581343076;
constexpr double kHalfPi1 = 1.57079632679489655800e+00;
constexpr double kHalfPi2 = 6.12323399573676603587e-17;
// Adding 1.5 * 2^52 rounds to a whole number and leaves it in the low mantissa bits.
constexpr double kRoundingShift = 6755399441055744.0;

// sin and cos on [-pi/4, pi/4], the classic minimax kernels.
constexpr double S1 = -1.66666666666666324348e-01;
constexpr double S2 = 8.33333333332248946124e-03;
constexpr double S3 = -1.98412698298579493134e-04;
constexpr double S4 = 2.75573137070700676789e-06;
constexpr double S5 = -2.50507602534068634195e-08;
constexpr double S6 = 1.58969099521155010221e-10;
constexpr double C1 = 4.16666666666666019037e-02;
constexpr double C2 = -1.38888888888741095749e-03;
constexpr double C3 = 2.48015872894767294178e-05;
constexpr double C4 = -2.75573143513906633035e-07;
constexpr double C5 = 2.08757232129817482790e-09;
constexpr double C6 = -1.13596475577881948265e-11;

// Branch-free so that the compiler turns the loop into vector code.
__attribute__((target("avx2,fma"))) void vectorSines(const double* in, double* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        const double x = in[i];
        const double shifted = std::fma(x, kTwoOverPi, kRoundingShift);
        const double k = shifted - kRoundingShift;
        const std::uint64_t quadrant = std::bit_cast<std::uint64_t>(shifted);
        double r = std::fma(-k, kHalfPi1, x);
        r = std::fma(-k, kHalfPi2, r);
        const double r2 = r * r;
        const double s =
            r + r * r2 * (S1 + r2 * (S2 + r2 * (S3 + r2 * (S4 + r2 * (S5 + r2 * S6)))));
        const double c = 1.0 - 0.5 * r2 +
                         r2 * r2 * (C1 + r2 * (C2 + r2 * (C3 + r2 * (C4 + r2 * (C5 + r2 * C6)))));
        const double v = (quadrant & 1) ? c : s;
        out[i] = std::bit_cast<double>(std::bit_cast<std::uint64_t>(v) ^ ((quadrant & 2) << 62));
    }
}

} // namespace

void fastSines(const double* in, double* out, std::size_t n)
{
    static const bool vector = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    if (!vector) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = std::sin(in[i]);
        return;
    }
    // The arguments are kept aside per block: out may be in, and the vector kernel would
    // overwrite the huge ones before std::sin gets them.
    constexpr std::size_t kBlock = 256;
    std::array<double, kBlock> arguments;
    for (std::size_t begin = 0; begin < n; begin += kBlock) {
        const std::size_t count = std::min(kBlock, n - begin);
        std::copy_n(in + begin, count, arguments.data());
        vectorSines(arguments.data(), out + begin, count);
        for (std::size_t i = 0; i < count; ++i) {
            if (!(std::abs(arguments[i]) <= kFastLimit))
                out[begin + i] = std::sin(arguments[i]);
        }
    }
}

} // namespace korvelian
