#pragma once

#include "pixelbox.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace korvelian {

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
    // The same, but only the runs (and the first end's pixel) with a pixel not set in
    // litColumns and litRows, bitmaps laid out as in lit() that hold every lit pixel in both
    // layouts and to which other threads may add: what these bitmaps and those hold together
    // is the same, and what is new in them too.
    void segmentBeyond(const std::uint64_t* litColumns, const std::uint64_t* litRows, double xa,
                       double ya, double xb, double yb);

    // words[y * wordsPerRow(width) + x / 64] |= the lit bits of row y, for the pixels of
    // region and maybe some around it; atomically, as other threads may add and read.
    void orRowsInto(std::uint64_t* words, const PixelBox& region) const;
    // For the squares of 64 x 64 pixels where a segment lit a pixel that was not lit before
    // since the last call: rows as in orRowsInto, and columns[x * wordsPerRow(height) + y / 64]
    // |= the lit bits of column x. Returns those squares, valid until the next call.
    std::span<const PixelBox> orNewInto(std::uint64_t* rows, std::uint64_t* columns);

    // Squares of 64 x 64 pixels with pixels that orNewInto has not passed on yet.
    std::size_t newSquares() const { return m_dirtyTiles.size(); }

    // Whether every pixel that segment() would light is set in columns and rows: bitmaps of
    // an area of width x height pixels laid out as a RunBitmaps' column and row bitmaps.
    static bool lit(const std::uint64_t* columns, const std::uint64_t* rows, int width, int height,
                    double xa, double ya, double xb, double yb);

    // The segment's bits set straight into column and row bitmaps laid out as in lit():
    // nothing marks them as new, and the rows hold its vertical runs only after foldColumns.
    static void light(std::uint64_t* columns, std::uint64_t* rows, int width, int height, double xa,
                      double ya, double xb, double yb);
    // rows |= the column bitmap turned into rows, for bitmaps laid out as in lit() that no
    // other thread touches: at least columns first .. last, in squares of 64 x 64 pixels.
    static void foldColumns(const std::uint64_t* columns, std::uint64_t* rows, int width,
                            int height, int first, int last);

    // Row words of an area this wide, one spare word at the end of each row.
    static std::size_t wordsPerRow(int width);

private:
    // Marks the squares of the box of the end points, cut to the area, as new where added is not 0.
    void markNew(std::uint64_t added, double xa, double ya, double xb, double yb);
    PixelBox tileBox(std::uint32_t tile) const;
    void orTileInto(std::uint64_t* rows, std::uint64_t* columns, const PixelBox& tile) const;

    int m_width = 0;
    int m_height = 0;
    std::size_t m_columnWords = 0;
    std::size_t m_rowWords = 0;
    std::vector<std::uint64_t> m_columns; // column-major: vertical runs
    std::vector<std::uint64_t> m_rows;    // row-major: horizontal runs
    // Squares of 64 x 64 pixels, row by row, with new pixels since orNewInto.
    std::size_t m_tileColumns = 0;
    std::vector<bool> m_dirty;
    std::vector<std::uint32_t> m_dirtyTiles;
    std::vector<PixelBox> m_published;
};

} // namespace korvelian
