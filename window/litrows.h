#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvelian {

class RunBitmaps;

// Pixels x0 .. x1 of rows y0 .. y1, all inclusive.
struct PixelBox
{
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
};

// The lit pixels of an area as one bit each, row by row: what run bitmaps have lit, gathered
// so that a box can be asked about and the image written row by row.
class LitRows
{
public:
    // No pixel lit in an area of width x height pixels.
    void reset(int width, int height);
    // Adds the pixels lit in bitmaps of an area of the same size.
    void add(const RunBitmaps& bitmaps);
    // Whether every pixel of a box inside the area is lit.
    bool allLit(const PixelBox& box) const;
    // Sets every lit pixel to colour; stride is in pixels.
    void paint(std::uint32_t* pixels, std::ptrdiff_t stride, std::uint32_t colour) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::size_t m_rowWords = 0;
    std::vector<std::uint64_t> m_words;
};

} // namespace korvelian
