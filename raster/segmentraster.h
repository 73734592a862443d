#pragma once

#include "model/figurepoints.h"
#include "litrows.h"
#include "pixelmapping.h"
#include "runbitmaps.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace korvelian {

// The pixels of the segments of a polyline, aliased and one pixel wide, much faster than a
// line call per segment: the segments are set as runs in bitmaps (see RunBitmaps), which are
// then gathered once. The wide raster's plain path and the reference the culled figure raster
// must match pixel for pixel.
class SegmentRaster
{
public:
    // Segment i runs from point i to point i - 1; the bits are valid until the next call.
    const LitRows& rasterise(int width, int height, std::span<const FloatPoint> points,
                             const PixelMapping& transform);

private:
    std::array<RunBitmaps, 2> m_bitmaps;
    LitRows m_lit;
};

} // namespace korvelian
