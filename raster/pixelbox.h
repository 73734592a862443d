#pragma once

namespace korvelian {

// Pixels x0 .. x1 of rows y0 .. y1, all inclusive: the area that run bitmaps, lit rows and the
// figure raster's block boxes speak of.
struct PixelBox
{
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    bool operator==(const PixelBox&) const = default;
};

} // namespace korvelian
