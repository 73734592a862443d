#pragma once

#include "figurepoints.h"
#include "litrows.h"
#include "pixelmapping.h"
#include "runbitmaps.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace korvelian {

// Draws the segments of a polyline in one colour, aliased and one pixel wide, much faster
// than a line call per segment: the segments are set as runs in bitmaps (see RunBitmaps),
// which are then written to the image once.
class SegmentRaster
{
public:
    // pixels: 32-bit pixels, stride in pixels between rows. Segment i runs from point i to
    // point i - 1.
    void draw(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
              std::span<const FloatPoint> points, const PixelMapping& transform,
              std::uint32_t colour);
    // The same pixels as bits, valid until the next drawing.
    const LitRows& rasterise(int width, int height, std::span<const FloatPoint> points,
                             const PixelMapping& transform);

private:
    std::array<RunBitmaps, 2> m_bitmaps;
    LitRows m_lit;
};

} // namespace korvelian
