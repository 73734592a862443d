// LitRows::segmentsLit: whether segments would light anything new, eight segments at a time.
// A figure that runs over itself again and again (179 : 183) asks this of two million
// segments, nearly all of which light nothing new; asked one segment at a time, the question
// costs about what drawing costs.

#include "litrows.h"

#include "runbitmaps.h"

#include <algorithm>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
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

#if defined(__x86_64__)

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

#define KORVELIAN_AVX2 __attribute__((target("avx2"), always_inline)) inline

// What a run of a lane needs, as whole numbers that fit 32 bits.
struct Start
{
    int inside;
    // The first end's own pixel: its byte in the column layout and its bit in that byte.
    __m128i firstByte;
    __m128i firstBit;
    // The first run's boundary in 32.32 fixed point as RunBitmaps counts, raised: its row in
    // whole rows, and its fraction with the top bit flipped so that a signed comparison tells
    // the carry; the step in the same two parts.
    __m128i row;
    __m128i fraction;
    __m128i stepRows;
    __m128i stepFraction;
    // Raised first and last rows of the runs.
    __m128i v;
    __m128i vEnd;
    // The byte where the first run's line starts (kBias / 8 taken off), the bytes of the lines
    // the runs are held to, and the bytes from one run's line to the next.
    __m128i lineByte;
    __m128i lowByte;
    __m128i highByte;
    __m128i lineStep;
};

// Coordinates not a number compare false.
KORVELIAN_AVX2 __m256d within(__m256d v, __m256d size)
{
    return _mm256_and_pd(_mm256_cmp_pd(v, _mm256_setzero_pd(), _CMP_GE_OQ),
                         _mm256_cmp_pd(v, size, _CMP_LE_OQ));
}

KORVELIAN_AVX2 __m256d clampTo(__m256d v, __m256d low, __m256d high)
{
    return _mm256_min_pd(_mm256_max_pd(v, low), high);
}

KORVELIAN_AVX2 __m128i whole(__m256d v)
{
    return _mm256_cvttpd_epi32(v);
}

// Four segments from (xa, ya) to (xb, yb), through the steps of RunBitmaps' traceSegment and
// runs with the same operations in the same order, so that every lane finds the pixels that
// RunBitmaps lights. Everything that is a whole number comes out exact: all of it stays below
// 2^53 in a double.
KORVELIAN_AVX2 Start start(const Area& a, const double* segmentsXa, const double* segmentsYa,
                           const double* segmentsXb, const double* segmentsYb)
{
    __m256d xa = _mm256_loadu_pd(segmentsXa);
    __m256d ya = _mm256_loadu_pd(segmentsYa);
    __m256d xb = _mm256_loadu_pd(segmentsXb);
    __m256d yb = _mm256_loadu_pd(segmentsYb);
    const __m256d zero = _mm256_setzero_pd();
    const __m256d one = _mm256_set1_pd(1);
    const __m256d half = _mm256_set1_pd(0.5);
    const __m256d eighth = _mm256_set1_pd(0.125);
    const __m256d w = _mm256_set1_pd(a.width);
    const __m256d h = _mm256_set1_pd(a.height);
    const __m256d noSign = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7fffffffffffffff));
    Start s;

    const __m256d inside = _mm256_and_pd(_mm256_and_pd(within(xa, w), within(xb, w)),
                                         _mm256_and_pd(within(ya, h), within(yb, h)));
    s.inside = _mm256_movemask_pd(inside);
    // Lanes outside compute with zeros; they read nothing.
    xa = _mm256_and_pd(xa, inside);
    ya = _mm256_and_pd(ya, inside);
    xb = _mm256_and_pd(xb, inside);
    yb = _mm256_and_pd(yb, inside);

    const __m256d firstX = _mm256_min_pd(_mm256_floor_pd(xa), _mm256_sub_pd(w, one));
    const __m256d firstY = _mm256_min_pd(_mm256_floor_pd(ya), _mm256_sub_pd(h, one));
    const __m256d firstYByte = _mm256_floor_pd(_mm256_mul_pd(firstY, eighth));
    s.firstByte =
        whole(_mm256_add_pd(_mm256_add_pd(_mm256_set1_pd(a.columnsAt),
                                          _mm256_mul_pd(firstX, _mm256_set1_pd(a.columnBytes))),
                            firstYByte));
    s.firstBit = whole(_mm256_sub_pd(firstY, _mm256_mul_pd(firstYByte, _mm256_set1_pd(8))));

    // u the minor axis, v the major one; steep segments run down columns.
    const __m256d steep = _mm256_cmp_pd(_mm256_and_pd(_mm256_sub_pd(yb, ya), noSign),
                                        _mm256_and_pd(_mm256_sub_pd(xb, xa), noSign), _CMP_GE_OQ);
    __m256d ua = _mm256_blendv_pd(ya, xa, steep);
    __m256d va = _mm256_blendv_pd(xa, ya, steep);
    __m256d ub = _mm256_blendv_pd(yb, xb, steep);
    __m256d vb = _mm256_blendv_pd(xb, yb, steep);
    const __m256d uCount = _mm256_blendv_pd(h, w, steep);
    const __m256d vCount = _mm256_blendv_pd(w, h, steep);
    const __m256d swap = _mm256_cmp_pd(va, vb, _CMP_GT_OQ);
    const __m256d uSwapped = _mm256_blendv_pd(ua, ub, swap);
    ub = _mm256_blendv_pd(ub, ua, swap);
    ua = uSwapped;
    const __m256d vSwapped = _mm256_blendv_pd(va, vb, swap);
    vb = _mm256_blendv_pd(vb, va, swap);
    va = vSwapped;

    const __m256d last = _mm256_sub_pd(vCount, one);
    const __m256d uLastLine = _mm256_sub_pd(uCount, one);
    const __m256d first = _mm256_ceil_pd(_mm256_sub_pd(va, half));
    const __m256d end = _mm256_floor_pd(_mm256_sub_pd(vb, half));
    // Too short to pass a centre: the pixel it lies in. In one minor line: one run.
    const __m256d single = _mm256_cmp_pd(first, end, _CMP_GT_OQ);
    const __m256d uFirst = _mm256_floor_pd(ua);
    const __m256d uLast = _mm256_floor_pd(ub);
    const __m256d oneRun = _mm256_or_pd(single, _mm256_cmp_pd(uFirst, uLast, _CMP_EQ_OQ));
    const __m256d singleRow = clampTo(_mm256_floor_pd(va), zero, last);
    const __m256d v = _mm256_blendv_pd(clampTo(first, zero, last), singleRow, single);
    const __m256d vEnd = _mm256_blendv_pd(clampTo(end, zero, last), singleRow, single);
    const __m256d oneRunLine = clampTo(uFirst, zero, uLastLine);
    const __m256d uLow =
        _mm256_blendv_pd(_mm256_max_pd(_mm256_min_pd(uFirst, uLast), zero), oneRunLine, oneRun);
    const __m256d uHigh = _mm256_blendv_pd(_mm256_min_pd(_mm256_max_pd(uFirst, uLast), uLastLine),
                                           oneRunLine, oneRun);
    const __m256d slope = _mm256_div_pd(_mm256_sub_pd(ub, ua), _mm256_sub_pd(vb, va));
    const __m256d line = _mm256_blendv_pd(
        clampTo(_mm256_floor_pd(_mm256_add_pd(
                    ua, _mm256_mul_pd(_mm256_sub_pd(_mm256_add_pd(v, half), va), slope))),
                uLow, uHigh),
        oneRunLine, oneRun);
    const __m256d beyond = _mm256_add_pd(vCount, _mm256_set1_pd(2));
    const __m256d inverse = _mm256_div_pd(one, slope);
    const __m256d positive = _mm256_cmp_pd(slope, zero, _CMP_GT_OQ);
    const __m256d firstBoundary = _mm256_add_pd(
        va,
        _mm256_mul_pd(_mm256_sub_pd(_mm256_blendv_pd(line, _mm256_add_pd(line, one), positive), ua),
                      inverse));

    // A lane of one run gets a boundary beyond the area and no step. A cast to a whole
    // number cuts toward zero.
    constexpr double kOne = 4294967296.0;
    const __m256d fixedOne = _mm256_set1_pd(kOne);
    const int toZero = _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC;
    const __m256d boundary = _mm256_blendv_pd(
        _mm256_round_pd(
            _mm256_mul_pd(clampTo(firstBoundary, _mm256_sub_pd(zero, beyond), beyond), fixedOne),
            toZero),
        _mm256_mul_pd(beyond, fixedOne), oneRun);
    const __m256d step = _mm256_blendv_pd(
        _mm256_round_pd(
            _mm256_mul_pd(_mm256_min_pd(_mm256_and_pd(inverse, noSign), beyond), fixedOne), toZero),
        zero, oneRun);
    // A boundary's row is ceil(b - 0.5) - 1 going right and floor(b - 0.5) going left: in
    // fixed point, the whole part of b - half + belowOne - one, or of b - half.
    const double kHalf = kOne / 2;
    const __m256d raised = _mm256_add_pd(
        boundary,
        _mm256_blendv_pd(_mm256_set1_pd(kBias * kOne - kHalf),
                         _mm256_set1_pd((kBias - 1) * kOne - kHalf + (kOne - 1)), positive));
    const __m256d inverseOne = _mm256_set1_pd(1 / kOne);
    const __m256d raisedRow = _mm256_floor_pd(_mm256_mul_pd(raised, inverseOne));
    const __m256d flip = _mm256_set1_pd(kHalf);
    s.row = whole(raisedRow);
    s.fraction =
        whole(_mm256_sub_pd(_mm256_sub_pd(raised, _mm256_mul_pd(raisedRow, fixedOne)), flip));
    const __m256d stepRows = _mm256_floor_pd(_mm256_mul_pd(step, inverseOne));
    const __m256d stepFraction = _mm256_sub_pd(step, _mm256_mul_pd(stepRows, fixedOne));
    s.stepRows = whole(stepRows);
    // The fraction's 32 bits as a signed number.
    s.stepFraction = whole(_mm256_blendv_pd(stepFraction, _mm256_sub_pd(stepFraction, fixedOne),
                                            _mm256_cmp_pd(stepFraction, flip, _CMP_GE_OQ)));

    const __m256d bias = _mm256_set1_pd(kBias);
    s.v = whole(_mm256_add_pd(v, bias));
    s.vEnd = whole(_mm256_add_pd(vEnd, bias));
    const __m256d lineBytes =
        _mm256_blendv_pd(_mm256_set1_pd(a.rowBytes), _mm256_set1_pd(a.columnBytes), steep);
    const __m256d layout = _mm256_sub_pd(_mm256_and_pd(_mm256_set1_pd(a.columnsAt), steep),
                                         _mm256_mul_pd(bias, eighth));
    s.lineByte = whole(_mm256_add_pd(layout, _mm256_mul_pd(line, lineBytes)));
    s.lowByte = whole(_mm256_add_pd(layout, _mm256_mul_pd(uLow, lineBytes)));
    s.highByte = whole(_mm256_add_pd(layout, _mm256_mul_pd(uHigh, lineBytes)));
    s.lineStep = whole(_mm256_blendv_pd(_mm256_sub_pd(zero, lineBytes), lineBytes, positive));
    return s;
}

KORVELIAN_AVX2 __m256i both(__m128i low, __m128i high)
{
    return _mm256_set_m128i(high, low);
}

// Eight segments, four from each start, whose runs come one per round. The boundaries between
// runs are the same whole numbers added up as in RunBitmaps, and since a steep segment's
// boundaries lie at least a row apart, run k ends at min(max(boundary row k, v + k), vEnd) and
// the next one starts after that, without the clamps of the previous run. Each run is one
// 4-byte load from the byte of its first bit; lanes outside the area or with a run longer
// than a load holds are left to the plain lookup. Returns the lanes found lit; undecided gets
// those left over.
KORVELIAN_AVX2 int eightLit(const Area& a, const double* xs, const double* ys, int lanes,
                            int& undecided)
{
    const Start low = start(a, xs + 1, ys + 1, xs, ys);
    const Start high = start(a, xs + 5, ys + 5, xs + 4, ys + 4);
    const int inside = (low.inside | (high.inside << 4)) & lanes;
    undecided = lanes & ~inside;
    if (inside == 0)
        return 0;

    __m256i row = both(low.row, high.row);
    __m256i fraction = both(low.fraction, high.fraction);
    const __m256i stepRows = both(low.stepRows, high.stepRows);
    const __m256i stepFraction = both(low.stepFraction, high.stepFraction);
    __m256i vRun = both(low.v, high.v);
    const __m256i vLast = both(low.vEnd, high.vEnd);
    __m256i lineByte = both(low.lineByte, high.lineByte);
    const __m256i lowByte = both(low.lowByte, high.lowByte);
    const __m256i highByte = both(low.highByte, high.highByte);
    const __m256i lineStep = both(low.lineStep, high.lineStep);

    const __m256i all = _mm256_set1_epi32(-1);
    const __m256i laneBits = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
    const __m256i insideLanes =
        _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(inside), laneBits), laneBits);
    // Every run after the first ends within a step's whole rows of the one before.
    const __m256i longest = _mm256_set1_epi32(kLongest);
    const __m256i tooLong = _mm256_or_si256(
        _mm256_cmpgt_epi32(_mm256_sub_epi32(_mm256_min_epi32(row, vLast), vRun), longest),
        _mm256_cmpgt_epi32(stepRows, longest));
    const __m256i live = _mm256_andnot_si256(tooLong, insideLanes);
    // A lane that is not live never becomes active.
    const __m256i vAfter = _mm256_and_si256(_mm256_add_epi32(vLast, _mm256_set1_epi32(1)), live);
    const auto* base = reinterpret_cast<const int*>(a.bytes);
    const __m256i seven = _mm256_set1_epi32(7);
    const __m256i one = _mm256_set1_epi32(1);

    // The first end's own pixel; lanes that are not live count as missing from the start.
    __m256i missing;
    {
        const __m256i words =
            _mm256_mask_i32gather_epi32(all, base, both(low.firstByte, high.firstByte), live, 1);
        const __m256i bit = _mm256_sllv_epi32(one, both(low.firstBit, high.firstBit));
        missing = _mm256_or_si256(_mm256_andnot_si256(words, bit), _mm256_xor_si256(live, all));
    }
    // Lanes go on after a missing pixel, so that a load never waits for the one before.
    const __m256i thirtyOne = _mm256_set1_epi32(31);
    __m256i from = vRun;
    for (;;) {
        const __m256i active = _mm256_cmpgt_epi32(vAfter, from);
        if (_mm256_testz_si256(active, active))
            break;
        const __m256i runEnd = _mm256_max_epi32(row, vRun);
        const __m256i to = _mm256_min_epi32(runEnd, vLast);
        const __m256i byte =
            _mm256_add_epi32(_mm256_min_epi32(_mm256_max_epi32(lineByte, lowByte), highByte),
                             _mm256_srli_epi32(from, 3));
        const __m256i words = _mm256_mask_i32gather_epi32(all, base, byte, active, 1);
        const __m256i bits = _mm256_sllv_epi32(
            _mm256_srlv_epi32(all, _mm256_add_epi32(_mm256_sub_epi32(thirtyOne, to), from)),
            _mm256_and_si256(from, seven));
        missing = _mm256_or_si256(missing, _mm256_andnot_si256(words, bits));
        from = _mm256_add_epi32(runEnd, one);
        vRun = _mm256_add_epi32(vRun, one);
        lineByte = _mm256_add_epi32(lineByte, lineStep);
        const __m256i next = _mm256_add_epi32(fraction, stepFraction);
        row = _mm256_sub_epi32(_mm256_add_epi32(row, stepRows), _mm256_cmpgt_epi32(fraction, next));
        fraction = next;
    }
    const int missed = ~_mm256_movemask_ps(_mm256_castsi256_ps(
                           _mm256_cmpeq_epi32(missing, _mm256_setzero_si256()))) &
                       0xff;
    const int longLanes = _mm256_movemask_ps(_mm256_castsi256_ps(tooLong)) & inside;
    undecided |= longLanes;
    return inside & ~longLanes & ~missed;
}

__attribute__((target("avx2"))) std::uint64_t segmentsLitVector(const LitRows& lit,
                                                                const Area& area, const double* xs,
                                                                const double* ys,
                                                                std::size_t points)
{
    std::uint64_t result = 0;
    const std::size_t segments = points - 1;
    for (std::size_t i = 0; i < segments; i += 8) {
        const std::size_t n = std::min<std::size_t>(8, segments - i);
        // The last segments are padded to eight with points at the origin.
        double x[9] = {};
        double y[9] = {};
        const double* px = xs + i;
        const double* py = ys + i;
        if (n < 8) {
            std::copy_n(px, n + 1, x);
            std::copy_n(py, n + 1, y);
            px = x;
            py = y;
        }
        int undecided = 0;
        std::uint64_t found =
            static_cast<unsigned>(eightLit(area, px, py, (1 << n) - 1, undecided));
        for (; undecided != 0; undecided &= undecided - 1) {
            const std::size_t k = i + static_cast<std::size_t>(__builtin_ctz(undecided));
            if (lit.segmentLit(xs[k + 1], ys[k + 1], xs[k], ys[k]))
                found |= 1u << (k - i);
        }
        result |= found << i;
    }
    return result;
}

#endif

} // namespace

std::uint64_t LitRows::segmentsLit(const double* xs, const double* ys, std::size_t points) const
{
    if (points < 2)
        return 0;
#if defined(__x86_64__)
    static const bool vector = __builtin_cpu_supports("avx2");
    if (vector) {
        const Area area{reinterpret_cast<const char*>(m_bits.data()),
                        double(m_columnsAt * 8),
                        double(m_rowWords * 8),
                        double(RunBitmaps::wordsPerRow(m_height) * 8),
                        double(m_width),
                        double(m_height)};
        return segmentsLitVector(*this, area, xs, ys, points);
    }
#endif
    return segmentsLitPlain(*this, xs, ys, points);
}

} // namespace korvelian
