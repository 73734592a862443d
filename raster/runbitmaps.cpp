#include "runbitmaps.h"

#include "bitruns.h"
#include "bittranspose.h"
#include "sharedwords.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace korvelian {

namespace {

#include "segmenttrace.inc"

} // namespace

std::size_t RunBitmaps::wordsPerRow(int width)
{
    return (static_cast<std::size_t>(width) + 63) / 64 + 1;
}

void RunBitmaps::reset(int width, int height)
{
    m_width = width;
    m_height = height;
    m_columnWords = wordsPerRow(height);
    m_rowWords = wordsPerRow(width);
    m_columns.assign(m_columnWords * static_cast<std::size_t>(width), 0);
    m_rows.assign(m_rowWords * static_cast<std::size_t>(height), 0);
    m_tileColumns = static_cast<std::size_t>(width + 63) / 64;
    m_dirty.assign(m_tileColumns * static_cast<std::size_t>((height + 63) / 64), false);
    m_dirtyTiles.clear();
}

namespace {

// The bits of a segment set in column and row bitmaps of an area of width x height pixels: the
// bits that were not set before. The end points are left cut to the area. The first end's own
// pixel goes into the column bitmap, or, where kFirstWithRuns, into the bitmap of the segment's
// runs, whose words the runs touch next: a flat segment's column word lies far from its row
// words and is rarely in the cache. Where litColumns and litRows are given (bitmaps of the same
// layout, both complete), only the runs with a pixel not set in them are set.
template <bool kFirstWithRuns, bool kUnlitOnly = false>
[[gnu::always_inline]] inline std::uint64_t
lightInto(std::uint64_t* columns, std::uint64_t* rows, int width, int height, double& xa,
          double& ya, double& xb, double& yb, const std::uint64_t* litColumns = nullptr,
          const std::uint64_t* litRows = nullptr)
{
    const std::size_t columnWords = RunBitmaps::wordsPerRow(height);
    const std::size_t rowWords = RunBitmaps::wordsPerRow(width);
    std::uint64_t added = 0;
    traceSegment(
        xa, ya, xb, yb, width, height,
        [=, &added](int x, int y, bool steep) {
            if (kFirstWithRuns && !steep) {
                if (!kUnlitOnly || missingBits(litRows + y * rowWords, x, x) != 0)
                    added |= setBit(rows + y * rowWords, x);
            } else if (!kUnlitOnly || missingBits(litColumns + x * columnWords, y, y) != 0) {
                added |= setBit(columns + x * columnWords, y);
            }
        },
        [=, &added](int c, int from, int to) {
            if (!kUnlitOnly || missingBits(litColumns + c * columnWords, from, to) != 0)
                added |= setBits(columns + c * columnWords, from, to);
        },
        [=, &added](int r, int from, int to) {
            if (!kUnlitOnly || missingBits(litRows + r * rowWords, from, to) != 0)
                added |= setBits(rows + r * rowWords, from, to);
        });
    return added;
}

} // namespace

void RunBitmaps::segment(double xa, double ya, double xb, double yb)
{
    // Only what lights a new pixel has to be published: a figure that runs over its own
    // pixels again costs nothing there.
    // Publishing joins both bitmaps, so either may hold a pixel.
    const std::uint64_t added =
        lightInto<true>(m_columns.data(), m_rows.data(), m_width, m_height, xa, ya, xb, yb);
    markNew(added, xa, ya, xb, yb);
}

void RunBitmaps::segmentBeyond(const std::uint64_t* litColumns, const std::uint64_t* litRows,
                               double xa, double ya, double xb, double yb)
{
    // At 8192 pixels a segment crosses some 330 lines of bits, each in another cache line, and
    // one that lights a pixel anew mostly runs over lit ones: the lit bits' lines are in the
    // cache from its look-up, these bitmaps' are not.
    const std::uint64_t added = lightInto<true, true>(
        m_columns.data(), m_rows.data(), m_width, m_height, xa, ya, xb, yb, litColumns, litRows);
    markNew(added, xa, ya, xb, yb);
}

void RunBitmaps::markNew(std::uint64_t added, double xa, double ya, double xb, double yb)
{
    if (added == 0)
        return;
    const int xLow = std::min(floorInt(std::min(xa, xb)), m_width - 1);
    const int xHigh = std::min(floorInt(std::max(xa, xb)), m_width - 1);
    const int yLow = std::min(floorInt(std::min(ya, yb)), m_height - 1);
    const int yHigh = std::min(floorInt(std::max(ya, yb)), m_height - 1);
    for (int ty = yLow >> 6; ty <= yHigh >> 6; ++ty) {
        for (int tx = xLow >> 6; tx <= xHigh >> 6; ++tx) {
            const std::size_t tile = static_cast<std::size_t>(ty) * m_tileColumns + tx;
            if (!m_dirty[tile]) {
                m_dirty[tile] = true;
                m_dirtyTiles.push_back(static_cast<std::uint32_t>(tile));
            }
        }
    }
}

void RunBitmaps::light(std::uint64_t* columns, std::uint64_t* rows, int width, int height,
                       double xa, double ya, double xb, double yb)
{
    // Look-ups read the first end's pixel from the columns, and only the columns are folded.
    lightInto<false>(columns, rows, width, height, xa, ya, xb, yb);
}

bool RunBitmaps::lit(const std::uint64_t* columns, const std::uint64_t* rows, int width, int height,
                     double xa, double ya, double xb, double yb)
{
    const std::size_t columnWords = wordsPerRow(height);
    const std::size_t rowWords = wordsPerRow(width);
    std::uint64_t missing = 0;
    traceSegment(
        xa, ya, xb, yb, width, height,
        [columns, columnWords, &missing](int x, int y, bool) {
            missing |= missingBits(columns + x * columnWords, y, y);
        },
        [columns, columnWords, &missing](int c, int from, int to) {
            missing |= missingBits(columns + c * columnWords, from, to);
            return missing == 0;
        },
        [rows, rowWords, &missing](int r, int from, int to) {
            missing |= missingBits(rows + r * rowWords, from, to);
            return missing == 0;
        });
    return missing == 0;
}

PixelBox RunBitmaps::tileBox(std::uint32_t tile) const
{
    const int x0 = static_cast<int>(tile % m_tileColumns) * 64;
    const int y0 = static_cast<int>(tile / m_tileColumns) * 64;
    return {x0, y0, std::min(x0 + 63, m_width - 1), std::min(y0 + 63, m_height - 1)};
}

namespace {

// The first lines of a square of one bitmap layout, line(j) for j < lines, turned into the
// other layout in square; false, and square left as it is, where none has a bit set.
template <typename Line>
bool turnSquare(std::array<std::uint64_t, 64>& square, std::size_t lines, const Line& line)
{
    std::uint64_t any = 0;
    for (std::size_t j = 0; j < lines; ++j) {
        square[j] = line(j);
        any |= square[j];
    }
    if (any == 0)
        return false;
    std::fill(square.begin() + static_cast<std::ptrdiff_t>(lines), square.end(), 0);
    transposeBits(square);
    return true;
}

} // namespace

void RunBitmaps::orTileInto(std::uint64_t* rows, std::uint64_t* columns, const PixelBox& tile) const
{
    const std::size_t rowWord = static_cast<std::size_t>(tile.x0) / 64;
    const std::size_t columnWord = static_cast<std::size_t>(tile.y0) / 64;
    const std::size_t width = static_cast<std::size_t>(tile.x1 - tile.x0 + 1);
    const std::size_t height = static_cast<std::size_t>(tile.y1 - tile.y0 + 1);
    // A square of one bitmap, turned, goes into the other layout.
    std::array<std::uint64_t, 64> square;
    for (std::size_t i = 0; i < height; ++i)
        orShared(rows[(tile.y0 + i) * m_rowWords + rowWord],
                 m_rows[(tile.y0 + i) * m_rowWords + rowWord]);
    if (turnSquare(square, width, [&](std::size_t j) {
            return m_columns[(tile.x0 + j) * m_columnWords + columnWord];
        })) {
        for (std::size_t i = 0; i < height; ++i)
            orShared(rows[(tile.y0 + i) * m_rowWords + rowWord], square[i]);
    }
    if (columns == nullptr)
        return;
    for (std::size_t j = 0; j < width; ++j)
        orShared(columns[(tile.x0 + j) * m_columnWords + columnWord],
                 m_columns[(tile.x0 + j) * m_columnWords + columnWord]);
    if (turnSquare(square, height,
                   [&](std::size_t i) { return m_rows[(tile.y0 + i) * m_rowWords + rowWord]; })) {
        for (std::size_t j = 0; j < width; ++j)
            orShared(columns[(tile.x0 + j) * m_columnWords + columnWord], square[j]);
    }
}

void RunBitmaps::orRowsInto(std::uint64_t* words, const PixelBox& region) const
{
    for (int y0 = region.y0 & ~63; y0 <= region.y1; y0 += 64) {
        for (int x0 = region.x0 & ~63; x0 <= region.x1; x0 += 64) {
            orTileInto(words, nullptr,
                       {x0, y0, std::min(x0 + 63, m_width - 1), std::min(y0 + 63, m_height - 1)});
        }
    }
}

void RunBitmaps::foldColumns(const std::uint64_t* columns, std::uint64_t* rows, int width,
                             int height, int first, int last)
{
    const std::size_t columnWords = wordsPerRow(height);
    const std::size_t rowWords = wordsPerRow(width);
    std::array<std::uint64_t, 64> square;
    for (int y0 = 0; y0 < height; y0 += 64) {
        const std::size_t columnWord = static_cast<std::size_t>(y0) / 64;
        const int lines = std::min(64, height - y0);
        for (int x0 = first & ~63; x0 <= last; x0 += 64) {
            const auto count = static_cast<std::size_t>(std::min(64, width - x0));
            if (!turnSquare(square, count, [&](std::size_t j) {
                    return columns[(x0 + j) * columnWords + columnWord];
                }))
                continue;
            for (int i = 0; i < lines; ++i)
                rows[(y0 + i) * rowWords + x0 / 64] |= square[i];
        }
    }
}

std::span<const PixelBox> RunBitmaps::orNewInto(std::uint64_t* rows, std::uint64_t* columns)
{
    m_published.clear();
    for (const std::uint32_t tile : m_dirtyTiles) {
        m_dirty[tile] = false;
        m_published.push_back(tileBox(tile));
        orTileInto(rows, columns, m_published.back());
    }
    m_dirtyTiles.clear();
    return m_published;
}

} // namespace korvelian
