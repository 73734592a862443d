#pragma once

namespace korvelian {

// Device pixel = user coordinate * scale + offset, per axis: the one mapping from a frame to
// pixels, shared by the rasteriser and everything that paints, so that a figure reaches the
// raster exactly as it is mapped.
struct PixelMapping
{
    double scaleX = 1;
    double offsetX = 0;
    double scaleY = 1;
    double offsetY = 0;
};

} // namespace korvelian
