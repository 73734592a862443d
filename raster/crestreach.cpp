#include "crestreach.h"

#include "model/fastsine.h"
#include "model/loopvalues.h"

#include <algorithm>
#include <cmath>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace korvelian {

namespace {

// 2 pi in two parts: whole multiples of the first up to 2^45 are exact.
constexpr double kTwoPiHigh = 6.28125;
constexpr double kTwoPiLow = 0.0019353071795864769;
constexpr double kInverseTwoPi = 0.15915494309189535;
// The points' sines of larger arguments come from std::sin, which the reduction here does not
// follow.
constexpr double kLargestArgument = kFastSineLimit;
// How far the points' own arguments and the reduction's rounding may put an argument from
// where it is taken to be, relative to the argument.
constexpr double kAllowance = 1e-15;
constexpr double kFixedOne = 4294967296.0;

// A fraction of a turn as 32-bit fixed point, whole turns wrapping away.
std::uint32_t fixedTurns(double turns)
{
    return static_cast<std::uint32_t>(
        static_cast<std::uint64_t>(static_cast<std::int64_t>(std::nearbyint(turns * kFixedOne))));
}

void setBit(PointBits& bits, std::size_t i)
{
    bits[i / 64] |= std::uint64_t{1} << (i % 64);
}

// How far argument a lies from the nearest centre + 2 pi k, with its sign.
double offCentre(double a, double centre)
{
    const double k = ((a - centre) * kInverseTwoPi + kRoundingShift) - kRoundingShift;
    return ((a - k * kTwoPiHigh) - k * kTwoPiLow) - centre;
}

void nearCentrePlain(const double* t, std::size_t from, std::size_t n, double offset, double factor,
                     double centre, double limit, PointBits& near)
{
    for (std::size_t i = from; i < n; ++i) {
        const double a = (t[i] + offset) * factor;
        if (std::abs(offCentre(a, centre)) - std::abs(a) * kAllowance < limit ||
            !(std::abs(a) <= kLargestArgument))
            setBit(near, i);
    }
}

#if defined(__x86_64__)
// The same four at a time: a block of points costs a few hundred instructions, not thousands.
__attribute__((target("avx2"))) void nearCentreVector(const double* t, std::size_t n, double offset,
                                                      double factor, double centre, double limit,
                                                      PointBits& near)
{
    const __m256d vOffset = _mm256_set1_pd(offset);
    const __m256d vFactor = _mm256_set1_pd(factor);
    const __m256d vCentre = _mm256_set1_pd(centre);
    const __m256d vLimit = _mm256_set1_pd(limit);
    const __m256d vInverse = _mm256_set1_pd(kInverseTwoPi);
    const __m256d vShift = _mm256_set1_pd(kRoundingShift);
    const __m256d vHigh = _mm256_set1_pd(kTwoPiHigh);
    const __m256d vLow = _mm256_set1_pd(kTwoPiLow);
    const __m256d vAllowance = _mm256_set1_pd(kAllowance);
    const __m256d vLargest = _mm256_set1_pd(kLargestArgument);
    const __m256d noSign = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7fffffffffffffff));
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m256d a = _mm256_mul_pd(_mm256_add_pd(_mm256_loadu_pd(t + i), vOffset), vFactor);
        const __m256d k = _mm256_sub_pd(
            _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(a, vCentre), vInverse), vShift), vShift);
        const __m256d r = _mm256_sub_pd(
            _mm256_sub_pd(_mm256_sub_pd(a, _mm256_mul_pd(k, vHigh)), _mm256_mul_pd(k, vLow)),
            vCentre);
        const __m256d size = _mm256_and_pd(a, noSign);
        const __m256d distance =
            _mm256_sub_pd(_mm256_and_pd(r, noSign), _mm256_mul_pd(size, vAllowance));
        const int bits =
            _mm256_movemask_pd(_mm256_or_pd(_mm256_cmp_pd(distance, vLimit, _CMP_LT_OQ),
                                            _mm256_cmp_pd(size, vLargest, _CMP_NLE_UQ)));
        // Four bits never straddle two words: i is a multiple of 4.
        near[i / 64] |= std::uint64_t(bits) << (i % 64);
    }
    nearCentrePlain(t, i, n, offset, factor, centre, limit, near);
}
#endif

} // namespace

void nearCentre(const double* t, std::size_t n, double offset, double factor, double centre,
                double reach, PointBits& near)
{
    const double limit = reach + 1e-12;
#if defined(__x86_64__)
    static const bool vector = __builtin_cpu_supports("avx2");
    if (vector)
        return nearCentreVector(t, n, offset, factor, centre, limit, near);
#endif
    return nearCentrePlain(t, 0, n, offset, factor, centre, limit, near);
}

void CrestPlaces::prepare(double offset, double factor, std::size_t count, LoopSteps steps)
{
    m_offset = offset;
    if (m_prepared && factor == m_factor && count == m_count && steps.step == m_step)
        return;
    m_factor = factor;
    m_count = count;
    m_step = steps.step;
    m_prepared = true;
    m_ranges.clear();
    for (std::size_t first = 0; first < count;) {
        const std::size_t end = loopProgressionEnd(steps, first);
        double start = 0;
        double step = 0;
        if ((std::min(end, count) - first) / (kPoints - 1) >= kFewestBlocks &&
            loopProgression(steps, first, 1, start, step) && step != 0) {
            Range& range = m_ranges.emplace_back();
            range.step = step;
            // The place of -i steps is i times that of -1 step: the rounding of that one place
            // grows to at most i / 2 units, which nearPoints allows for.
            const double turns = -step * factor * kInverseTwoPi;
            const std::uint32_t stepPlace = fixedTurns(turns - std::floor(turns));
            std::array<std::uint32_t, kPoints> places;
            std::array<std::uint16_t, kBuckets + 1> counts{};
            for (std::size_t i = 0; i < kPoints; ++i) {
                places[i] = static_cast<std::uint32_t>(i) * stepPlace;
                ++counts[(places[i] >> kBucketShift) + 1];
            }
            for (std::size_t b = 0; b < kBuckets; ++b)
                counts[b + 1] = static_cast<std::uint16_t>(counts[b + 1] + counts[b]);
            range.bucketStart = counts;
            for (std::size_t i = 0; i < kPoints; ++i) {
                const std::uint16_t slot = counts[places[i] >> kBucketShift]++;
                range.places[slot] = places[i];
                range.points[slot] = static_cast<std::uint16_t>(i);
            }
        }
        first = end;
    }
}

bool CrestPlaces::nearPoints(double start, double step, std::size_t n, double centre, double reach,
                             PointBits& near) const
{
    if (n == 0 || n > kPoints)
        return false;
    const auto range = std::find_if(m_ranges.begin(), m_ranges.end(),
                                    [step](const Range& r) { return r.step == step; });
    if (range == m_ranges.end())
        return false;
    const double last = start + static_cast<double>(n - 1) * step;
    const double a = (start + m_offset) * m_factor;
    const double largest = std::max(std::abs(a), std::abs((last + m_offset) * m_factor));
    if (!(largest <= kLargestArgument))
        return false;
    // Beyond nearCentre's allowance: the rounding of t + offset, which the factor multiplies,
    // and that of the block's first place; the step's place, rounded to a unit, adds up to
    // half a unit per step, and its own rounding a hair per step.
    const double tRounding = (std::abs(last) + std::abs(m_offset)) * 0x1p-52 * std::abs(m_factor);
    const double radians = reach + 1e-12 + largest * 3 * kAllowance + 2 * tRounding;
    const double stepTurns = std::abs(step * m_factor) * kInverseTwoPi;
    const double halfWidth = radians * kInverseTwoPi + static_cast<double>(n) * stepTurns * 1e-15 +
                             static_cast<double>(n + 4) / kFixedOne;
    if (!(halfWidth < 0.25))
        return false;
    const double r = offCentre(a, centre);
    // Point i is near where its place, the first one's plus i steps, lies within halfWidth of
    // the centre: where (high + i steps) mod 1 < width, that is where the place of -i steps lies
    // in (high - width, high].
    const std::uint32_t high = fixedTurns(r * kInverseTwoPi + halfWidth);
    const auto width = static_cast<std::uint32_t>(std::ceil(2 * halfWidth * kFixedOne));
    const std::uint32_t low = high - width + 1;
    for (std::uint32_t b = low >> kBucketShift;; b = (b + 1) % kBuckets) {
        for (std::size_t slot = range->bucketStart[b]; slot < range->bucketStart[b + 1]; ++slot) {
            const std::size_t i = range->points[slot];
            if (i < n && static_cast<std::uint32_t>(high - range->places[slot]) < width)
                setBit(near, i);
        }
        if (b == high >> kBucketShift)
            break;
    }
    return true;
}

} // namespace korvelian
