#pragma once

#include "figurepoints.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace korvelian {

// Draws the segments of a polyline in one colour, aliased and one pixel wide, much faster
// than a line call per segment: each segment becomes a few runs of pixels (vertical runs
// for steep segments, horizontal ones for flat segments) set as bit ranges in two small
// bitmaps, which are then written to the image once. A pixel is lit where the segment
// passes its centre row (steep) or centre column (flat), as a line rasteriser lights it.
class SegmentRaster
{
public:
    // Device pixel = user coordinate * scale + offset, per axis.
    struct Transform
    {
        double scaleX = 1;
        double offsetX = 0;
        double scaleY = 1;
        double offsetY = 0;
    };

    // pixels: 32-bit pixels, stride in pixels between rows.
    void draw(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
              std::span<const FloatPoint> points, const Transform& transform, std::uint32_t colour);

private:
    struct Bitmaps
    {
        std::vector<std::uint64_t> columns; // column-major: vertical runs
        std::vector<std::uint64_t> rows;    // row-major: horizontal runs
    };

    void rasterise(Bitmaps& bitmaps, std::span<const FloatPoint> points,
                   const Transform& transform) const;
    void segment(Bitmaps& bitmaps, double xa, double ya, double xb, double yb) const;

    int m_width = 0;
    int m_height = 0;
    std::size_t m_columnWords = 0;
    std::size_t m_rowWords = 0;
    std::array<Bitmaps, 2> m_bitmaps;
};

} // namespace korvelian
