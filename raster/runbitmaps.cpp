#include "runbitmaps.h"

#include "litrows.h"
#include "sharedwords.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace korvelian {

namespace {

// Sets bits from..to of a line of words that has one spare word at its end. Runs of a
// dense figure cover one or two words; those take no branch.
[[gnu::always_inline]] inline void setBits(std::uint64_t* words, int from, int to)
{
    constexpr std::uint64_t all = ~std::uint64_t{0};
    const int first = from >> 6;
    const int last = to >> 6;
    const std::uint64_t head = all << (from & 63);
    const std::uint64_t tail = all >> (63 - (to & 63));
    words[first] |= head & (first == last ? tail : all);
    words[first + 1] |= first + 1 == last ? tail : (first + 1 < last ? all : 0);
    if (last > first + 1) {
        for (int w = first + 2; w < last; ++w)
            words[w] = all;
        words[last] |= tail;
    }
}

void setBit(std::uint64_t* words, int index)
{
    words[index >> 6] |= std::uint64_t{1} << (index & 63);
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
        setRun(u, w, w);
        return;
    }
    int v = std::clamp(first, 0, last);
    const int vEnd = std::clamp(end, 0, last);
    // Most segments of a dense figure stay within one minor line: one run, no division.
    const int uFirst = floorInt(ua);
    const int uLast = floorInt(ub);
    if (uFirst == uLast) {
        setRun(std::clamp(uFirst, 0, uCount - 1), v, vEnd);
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
    constexpr std::int64_t kBelowOne = (std::int64_t{1} << 32) - 1;
    // A nearly parallel segment has boundaries far beyond the area; they are cut to just
    // beyond it so that the fixed-point values cannot overflow.
    const double beyond = vCount + 2.0;
    const double inverse = 1.0 / slope;
    // Where u leaves the current column: at column + 1 going right, at column going left.
    const double firstBoundary = va + ((slope > 0 ? column + 1 : column) - ua) * inverse;
    std::int64_t boundary =
        static_cast<std::int64_t>(std::clamp(firstBoundary, -beyond, beyond) * kOne);
    const std::int64_t step = static_cast<std::int64_t>(std::min(std::abs(inverse), beyond) * kOne);
    if (slope > 0) {
        // The last row whose centre lies before the boundary: ceil(boundary - 0.5) - 1.
        for (; v <= vEnd; ++column, boundary += step) {
            const int boundaryRow = static_cast<int>((boundary - kHalf + kBelowOne) >> 32) - 1;
            const int runEnd = std::clamp(boundaryRow, v, vEnd);
            setRun(std::min(column, uHigh), v, runEnd);
            v = runEnd + 1;
        }
    } else {
        // The last row whose centre lies at or before the boundary: floor(boundary - 0.5).
        for (; v <= vEnd; --column, boundary += step) {
            const int boundaryRow = static_cast<int>((boundary - kHalf) >> 32);
            const int runEnd = std::clamp(boundaryRow, v, vEnd);
            setRun(std::max(column, uLow), v, runEnd);
            v = runEnd + 1;
        }
    }
}

// Bit j of a[i] becomes bit i of a[j].
void transpose(std::array<std::uint64_t, 64>& a)
{
    std::uint64_t mask = 0x00000000FFFFFFFFull;
    for (int j = 32; j != 0; j >>= 1, mask ^= mask << j) {
        for (int k = 0; k < 64; k = ((k | j) + 1) & ~j) {
            const std::uint64_t swap = ((a[k] >> j) ^ a[k | j]) & mask;
            a[k] ^= swap << j;
            a[k | j] ^= swap;
        }
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
}

void RunBitmaps::segment(double xa, double ya, double xb, double yb)
{
    const bool inside = xa >= 0 && xa <= m_width && xb >= 0 && xb <= m_width && ya >= 0 &&
                        ya <= m_height && yb >= 0 && yb <= m_height;
    if (!inside) {
        const bool finite =
            std::isfinite(xa) && std::isfinite(ya) && std::isfinite(xb) && std::isfinite(yb);
        const double x0 = xa;
        const double y0 = ya;
        const double x1 = xb;
        const double y1 = yb;
        if (!finite || !clip(xa, ya, xb, yb, m_width, m_height))
            return;
        xa = holdTo(xa, x0, x1, m_width);
        xb = holdTo(xb, x0, x1, m_width);
        ya = holdTo(ya, y0, y1, m_height);
        yb = holdTo(yb, y0, y1, m_height);
    }
    // The new point's own pixel, so that a figure's turning points are never left out.
    const int px = std::min(floorInt(xa), m_width - 1);
    const int py = std::min(floorInt(ya), m_height - 1);
    setBit(m_columns.data() + px * m_columnWords, py);
    if (std::abs(yb - ya) >= std::abs(xb - xa)) {
        std::uint64_t* columns = m_columns.data();
        const std::size_t words = m_columnWords;
        runs(xa, ya, xb, yb, m_width, m_height,
             [columns, words](int c, int from, int to) { setBits(columns + c * words, from, to); });
    } else {
        std::uint64_t* rows = m_rows.data();
        const std::size_t words = m_rowWords;
        runs(ya, xa, yb, xb, m_height, m_width,
             [rows, words](int r, int from, int to) { setBits(rows + r * words, from, to); });
    }
}

void RunBitmaps::orRowsInto(std::uint64_t* words, const PixelBox& region) const
{
    const std::size_t firstWord = static_cast<std::size_t>(region.x0) / 64;
    const std::size_t lastWord = static_cast<std::size_t>(region.x1) / 64;
    for (std::size_t y = region.y0; y <= static_cast<std::size_t>(region.y1); ++y) {
        for (std::size_t w = firstWord; w <= lastWord; ++w)
            orShared(words[y * m_rowWords + w], m_rows[y * m_rowWords + w]);
    }
    // The column bitmap in squares of 64 x 64 pixels, turned into rows.
    std::array<std::uint64_t, 64> square;
    for (std::size_t x0 = firstWord * 64; x0 <= static_cast<std::size_t>(region.x1); x0 += 64) {
        const std::size_t columns = std::min<std::size_t>(64, m_width - x0);
        for (std::size_t w = region.y0 / 64; w <= static_cast<std::size_t>(region.y1) / 64; ++w) {
            std::uint64_t any = 0;
            for (std::size_t j = 0; j < columns; ++j) {
                square[j] = m_columns[(x0 + j) * m_columnWords + w];
                any |= square[j];
            }
            if (any == 0)
                continue;
            std::fill(square.begin() + columns, square.end(), 0);
            transpose(square);
            const std::size_t rows = std::min<std::size_t>(64, m_height - w * 64);
            for (std::size_t i = 0; i < rows; ++i)
                orShared(words[(w * 64 + i) * m_rowWords + x0 / 64], square[i]);
        }
    }
}

} // namespace korvelian
