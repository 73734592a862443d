#include "fastsine.h"
#include "sinecoefficients.h"
#include "vectorcode.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__wasm_simd128__)
#include "emulatedfma.h"
#include "wasmsinelanes.h"
#endif

namespace korvelian {

namespace {

using namespace sinekernel;

// Every multiply-add below is written as one fused operation, and this file is compiled
// without contraction: the vector kernel and the portable one round alike, on every
// processor, so a figure's points do not depend on where it is drawn.
#if defined(__x86_64__)

KORVELIAN_VECTOR_CODE_BEGIN("avx2,fma")
namespace avx2 {

struct V
{
    static constexpr std::size_t kLanes = 4;
    using D = __m256d;
    KORVELIAN_DOUBLE_OPERATIONS(256)
    // a * b + c and c - a * b, each rounded once.
    KORVELIAN_VECTOR D fma(D a, D b, D c) { return _mm256_fmadd_pd(a, b, c); }
    KORVELIAN_VECTOR D fnma(D a, D b, D c) { return _mm256_fnmadd_pd(a, b, c); }
    // The quadrant is in the low bits of shifted: c in the odd ones, the sign flipped in the
    // lower half.
    KORVELIAN_VECTOR D byQuadrant(D shifted, D s, D c)
    {
        const __m256i quadrant = _mm256_castpd_si256(shifted);
        const __m256i oddQuadrant = _mm256_set1_epi64x(1);
        const __m256i odd =
            _mm256_cmpeq_epi64(_mm256_and_si256(quadrant, oddQuadrant), oddQuadrant);
        const __m256d v = _mm256_blendv_pd(s, c, _mm256_castsi256_pd(odd));
        const __m256i sign =
            _mm256_slli_epi64(_mm256_and_si256(quadrant, _mm256_set1_epi64x(2)), 62);
        return _mm256_xor_pd(v, _mm256_castsi256_pd(sign));
    }
    KORVELIAN_VECTOR bool anyBeyond(const double* in, std::size_t n, double limit)
    {
        const __m256d noSign = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7fffffffffffffff));
        __m256d outside = _mm256_setzero_pd();
        for (std::size_t i = 0; i < n; i += kLanes) {
            const __m256d size = _mm256_and_pd(_mm256_loadu_pd(in + i), noSign);
            outside = _mm256_or_pd(outside, _mm256_cmp_pd(size, set(limit), _CMP_NLE_UQ));
        }
        return _mm256_testz_pd(outside, outside) == 0;
    }
};

#include "fastsinekernel.inc"

} // namespace avx2
KORVELIAN_VECTOR_CODE_END

KORVELIAN_VECTOR_CODE_BEGIN("avx512f")
namespace avx512 {

struct V
{
    static constexpr std::size_t kLanes = 8;
    using D = __m512d;
    KORVELIAN_DOUBLE_OPERATIONS(512)
    KORVELIAN_VECTOR D fma(D a, D b, D c) { return _mm512_fmadd_pd(a, b, c); }
    KORVELIAN_VECTOR D fnma(D a, D b, D c) { return _mm512_fnmadd_pd(a, b, c); }
    KORVELIAN_VECTOR D byQuadrant(D shifted, D s, D c)
    {
        const __m512i quadrant = _mm512_castpd_si512(shifted);
        const __mmask8 odd = _mm512_test_epi64_mask(quadrant, _mm512_set1_epi64(1));
        const __m512d v = _mm512_mask_blend_pd(odd, s, c);
        const __m512i sign =
            _mm512_slli_epi64(_mm512_and_si512(quadrant, _mm512_set1_epi64(2)), 62);
        return _mm512_castsi512_pd(_mm512_xor_si512(_mm512_castpd_si512(v), sign));
    }
    KORVELIAN_VECTOR bool anyBeyond(const double* in, std::size_t n, double limit)
    {
        __mmask8 outside = 0;
        for (std::size_t i = 0; i < n; i += kLanes)
            outside |=
                _mm512_cmp_pd_mask(_mm512_abs_pd(_mm512_loadu_pd(in + i)), set(limit), _CMP_NLE_UQ);
        return outside != 0;
    }
};

#include "fastsinekernel.inc"

} // namespace avx512
KORVELIAN_VECTOR_CODE_END

#else

#if defined(__wasm_simd128__)

// WebAssembly has no fused multiply-add: each is emulated exactly (emulatedfma.h), two lanes
// at a time, several times faster than its std::fma.
namespace wasm {

struct V : WasmSineLanes
{
    KORVELIAN_VECTOR D add(D a, D b) { return wasm_f64x2_add(a, b); }
    KORVELIAN_VECTOR D towardOdd(D s, D e)
    {
        const v128_t one = wasm_i64x2_splat(1);
        const v128_t even = wasm_i64x2_eq(wasm_v128_and(s, one), wasm_i64x2_splat(0));
        const v128_t inexact = wasm_f64x2_ne(e, wasm_f64x2_splat(0));
        // One step up in size where e has s's sign, down where it has the other.
        const v128_t step = wasm_v128_or(one, wasm_i64x2_shr(wasm_v128_xor(s, e), 63));
        return wasm_i64x2_add(s, wasm_v128_and(step, wasm_v128_and(even, inexact)));
    }
    KORVELIAN_VECTOR D fma(D a, D b, D c) { return fusedMultiplyAdd<V>(a, b, c); }
    KORVELIAN_VECTOR D fnma(D a, D b, D c) { return fusedMultiplyAdd<V>(wasm_f64x2_neg(a), b, c); }
    KORVELIAN_VECTOR bool anyBeyond(const double* in, std::size_t n, double limit)
    {
        v128_t outside = wasm_i64x2_splat(0);
        for (std::size_t i = 0; i < n; i += kLanes) {
            const v128_t size = wasm_f64x2_abs(wasm_v128_load(in + i));
            // Not within the limit: beyond it, or not a number.
            outside = wasm_v128_or(outside, wasm_v128_not(wasm_f64x2_le(size, set(limit))));
        }
        return wasm_v128_any_true(outside);
    }
};

#include "fastsinekernel.inc"

} // namespace wasm

HostSines hostSines = nullptr;

void wasmSines(const double* in, double* out, std::size_t n)
{
    if (hostSines != nullptr)
        hostSines(in, out, n);
    else
        wasm::kernelSines(in, out, n);
}

#endif

// Portable: std::fma rounds once whether the processor fuses (one instruction on 64-bit ARM)
// or a library does.

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
    return std::all_of(in, in + n, [](double x) { return std::abs(x) <= kFastSineLimit; });
}

#endif

// The kernel over a block of arguments at a time, lanes wide.
template <std::size_t kLanes, void (*kernelSines)(const double*, double*, std::size_t),
          bool (*withinRange)(const double*, std::size_t)>
void sinesInBlocks(const double* in, double* out, std::size_t n)
{
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
                std::abs(arguments[i]) <= kFastSineLimit ? sines[i] : std::sin(arguments[i]);
        }
    }
}

} // namespace

std::vector<std::size_t> fastSineWidths()
{
#if defined(__x86_64__)
    // An x86 processor without AVX2 would fuse in software, slower than std::sin.
    std::vector<std::size_t> widths;
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        widths.push_back(avx2::V::kLanes);
    if (__builtin_cpu_supports("avx512f"))
        widths.push_back(avx512::V::kLanes);
    return widths;
#elif defined(__wasm_simd128__)
    return {1, wasm::V::kLanes};
#else
    return {1};
#endif
}

void fastSines(const double* in, double* out, std::size_t n)
{
    static const std::vector<std::size_t> widths = fastSineWidths();
    fastSines(in, out, n, widths.empty() ? 0 : widths.back());
}

void fastSines(const double* in, double* out, std::size_t n, [[maybe_unused]] std::size_t width)
{
#if defined(__x86_64__)
    if (width == avx512::V::kLanes) {
        sinesInBlocks<avx512::V::kLanes, avx512::kernelSines, avx512::withinRange>(in, out, n);
    } else if (width == avx2::V::kLanes) {
        sinesInBlocks<avx2::V::kLanes, avx2::kernelSines, avx2::withinRange>(in, out, n);
    } else {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = std::sin(in[i]);
    }
#else
#if defined(__wasm_simd128__)
    if (width == wasm::V::kLanes) {
        sinesInBlocks<wasm::V::kLanes, wasmSines, wasm::withinRange>(in, out, n);
        return;
    }
#endif
    sinesInBlocks<1, kernelSines, withinRange>(in, out, n);
#endif
}

#if defined(__wasm_simd128__)
bool offerHostSines(HostSines kernel)
{
    // Spread over a dense figure's arguments; a multiply and an add that do not fuse change
    // nearly every one of these sines in its last bits.
    constexpr std::size_t kSamples = 512;
    std::array<double, kSamples> arguments;
    std::array<double, kSamples> emulated;
    std::array<double, kSamples> offered;
    for (std::size_t i = 0; i < kSamples; ++i)
        arguments[i] = (static_cast<double>(i) + 0.37) * (2 * 3.1416 * 32767 / kSamples);
    wasm::kernelSines(arguments.data(), emulated.data(), kSamples);
    kernel(arguments.data(), offered.data(), kSamples);
    for (std::size_t i = 0; i < kSamples; ++i) {
        if (std::bit_cast<std::uint64_t>(emulated[i]) != std::bit_cast<std::uint64_t>(offered[i]))
            return false;
    }
    hostSines = kernel;
    return true;
}
#endif

} // namespace korvelian
