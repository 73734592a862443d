#pragma once

#include "model/loopvalues.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvelian {

// Bit i for point i of a block of the figure loop: FigureRaster's blocks hold at most 513.
using PointBits = std::array<std::uint64_t, 9>;

// Sets bit i of near for each argument (t[i] + offset) * factor, i < n, that lies within
// reach of centre + 2 pi k, with an allowance for the arguments of the points themselves,
// which divide by the denominator where this multiplies by a quotient; and for each argument
// beyond where the points' sines are reduced as these are.
void nearCentre(const double* t, std::size_t n, double offset, double factor, double centre,
                double reach, PointBits& near);

// The same for the points first .. first + n - 1 of the figure loop, n <= 513, without
// computing them: within a range of equal loop steps the arguments grow by the same amount
// from point to point, so where point i falls on the circle is where the block's first point
// falls plus i times that amount. Those places, alike for every block of a range, are sorted
// into buckets around the circle once, and a block looks only into the buckets around the
// centre. Bits may be set for points a little beyond reach, never missed for one within it.
class CrestPlaces
{
public:
    static constexpr std::size_t kPoints = 513;

    // Sorts the places of the ranges that hold at least kFewestBlocks blocks of kPoints - 1
    // steps among the first count points at steps, for arguments (t + offset) * factor.
    void prepare(double offset, double factor, std::size_t count, LoopSteps steps = {});
    // Sets the bits as nearCentre does for the n points start + i * step of one range of equal
    // loop steps (see loopProgression), from the sorted places. False where there are none for
    // that range (too short to sort) or the arguments grow too large: then nothing is set, and
    // nearCentre must look at every point.
    bool nearPoints(double start, double step, std::size_t n, double centre, double reach,
                    PointBits& near) const;

private:
    static constexpr std::size_t kFewestBlocks = 16;
    static constexpr int kBucketShift = 22;
    static constexpr std::size_t kBuckets = std::size_t{1} << (32 - kBucketShift);

    // The places of -i steps, i < kPoints, in turns as 32-bit fixed point, by bucket.
    struct Range
    {
        double step = 0;
        std::array<std::uint16_t, kBuckets + 1> bucketStart{};
        std::array<std::uint32_t, kPoints> places{};
        std::array<std::uint16_t, kPoints> points{};
    };

    double m_offset = 0;
    double m_factor = 1;
    std::vector<Range> m_ranges;
    // What the ranges were sorted for: the places do not depend on the offset, so a drifting
    // phase keeps them from step to step.
    bool m_prepared = false;
    std::size_t m_count = 0;
    double m_step = 0;
};

} // namespace korvelian
