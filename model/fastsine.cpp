#include "fastsine.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

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

// Every multiply-add below is written as one fused operation, and this file is compiled
// without contraction: the vector kernel and the portable one round alike, on every
// processor, so a figure's points do not depend on where it is drawn.
#if defined(__x86_64__)

constexpr std::size_t kLanes = 4;

__attribute__((target("avx2,fma"))) void kernelSines(const double* in, double* out, std::size_t n)
{
    const __m256d twoOverPi = _mm256_set1_pd(kTwoOverPi);
    const __m256d shift = _mm256_set1_pd(kRoundingShift);
    const __m256d halfPi1 = _mm256_set1_pd(kHalfPi1);
    const __m256d halfPi2 = _mm256_set1_pd(kHalfPi2);
    const __m256d half = _mm256_set1_pd(0.5);
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256i oddQuadrant = _mm256_set1_epi64x(1);
    const __m256i lowerHalf = _mm256_set1_epi64x(2);
    // n is a whole number of lanes: the caller pads.
    for (std::size_t i = 0; i < n; i += kLanes) {
        const __m256d x = _mm256_loadu_pd(in + i);
        const __m256d shifted = _mm256_fmadd_pd(x, twoOverPi, shift);
        const __m256d k = _mm256_sub_pd(shifted, shift);
        const __m256i quadrant = _mm256_castpd_si256(shifted);
        __m256d r = _mm256_fnmadd_pd(k, halfPi1, x);
        r = _mm256_fnmadd_pd(k, halfPi2, r);
        const __m256d r2 = _mm256_mul_pd(r, r);
        __m256d ps = _mm256_fmadd_pd(r2, _mm256_set1_pd(S6), _mm256_set1_pd(S5));
        ps = _mm256_fmadd_pd(r2, ps, _mm256_set1_pd(S4));
        ps = _mm256_fmadd_pd(r2, ps, _mm256_set1_pd(S3));
        ps = _mm256_fmadd_pd(r2, ps, _mm256_set1_pd(S2));
        ps = _mm256_fmadd_pd(r2, ps, _mm256_set1_pd(S1));
        const __m256d s = _mm256_fmadd_pd(_mm256_mul_pd(r, r2), ps, r);
        __m256d pc = _mm256_fmadd_pd(r2, _mm256_set1_pd(C6), _mm256_set1_pd(C5));
        pc = _mm256_fmadd_pd(r2, pc, _mm256_set1_pd(C4));
        pc = _mm256_fmadd_pd(r2, pc, _mm256_set1_pd(C3));
        pc = _mm256_fmadd_pd(r2, pc, _mm256_set1_pd(C2));
        pc = _mm256_fmadd_pd(r2, pc, _mm256_set1_pd(C1));
        const __m256d c =
            _mm256_fmadd_pd(_mm256_mul_pd(r2, r2), pc, _mm256_fnmadd_pd(r2, half, one));
        const __m256i odd =
            _mm256_cmpeq_epi64(_mm256_and_si256(quadrant, oddQuadrant), oddQuadrant);
        const __m256d v = _mm256_blendv_pd(s, c, _mm256_castsi256_pd(odd));
        const __m256i sign = _mm256_slli_epi64(_mm256_and_si256(quadrant, lowerHalf), 62);
        _mm256_storeu_pd(out + i, _mm256_xor_pd(v, _mm256_castsi256_pd(sign)));
    }
}

// Whether every one of n arguments, n a whole number of lanes, lies within the kernel's range.
__attribute__((target("avx2"))) bool withinRange(const double* in, std::size_t n)
{
    const __m256d noSign = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7fffffffffffffff));
    const __m256d limit = _mm256_set1_pd(kFastLimit);
    __m256d outside = _mm256_setzero_pd();
    for (std::size_t i = 0; i < n; i += kLanes) {
        const __m256d size = _mm256_and_pd(_mm256_loadu_pd(in + i), noSign);
        outside = _mm256_or_pd(outside, _mm256_cmp_pd(size, limit, _CMP_NLE_UQ));
    }
    return _mm256_testz_pd(outside, outside) != 0;
}

#else

// Portable: std::fma rounds once whether the processor fuses (one instruction on 64-bit ARM)
// or a library does.
constexpr std::size_t kLanes = 1;

void kernelSines(const double* in, double* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        const double x = in[i];
        const double shifted = std::fma(x, kTwoOverPi, kRoundingShift);
        const double k = shifted - kRoundingShift;
        const std::uint64_t quadrant = std::bit_cast<std::uint64_t>(shifted);
        double r = std::fma(-k, kHalfPi1, x);
        r = std::fma(-k, kHalfPi2, r);
        const double r2 = r * r;
        double ps = std::fma(r2, S6, S5);
        ps = std::fma(r2, ps, S4);
        ps = std::fma(r2, ps, S3);
        ps = std::fma(r2, ps, S2);
        ps = std::fma(r2, ps, S1);
        const double s = std::fma(r * r2, ps, r);
        double pc = std::fma(r2, C6, C5);
        pc = std::fma(r2, pc, C4);
        pc = std::fma(r2, pc, C3);
        pc = std::fma(r2, pc, C2);
        pc = std::fma(r2, pc, C1);
        const double c = std::fma(r2 * r2, pc, std::fma(-r2, 0.5, 1.0));
        const double v = (quadrant & 1) ? c : s;
        out[i] = std::bit_cast<double>(std::bit_cast<std::uint64_t>(v) ^ ((quadrant & 2) << 62));
    }
}

bool withinRange(const double* in, std::size_t n)
{
    return std::all_of(in, in + n, [](double x) { return std::abs(x) <= kFastLimit; });
}

#endif

} // namespace

void fastSines(const double* in, double* out, std::size_t n)
{
#if defined(__x86_64__)
    // An x86 processor without AVX2 would fuse in software, slower than std::sin.
    static const bool vector = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    if (!vector) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = std::sin(in[i]);
        return;
    }
#endif
    constexpr std::size_t kBlock = 256;
    std::array<double, kBlock> arguments;
    std::array<double, kBlock> sines;
    for (std::size_t begin = 0; begin < n; begin += kBlock) {
        const std::size_t count = std::min(kBlock, n - begin);
        // A figure's arguments all lie within the kernel's range: the whole lanes then go
        // straight through it, as it reads each lane before it writes it.
        const std::size_t whole = count / kLanes * kLanes;
        const std::size_t direct = withinRange(in + begin, whole) ? whole : 0;
        kernelSines(in + begin, out + begin, direct);
        if (direct == count)
            continue;
        // The rest is kept aside: out may be in, and the kernel would overwrite the huge
        // arguments before std::sin gets them. It is padded to whole lanes.
        const std::size_t rest = count - direct;
        const std::size_t padded = (rest + kLanes - 1) / kLanes * kLanes;
        std::copy_n(in + begin + direct, rest, arguments.data());
        std::fill(arguments.begin() + rest, arguments.begin() + padded, 0.0);
        kernelSines(arguments.data(), sines.data(), padded);
        for (std::size_t i = 0; i < rest; ++i) {
            out[begin + direct + i] =
                std::abs(arguments[i]) <= kFastLimit ? sines[i] : std::sin(arguments[i]);
        }
    }
}

} // namespace korvelian
