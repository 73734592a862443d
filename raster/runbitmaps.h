#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvelian {

struct PixelBox;

// The lit pixels of aliased one-pixel segments in an area, as bits: each segment becomes a
// few runs of pixels (vertical runs for steep segments, horizontal ones for flat segments)
// set as bit ranges in two bitmaps. A pixel is lit where the segment passes its centre row
// (steep) or centre column (flat), as a line rasteriser lights it, plus the segment's first
// end point's own pixel. A segment lights only pixels within the box of its two end
// points' pixels, each coordinate first held to the area: whether a segment adds anything
// can be told from its end points.
class RunBitmaps
{
public:
    // An empty area of width x height pixels.
    void reset(int width, int height);

    // The segment from (xa, ya) to (xb, yb) in pixel coordinates, cut to the area.
    void segment(double xa, double ya, double xb, double yb);

    // words[y * wordsPerRow(width) + x / 64] |= the lit bits of row y, for the pixels of
    // region and maybe some around it; atomically, as other threads may add and read.
    void orRowsInto(std::uint64_t* words, const PixelBox& region) const;

    // Row words of an area this wide, one spare word at the end of each row.
    static std::size_t wordsPerRow(int width);

private:
    int m_width = 0;
    int m_height = 0;
    std::size_t m_columnWords = 0;
    std::size_t m_rowWords = 0;
    std::vector<std::uint64_t> m_columns; // column-major: vertical runs
    std::vector<std::uint64_t> m_rows;    // row-major: horizontal runs
};

} // namespace korvelian
