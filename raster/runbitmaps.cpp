#include "runbitmaps.h"

#include "bittranspose.h"
#include "sharedwords.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>
#include <utility>

namespace korvelian {

namespace {

constexpr std::uint64_t kAll = ~std::uint64_t{0};

// A run of at most 64 bits, from .. to, in the word that holds bit from and the one after it:
// made without a branch, which the runs of a segment, one or two words each, would mispredict.
struct ShortRun
{
    std::uint64_t first;
    std::uint64_t second;
};

[[gnu::always_inline]] inline ShortRun shortRun(int from, int to)
{
    const std::uint64_t ones = kAll >> (63 - (to - from));
    return {ones << (from & 63), (ones >> 1) >> (63 - (from & 63))};
}

// Sets bits from..to of a line of words that has one spare word at its end and returns the
// bits that were not set before.
[[gnu::always_inline]] inline std::uint64_t setBits(std::uint64_t* words, int from, int to)
{
    if (to - from < 64) {
        std::uint64_t* at = words + (from >> 6);
        const ShortRun run = shortRun(from, to);
        const std::uint64_t added = (run.first & ~at[0]) | (run.second & ~at[1]);
        at[0] |= run.first;
        at[1] |= run.second;
        return added;
    }
    const int first = from >> 6;
    const int last = to >> 6;
    const std::uint64_t head = kAll << (from & 63);
    const std::uint64_t tail = kAll >> (63 - (to & 63));
    std::uint64_t added = (head & ~words[first]) | (tail & ~words[last]);
    words[first] |= head;
    words[last] |= tail;
    for (int w = first + 1; w < last; ++w) {
        added |= ~words[w];
        words[w] = kAll;
    }
    return added;
}

std::uint64_t setBit(std::uint64_t* words, int index)
{
    const std::uint64_t bit = std::uint64_t{1} << (index & 63);
    const std::uint64_t added = bit & ~words[index >> 6];
    words[index >> 6] |= bit;
    return added;
}

// Coordinates here are clipped to the image, so plain conversions suffice; std::floor and
// std::ceil cost several instructions each on a processor baseline without SSE 4.1.
int floorInt(double value)
{
    const int whole = static_cast<int>(value);
    return whole - (value < whole);
}

int ceilInt(double value)
{
    const int whole = static_cast<int>(value);
    return whole + (value > whole);
}

// Liang-Barsky: cuts the segment to the box [0, w] x [0, h]; false when nothing is left.
bool clip(double& xa, double& ya, double& xb, double& yb, double w, double h)
{
    const double dx = xb - xa;
    const double dy = yb - ya;
    double enter = 0;
    double leave = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {xa, w - xa, ya, h - ya};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            enter = std::max(enter, r);
        else
            leave = std::min(leave, r);
    }
    if (enter > leave)
        return false;
    const double x0 = xa;
    const double y0 = ya;
    xa = x0 + enter * dx;
    ya = y0 + enter * dy;
    xb = x0 + leave * dx;
    yb = y0 + leave * dy;
    return true;
}

// A cut end point can land a hair outside the area (-8.9e-16, whose pixel would be -1) or
// beyond the segment's own end points; held to both, it lights nothing outside the area
// and nothing outside the box of the segment's end points.
double holdTo(double cut, double a, double b, double size)
{
    return std::clamp(std::clamp(cut, std::min(a, b), std::max(a, b)), 0.0, size);
}

// Runs along the major axis v (rows of a steep segment, columns of a flat one); u is the
// minor axis. Sets, for each minor index, the run of major indices whose centres the
// segment passes within it. The boundaries between runs advance by a constant step, so a
// run costs an addition, not a division.
// Hands a run on; false when setRun returns false: a look-up stops at the first unlit pixel.
template <typename SetRun> bool emit(SetRun& setRun, int u, int from, int to)
{
    if constexpr (std::is_void_v<std::invoke_result_t<SetRun&, int, int, int>>) {
        setRun(u, from, to);
        return true;
    } else {
        return setRun(u, from, to);
    }
}

template <typename SetRun>
void runs(double ua, double va, double ub, double vb, int uCount, int vCount, SetRun setRun)
{
    if (va > vb) {
        std::swap(ua, ub);
        std::swap(va, vb);
    }
    const int last = vCount - 1;
    const int first = ceilInt(va - 0.5);
    const int end = floorInt(vb - 0.5);
    if (first > end) {
        // Too short to pass a centre: light the pixel it lies in.
        const int u = std::clamp(floorInt(ua), 0, uCount - 1);
        const int w = std::clamp(floorInt(va), 0, last);
        emit(setRun, u, w, w);
        return;
    }
    int v = std::clamp(first, 0, last);
    const int vEnd = std::clamp(end, 0, last);
    // Most segments of a dense figure stay within one minor line: one run, no division.
    const int uFirst = floorInt(ua);
    const int uLast = floorInt(ub);
    if (uFirst == uLast) {
        emit(setRun, std::clamp(uFirst, 0, uCount - 1), v, vEnd);
        return;
    }
    // The fixed-point boundaries below drift by up to 2^-32 a step; the runs are held to
    // the minor lines of the end points so that the drift never lights a pixel beyond them.
    const int uLow = std::max(std::min(uFirst, uLast), 0);
    const int uHigh = std::min(std::max(uFirst, uLast), uCount - 1);
    const double slope = (ub - ua) / (vb - va);
    // Not zero: ua and ub lie in different minor lines.
    int column = std::clamp(floorInt(ua + (v + 0.5 - va) * slope), uLow, uHigh);
    // Run boundaries in 32.32 fixed point: the loop then needs no conversion from double.
    constexpr double kOne = 4294967296.0;
    constexpr std::int64_t kHalf = std::int64_t{1} << 31;
    constexpr std::int64_t kOneRow = std::int64_t{1} << 32;
    constexpr std::int64_t kBelowOne = kOneRow - 1;
    // A nearly parallel segment has boundaries far beyond the area; they are cut to just
    // beyond it so that the fixed-point values cannot overflow.
    const double beyond = vCount + 2.0;
    const double inverse = 1.0 / slope;
    // Where u leaves the current column: at column + 1 going right, at column going left.
    const double firstBoundary = va + ((slope > 0 ? column + 1 : column) - ua) * inverse;
    std::int64_t boundary =
        static_cast<std::int64_t>(std::clamp(firstBoundary, -beyond, beyond) * kOne);
    const std::int64_t step = static_cast<std::int64_t>(std::min(std::abs(inverse), beyond) * kOne);
    // Going right, a run ends on the last row whose centre lies before the boundary,
    // ceil(boundary - 0.5) - 1; going left, on the last one whose centre lies at or before it,
    // floor(boundary - 0.5). Both are the whole part of the boundary raised by a constant,
    // added once here. One loop for both directions: which one a segment takes is a coin
    // toss that a branch would guess wrong half of the time.
    const bool right = slope > 0;
    const int direction = right ? 1 : -1;
    boundary += right ? kBelowOne - kHalf - kOneRow : -kHalf;
    for (; v <= vEnd; column += direction, boundary += step) {
        const int boundaryRow = static_cast<int>(boundary >> 32);
        const int runEnd = std::clamp(boundaryRow, v, vEnd);
        if (!emit(setRun, std::clamp(column, uLow, uHigh), v, runEnd))
            return;
        v = runEnd + 1;
    }
}

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

// The runs of a segment in an area of width x height pixels: bit(column, row, steep) for the
// first end point's own pixel in the column bitmap, columnRun(column, from, to) for a steep
// segment's vertical runs, rowRun(row, from, to) for a flat one's horizontal runs. Returns
// false when nothing of the segment lies in the area; the end points, cut to the area, are
// left in xa .. yb.
template <typename Bit, typename ColumnRun, typename RowRun>
[[gnu::always_inline]] inline bool traceSegment(double& xa, double& ya, double& xb, double& yb,
                                                int width, int height, Bit bit, ColumnRun columnRun,
                                                RowRun rowRun)
{
    const bool inside = xa >= 0 && xa <= width && xb >= 0 && xb <= width && ya >= 0 &&
                        ya <= height && yb >= 0 && yb <= height;
    if (!inside) {
        const bool finite =
            std::isfinite(xa) && std::isfinite(ya) && std::isfinite(xb) && std::isfinite(yb);
        const double x0 = xa;
        const double y0 = ya;
        const double x1 = xb;
        const double y1 = yb;
        if (!finite || !clip(xa, ya, xb, yb, width, height))
            return false;
        xa = holdTo(xa, x0, x1, width);
        xb = holdTo(xb, x0, x1, width);
        ya = holdTo(ya, y0, y1, height);
        yb = holdTo(yb, y0, y1, height);
    }
    // The new point's own pixel, so that a figure's turning points are never left out.
    const bool steep = std::abs(yb - ya) >= std::abs(xb - xa);
    bit(std::min(floorInt(xa), width - 1), std::min(floorInt(ya), height - 1), steep);
    if (steep)
        runs(xa, ya, xb, yb, width, height, columnRun);
    else
        runs(ya, xa, yb, xb, height, width, rowRun);
    return true;
}

// The bits from..to of a line of words that are not set.
[[gnu::always_inline]] inline std::uint64_t missingBits(const std::uint64_t* words, int from,
                                                        int to)
{
    if (to - from < 64) {
        const std::uint64_t* at = words + (from >> 6);
        const ShortRun run = shortRun(from, to);
        return (run.first & ~loadShared(at[0])) | (run.second & ~loadShared(at[1]));
    }
    const int first = from >> 6;
    const int last = to >> 6;
    const std::uint64_t head = kAll << (from & 63);
    const std::uint64_t tail = kAll >> (63 - (to & 63));
    std::uint64_t missing = (head & ~loadShared(words[first])) | (tail & ~loadShared(words[last]));
    for (int w = first + 1; w < last; ++w)
        missing |= ~loadShared(words[w]);
    return missing;
}

// The bits of a segment set in column and row bitmaps of an area of width x height pixels: the
// bits that were not set before. The end points are left cut to the area. The first end's own
// pixel goes into the column bitmap, or, where kFirstWithRuns, into the bitmap of the segment's
// runs, whose words the runs touch next: a flat segment's column word lies far from its row
// words and is rarely in the cache.
template <bool kFirstWithRuns>
[[gnu::always_inline]] inline std::uint64_t lightInto(std::uint64_t* columns, std::uint64_t* rows,
                                                      int width, int height, double& xa, double& ya,
                                                      double& xb, double& yb)
{
    const std::size_t columnWords = RunBitmaps::wordsPerRow(height);
    const std::size_t rowWords = RunBitmaps::wordsPerRow(width);
    std::uint64_t added = 0;
    traceSegment(
        xa, ya, xb, yb, width, height,
        [columns, columnWords, rows, rowWords, &added](int x, int y, bool steep) {
            if (kFirstWithRuns && !steep)
                added |= setBit(rows + y * rowWords, x);
            else
                added |= setBit(columns + x * columnWords, y);
        },
        [columns, columnWords, &added](int c, int from, int to) {
            added |= setBits(columns + c * columnWords, from, to);
        },
        [rows, rowWords, &added](int r, int from, int to) {
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
    if (lightInto<true>(m_columns.data(), m_rows.data(), m_width, m_height, xa, ya, xb, yb) != 0) {
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
