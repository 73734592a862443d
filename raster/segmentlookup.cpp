// LitRows::segmentsLit: whether segments would light anything new, eight or sixteen segments at
// a time. A figure that runs over itself again and again (179 : 183) asks this of two million
// segments, nearly all of which light nothing new; asked one segment at a time, the question
// costs about what drawing costs. The kernel (segmentlookupkernel.inc) is one text, made into
// code for AVX2 and for AVX-512 here, the processor's own deciding at run time, and for the
// browser's 128-bit vectors, which have no gather: there each lane loads on its own.

#include "litrows.h"
#include "model/vectorcode.h"

#include "runbitmaps.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>

#if defined(__x86_64__)
#include <immintrin.h>
#define KORVELIAN_SEGMENT_VECTORS
#elif defined(__wasm_simd128__)
#include <wasm_simd128.h>
#define KORVELIAN_SEGMENT_VECTORS
#endif

namespace korvelian {

namespace {

std::uint64_t segmentsLitPlain(const LitRows& lit, const double* xs, const double* ys,
                               std::size_t points)
{
    std::uint64_t result = 0;
    for (std::size_t i = 0; i + 1 < points; ++i) {
        if (lit.segmentLit(xs[i + 1], ys[i + 1], xs[i], ys[i]))
            result |= std::uint64_t{1} << i;
    }
    return result;
}

#if defined(KORVELIAN_SEGMENT_VECTORS)

// Where the lit bits lie, in bytes from the start of both layouts.
struct Area
{
    const char* bytes;
    double columnsAt;
    double rowBytes;
    double columnBytes;
    double width;
    double height;
};

// Rows are raised by this much, so that every row and boundary below is positive.
constexpr double kBias = 1 << 20;
// The longest run one 4-byte load holds, less one: 25 pixels from any bit of the first byte.
constexpr int kLongest = 24;
// The comparisons the kernel makes, as the x86 predicates number them; both ordered and quiet:
// a comparison with a coordinate not a number is false.
constexpr int kEqual = 0x00;
constexpr int kAtMost = 0x12;
constexpr int kAtLeast = 0x1d;
constexpr int kAbove = 0x1e;

#endif

#if defined(__x86_64__)

static_assert(kEqual == _CMP_EQ_OQ && kAtMost == _CMP_LE_OQ && kAtLeast == _CMP_GE_OQ &&
              kAbove == _CMP_GT_OQ);

// The operations on a vector I of 32-bit whole numbers whose intrinsics differ only in the
// vector's width (256 or 512 bits).
// clang-format off
#define KORVELIAN_WHOLE_OPERATIONS(width)                                                      \
    KORVELIAN_VECTOR I splat(int v) { return _mm##width##_set1_epi32(v); }                     \
    KORVELIAN_VECTOR I add(I a, I b) { return _mm##width##_add_epi32(a, b); }                  \
    KORVELIAN_VECTOR I sub(I a, I b) { return _mm##width##_sub_epi32(a, b); }                  \
    KORVELIAN_VECTOR I min(I a, I b) { return _mm##width##_min_epi32(a, b); }                  \
    KORVELIAN_VECTOR I max(I a, I b) { return _mm##width##_max_epi32(a, b); }                  \
    KORVELIAN_VECTOR I both(I a, I b) { return _mm##width##_and_si##width(a, b); }             \
    KORVELIAN_VECTOR I either(I a, I b) { return _mm##width##_or_si##width(a, b); }            \
    KORVELIAN_VECTOR I unset(I words, I b) { return _mm##width##_andnot_si##width(words, b); } \
    KORVELIAN_VECTOR I shiftLeft(I a, I count) { return _mm##width##_sllv_epi32(a, count); }   \
    KORVELIAN_VECTOR I shiftRight(I a, I count) { return _mm##width##_srlv_epi32(a, count); }  \
    KORVELIAN_VECTOR I eighths(I a) { return _mm##width##_srli_epi32(a, 3); }
// clang-format on

KORVELIAN_VECTOR_CODE_BEGIN("avx2")
namespace avx2 {

// Four doubles a vector, eight whole numbers; masks are vectors of all-ones lanes.
struct V
{
    static constexpr int kLanes = 4;
    using D = __m256d;
    using DM = __m256d;
    using H = __m128i;
    using I = __m256i;
    using IM = __m256i;

    KORVELIAN_DOUBLE_OPERATIONS(256)
    KORVELIAN_WHOLE_OPERATIONS(256)
    KORVELIAN_VECTOR D floor(D a) { return _mm256_floor_pd(a); }
    KORVELIAN_VECTOR D ceil(D a) { return _mm256_ceil_pd(a); }
    KORVELIAN_VECTOR D truncate(D a)
    {
        return _mm256_round_pd(a, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    }
    KORVELIAN_VECTOR D abs(D a)
    {
        return _mm256_and_pd(a, _mm256_castsi256_pd(_mm256_set1_epi64x(0x7fffffffffffffff)));
    }
    template <int kPredicate> KORVELIAN_VECTOR DM is(D a, D b)
    {
        return _mm256_cmp_pd(a, b, kPredicate);
    }
    KORVELIAN_VECTOR DM both(DM a, DM b) { return _mm256_and_pd(a, b); }
    KORVELIAN_VECTOR DM either(DM a, DM b) { return _mm256_or_pd(a, b); }
    KORVELIAN_VECTOR int bits(DM m) { return _mm256_movemask_pd(m); }
    KORVELIAN_VECTOR D where(DM m, D a) { return _mm256_and_pd(a, m); }
    KORVELIAN_VECTOR D choose(DM m, D ifNot, D ifSo) { return _mm256_blendv_pd(ifNot, ifSo, m); }
    KORVELIAN_VECTOR H whole(D a) { return _mm256_cvttpd_epi32(a); }

    KORVELIAN_VECTOR I join(H low, H high) { return _mm256_set_m128i(high, low); }
    KORVELIAN_VECTOR IM lanes(int bits)
    {
        const I lane = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
        return _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(bits), lane), lane);
    }
    KORVELIAN_VECTOR IM greater(I a, I b) { return _mm256_cmpgt_epi32(a, b); }
    KORVELIAN_VECTOR IM anyOf(IM a, IM b) { return _mm256_or_si256(a, b); }
    KORVELIAN_VECTOR IM butNot(IM a, IM b) { return _mm256_andnot_si256(b, a); }
    KORVELIAN_VECTOR IM invert(IM m) { return _mm256_xor_si256(m, _mm256_set1_epi32(-1)); }
    KORVELIAN_VECTOR bool empty(IM m) { return _mm256_testz_si256(m, m) != 0; }
    KORVELIAN_VECTOR int laneBits(IM m) { return _mm256_movemask_ps(_mm256_castsi256_ps(m)); }
    KORVELIAN_VECTOR IM nonZero(I a)
    {
        return invert(_mm256_cmpeq_epi32(a, _mm256_setzero_si256()));
    }
    KORVELIAN_VECTOR I onlyIn(IM m, I a) { return _mm256_and_si256(a, m); }
    KORVELIAN_VECTOR I pick(IM m, I ifNot, I ifSo) { return _mm256_blendv_epi8(ifNot, ifSo, m); }
    // A true lane is -1.
    KORVELIAN_VECTOR I addOneIn(IM m, I a) { return _mm256_sub_epi32(a, m); }
    KORVELIAN_VECTOR I gather(I fallback, const int* base, I byte, IM active)
    {
        return _mm256_mask_i32gather_epi32(fallback, base, byte, active, 1);
    }
};

#include "segmentlookupkernel.inc"

} // namespace avx2
KORVELIAN_VECTOR_CODE_END

KORVELIAN_VECTOR_CODE_BEGIN("avx512f,avx512dq,avx512vl,avx512bw")
namespace avx512 {

// Eight doubles a vector, sixteen whole numbers; masks are bits.
struct V
{
    static constexpr int kLanes = 8;
    using D = __m512d;
    using DM = __mmask8;
    using H = __m256i;
    using I = __m512i;
    using IM = __mmask16;

    KORVELIAN_DOUBLE_OPERATIONS(512)
    KORVELIAN_WHOLE_OPERATIONS(512)
    KORVELIAN_VECTOR D floor(D a)
    {
        return _mm512_roundscale_pd(a, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    }
    KORVELIAN_VECTOR D ceil(D a)
    {
        return _mm512_roundscale_pd(a, _MM_FROUND_TO_POS_INF | _MM_FROUND_NO_EXC);
    }
    KORVELIAN_VECTOR D truncate(D a)
    {
        return _mm512_roundscale_pd(a, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    }
    KORVELIAN_VECTOR D abs(D a) { return _mm512_abs_pd(a); }
    template <int kPredicate> KORVELIAN_VECTOR DM is(D a, D b)
    {
        return _mm512_cmp_pd_mask(a, b, kPredicate);
    }
    KORVELIAN_VECTOR DM both(DM a, DM b) { return static_cast<DM>(a & b); }
    KORVELIAN_VECTOR DM either(DM a, DM b) { return static_cast<DM>(a | b); }
    KORVELIAN_VECTOR int bits(DM m) { return m; }
    KORVELIAN_VECTOR D where(DM m, D a) { return _mm512_maskz_mov_pd(m, a); }
    KORVELIAN_VECTOR D choose(DM m, D ifNot, D ifSo)
    {
        return _mm512_mask_blend_pd(m, ifNot, ifSo);
    }
    KORVELIAN_VECTOR H whole(D a) { return _mm512_cvttpd_epi32(a); }

    KORVELIAN_VECTOR I join(H low, H high)
    {
        return _mm512_inserti64x4(_mm512_castsi256_si512(low), high, 1);
    }
    KORVELIAN_VECTOR IM lanes(int bits) { return static_cast<IM>(bits); }
    KORVELIAN_VECTOR IM greater(I a, I b) { return _mm512_cmpgt_epi32_mask(a, b); }
    KORVELIAN_VECTOR IM anyOf(IM a, IM b) { return static_cast<IM>(a | b); }
    KORVELIAN_VECTOR IM butNot(IM a, IM b) { return static_cast<IM>(a & ~b); }
    KORVELIAN_VECTOR IM invert(IM m) { return static_cast<IM>(~m); }
    KORVELIAN_VECTOR bool empty(IM m) { return m == 0; }
    KORVELIAN_VECTOR int laneBits(IM m) { return m; }
    KORVELIAN_VECTOR IM nonZero(I a) { return _mm512_test_epi32_mask(a, a); }
    KORVELIAN_VECTOR I onlyIn(IM m, I a) { return _mm512_maskz_mov_epi32(m, a); }
    KORVELIAN_VECTOR I pick(IM m, I ifNot, I ifSo)
    {
        return _mm512_mask_blend_epi32(m, ifNot, ifSo);
    }
    KORVELIAN_VECTOR I addOneIn(IM m, I a) { return _mm512_mask_add_epi32(a, m, a, splat(1)); }
    KORVELIAN_VECTOR I gather(I fallback, const int* base, I byte, IM active)
    {
        return _mm512_mask_i32gather_epi32(fallback, active, byte, base, 1);
    }
};

#include "segmentlookupkernel.inc"

} // namespace avx512
KORVELIAN_VECTOR_CODE_END

#endif

#if defined(__wasm_simd128__)
namespace simd128 {

#include "segmentlookupsimd128.inc"
#include "segmentlookupkernel.inc"

} // namespace simd128
#endif

} // namespace

std::vector<SegmentLookup> LitRows::segmentLookups()
{
    std::vector<SegmentLookup> here{SegmentLookup::OneByOne};
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2"))
        here.push_back(SegmentLookup::Vector4);
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw"))
        here.push_back(SegmentLookup::Vector8);
#elif defined(__wasm_simd128__)
    here.push_back(SegmentLookup::Vector2);
#endif
    return here;
}

std::uint64_t LitRows::segmentsLit(const double* xs, const double* ys, std::size_t points) const
{
    static const SegmentLookup fastest = segmentLookups().back();
    return segmentsLit(xs, ys, points, fastest);
}

std::uint64_t LitRows::segmentsLit(const double* xs, const double* ys, std::size_t points,
                                   [[maybe_unused]] SegmentLookup how) const
{
    if (points < 2)
        return 0;
#if defined(KORVELIAN_SEGMENT_VECTORS)
    const Area area{reinterpret_cast<const char*>(m_bits.data()),
                    double(m_columnsAt * 8),
                    double(m_rowWords * 8),
                    double(RunBitmaps::wordsPerRow(m_height) * 8),
                    double(m_width),
                    double(m_height)};
#if defined(__x86_64__)
    if (how == SegmentLookup::Vector8)
        return avx512::segmentsLitVector(*this, area, xs, ys, points);
    if (how == SegmentLookup::Vector4)
        return avx2::segmentsLitVector(*this, area, xs, ys, points);
#else
    if (how == SegmentLookup::Vector2)
        return simd128::segmentsLitVector(*this, area, xs, ys, points);
#endif
#endif
    return segmentsLitPlain(*this, xs, ys, points);
}

} // namespace korvelian
