#include "segmentraster.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <thread>
#include <utility>

namespace korvelian {

namespace {

// Below this a second thread costs more than it saves.
constexpr std::size_t kParallelFrom = 4000;

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

// Calls visit(line, index) for every set bit of a bitmap of lines of wordsPerLine words.
template <typename Visit>
void forEachBit(const std::vector<std::uint64_t>& bits, std::size_t wordsPerLine, Visit visit)
{
    for (std::size_t w = 0; w < bits.size(); ++w) {
        std::uint64_t word = bits[w];
        const int line = static_cast<int>(w / wordsPerLine);
        const int base = static_cast<int>((w % wordsPerLine) * 64);
        while (word) {
            visit(line, base + std::countr_zero(word));
            word &= word - 1;
        }
    }
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
    if (uFirst == floorInt(ub)) {
        setRun(std::clamp(uFirst, 0, uCount - 1), v, vEnd);
        return;
    }
    const double slope = (ub - ua) / (vb - va);
    // Not zero: ua and ub lie in different minor lines.
    int column = std::clamp(floorInt(ua + (v + 0.5 - va) * slope), 0, uCount - 1);
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
            setRun(std::min(column, uCount - 1), v, runEnd);
            v = runEnd + 1;
        }
    } else {
        // The last row whose centre lies at or before the boundary: floor(boundary - 0.5).
        for (; v <= vEnd; --column, boundary += step) {
            const int boundaryRow = static_cast<int>((boundary - kHalf) >> 32);
            const int runEnd = std::clamp(boundaryRow, v, vEnd);
            setRun(std::max(column, 0), v, runEnd);
            v = runEnd + 1;
        }
    }
}

} // namespace

void SegmentRaster::segment(Bitmaps& bitmaps, double xa, double ya, double xb, double yb) const
{
    const bool inside = xa >= 0 && xa <= m_width && xb >= 0 && xb <= m_width && ya >= 0 &&
                        ya <= m_height && yb >= 0 && yb <= m_height;
    if (!inside) {
        const bool finite =
            std::isfinite(xa) && std::isfinite(ya) && std::isfinite(xb) && std::isfinite(yb);
        if (!finite || !clip(xa, ya, xb, yb, m_width, m_height))
            return;
    }
    // The new point's own pixel, so that a figure's turning points are never left out.
    const int px = std::min(floorInt(xa), m_width - 1);
    const int py = std::min(floorInt(ya), m_height - 1);
    setBit(bitmaps.columns.data() + px * m_columnWords, py);
    if (std::abs(yb - ya) >= std::abs(xb - xa)) {
        std::uint64_t* columns = bitmaps.columns.data();
        const std::size_t words = m_columnWords;
        runs(xa, ya, xb, yb, m_width, m_height,
             [columns, words](int c, int from, int to) { setBits(columns + c * words, from, to); });
    } else {
        std::uint64_t* rows = bitmaps.rows.data();
        const std::size_t words = m_rowWords;
        runs(ya, xa, yb, xb, m_height, m_width,
             [rows, words](int r, int from, int to) { setBits(rows + r * words, from, to); });
    }
}

void SegmentRaster::rasterise(Bitmaps& bitmaps, std::span<const FloatPoint> points,
                              const Transform& t) const
{
    bitmaps.columns.assign(m_columnWords * m_width, 0);
    bitmaps.rows.assign(m_rowWords * m_height, 0);
    // Each point is mapped once and serves as the end of one segment and the start of the next.
    double previousX = points[0].x * t.scaleX + t.offsetX;
    double previousY = points[0].y * t.scaleY + t.offsetY;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double x = points[i].x * t.scaleX + t.offsetX;
        const double y = points[i].y * t.scaleY + t.offsetY;
        segment(bitmaps, x, y, previousX, previousY);
        previousX = x;
        previousY = y;
    }
}

void SegmentRaster::draw(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
                         std::span<const FloatPoint> points, const Transform& transform,
                         std::uint32_t colour)
{
    if (width <= 0 || height <= 0 || points.size() < 2)
        return;
    m_width = width;
    m_height = height;
    m_columnWords = (static_cast<std::size_t>(height) + 63) / 64 + 1;
    m_rowWords = (static_cast<std::size_t>(width) + 63) / 64 + 1;

    const bool parallel = points.size() >= kParallelFrom;
    if (parallel) {
        // The halves share the middle point, so every segment is drawn exactly once.
        const std::size_t middle = points.size() / 2;
        std::thread second([&] { rasterise(m_bitmaps[1], points.subspan(middle), transform); });
        rasterise(m_bitmaps[0], points.first(middle + 1), transform);
        second.join();
    } else {
        rasterise(m_bitmaps[0], points, transform);
    }

    // Only lit bits are visited: a sparse figure costs little here.
    const int maps = parallel ? 2 : 1;
    for (int m = 0; m < maps; ++m) {
        forEachBit(m_bitmaps[m].columns, m_columnWords,
                   [&](int x, int y) { pixels[y * stride + x] = colour; });
        forEachBit(m_bitmaps[m].rows, m_rowWords,
                   [&](int y, int x) { pixels[y * stride + x] = colour; });
    }
}

} // namespace korvelian
