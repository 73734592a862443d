#pragma once

#include "runbitmaps.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvelian {

// The ways LitRows::segmentsLit can look segments up, all with the same answers: one by one, or
// with the processor's vector instructions, two (the browser's), four or eight doubles at a time.
enum class SegmentLookup { OneByOne, Vector2, Vector4, Vector8 };

// The lit pixels of an area as one bit each, row by row: what run bitmaps have lit, gathered
// so that a box can be asked about and the image written row by row. Bands of eight rows,
// counted from the top of a box that the questions usually lie in, keep which pixels are lit
// in all their rows, so that a tall box is answered an eighth of its rows at a time.
class LitRows
{
public:
    // No pixel lit in an area of width x height pixels; the bands start at within's top row.
    void reset(int width, int height, const PixelBox& within);
    // Adds the pixels that bitmaps of an area of the same size have lit in region.
    void add(const RunBitmaps& bitmaps, const PixelBox& region);
    // Adds the pixels that bitmaps lit anew since the last call.
    void addNew(RunBitmaps& bitmaps);
    // Lights a segment straight into these bits, each run in the layout RunBitmaps::segment
    // lights it in: segmentLit sees it at once, the rows and allLit see its vertical runs only
    // after foldColumns. For bits that no other thread reads meanwhile.
    void segment(double xa, double ya, double xb, double yb);
    // Lights in bitmaps of an area of the same size the runs of a segment that have a pixel
    // not lit here (RunBitmaps::segmentBeyond): for bits lit in both layouts, as addNew and
    // closeGrown light them.
    void segmentInto(RunBitmaps& bitmaps, double xa, double ya, double xb, double yb) const
    {
        bitmaps.segmentBeyond(columns(), m_bits.data(), xa, ya, xb, yb);
    }
    // Sets every pixel of columns first .. last, in both layouts.
    void setColumns(int first, int last);
    // Takes the pixels of columns first .. last, both layouts, from lit rows of an area of
    // the same size; neither may be in use by another thread.
    void takeColumns(const LitRows& other, int first, int last);
    // Adds the lit pixels of columns first .. last from rows of an area of the same size laid
    // out as row() gives them (what another core, sharing no memory, lit of a figure). Only the
    // rows: the bits are for painting, not for looking up.
    void addRows(const std::uint64_t* rows, int first, int last);
    // The vertical runs that segment lit in columns first .. last (and maybe some beside
    // them), into the rows; the bands start empty.
    void foldColumns(int first, int last);
    // Lights, in both layouts, every pixel whose square grown as WideFigureRaster grows a
    // line extra pixels wider lies wholly in the grown squares of the pixels lit now, the
    // picture's last extra rows and columns of the area counting as lit: a segment whose
    // pixels are all lit then adds nothing to the grown picture. The rows lit before go to
    // kept. For bits that no other thread uses meanwhile.
    void closeGrown(int extra, std::vector<std::uint64_t>& kept);
    // The lit pixels set to rows laid out as row() gives them; only the rows, as addRows.
    void setRows(const std::vector<std::uint64_t>& rows);
    // Whether every pixel of a box inside the area is lit.
    bool allLit(const PixelBox& box) const;
    // Whether every pixel that RunBitmaps::segment would light for this segment is lit, in
    // the layout that segment would light it in.
    bool segmentLit(double xa, double ya, double xb, double yb) const;
    // The same for the segments of a polyline in pixel coordinates, points <= 65: bit i of the
    // result tells it of the segment from point i + 1 to point i, as segmentLit(xs[i + 1],
    // ys[i + 1], xs[i], ys[i]) would.
    std::uint64_t segmentsLit(const double* xs, const double* ys, std::size_t points) const;
    // The same in a given way; segmentsLit takes the fastest of segmentLookups(), the ways this
    // processor can run, which end with the fastest.
    std::uint64_t segmentsLit(const double* xs, const double* ys, std::size_t points,
                              SegmentLookup how) const;
    static std::vector<SegmentLookup> segmentLookups();
    // Row y's lit pixels as bits, wordsPerRow() words with a spare one at the end.
    const std::uint64_t* row(int y) const
    {
        return m_bits.data() + static_cast<std::size_t>(y) * m_rowWords;
    }
    std::size_t wordsPerRow() const { return m_rowWords; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Sets every lit pixel to colour; stride is in pixels.
    void paint(std::uint32_t* pixels, std::ptrdiff_t stride, std::uint32_t colour) const
    {
        paint(pixels, stride, colour, 0, m_width - 1);
    }
    // The same for columns first .. last only.
    void paint(std::uint32_t* pixels, std::ptrdiff_t stride, std::uint32_t colour, int first,
               int last) const;

private:
    void addBands(const PixelBox& region);
    // Columns first .. last from other, or lit where other is null.
    void copyColumns(const LitRows* other, int first, int last);
    bool linesLit(const std::uint64_t* lines, int first, int last, const PixelBox& box) const;
    std::uint64_t* rows() { return m_bits.data(); }
    std::uint64_t* columns() { return m_bits.data() + m_columnsAt; }
    const std::uint64_t* columns() const { return m_bits.data() + m_columnsAt; }

    int m_width = 0;
    int m_height = 0;
    std::size_t m_rowWords = 0;
    PixelBox m_within;
    // The pixels row by row, then from m_columnsAt the same pixels column by column, as
    // RunBitmaps keeps vertical runs (only addNew fills those, for segmentLit): in one array,
    // so that a vector lookup reads both layouts from one base.
    std::vector<std::uint64_t> m_bits;
    std::size_t m_columnsAt = 0;
    // Band k: rows m_within.y0 + 8k .. + 7, no further than m_within.y1.
    std::vector<std::uint64_t> m_bands;
};

} // namespace korvelian
