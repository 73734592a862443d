#include "figurepoints.h"

#include "fastsine.h"
#include "loopvalues.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ranges>

namespace korvelian {

namespace {

// Points are computed in blocks small enough to stay in the first-level cache.
constexpr std::size_t kBlock = 512;

bool finiteAt(std::size_t i, const Parameter& p)
{
    const Point point = deflection(loopValue(i), p);
    return std::isfinite(point.x) && std::isfinite(point.y);
}

// The first of points [0, count) that is not finite, or count. x is finite at every point
// or at none (|sin| <= 1 cannot overflow a finite amplitude). y's argument
// ((t + p2) * z) / n grows in size with |t + p2|, which, once t + p2 >= 0, grows with t and
// before that stays below |p2|, the size at the first point; so if the first point is
// finite, finiteness changes at most once along the figure and a bisection finds where.
std::size_t firstNonFinite(const Parameter& p, std::size_t count)
{
    if (count == 0 || !finiteAt(0, p))
        return 0;
    const auto indices = std::views::iota(std::size_t{1}, count);
    return *std::ranges::partition_point(indices, [&p](std::size_t i) { return finiteAt(i, p); });
}

} // namespace

FigureRun figureRun(const Parameter& p, double end)
{
    const std::size_t points = loopCount(end);
    if (points == 0)
        return {};
    const std::size_t count = firstNonFinite(p, points);
    return {count, count > 0 ? loopValue(count - 1) : 0, loopValue(count), count < points};
}

void figurePoints(const Parameter& p, std::size_t first, std::size_t n, FloatPoint* out)
{
    figurePoints(p, LoopSteps{}, first, n, out);
}

void figurePoints(const Parameter& p, LoopSteps steps, std::size_t first, std::size_t n,
                  FloatPoint* out)
{
    std::array<double, kBlock> xs;
    std::array<double, kBlock> ys;
    for (std::size_t begin = 0; begin < n; begin += kBlock) {
        const std::size_t m = std::min(kBlock, n - begin);
        loopValues(steps, first + begin, m, xs.data());
        for (std::size_t i = 0; i < m; ++i) {
            ys[i] = yAngle(xs[i], p);
            xs[i] = xAngle(xs[i], p);
        }
        fastSines(xs.data(), xs.data(), m);
        fastSines(ys.data(), ys.data(), m);
        for (std::size_t i = 0; i < m; ++i)
            out[begin + i] = {static_cast<float>(xs[i] * p.amplitudeX),
                              static_cast<float>(ys[i] * p.amplitudeY)};
    }
}

FigureRun figurePoints(const Parameter& p, double end, std::vector<FloatPoint>& points)
{
    const FigureRun run = figureRun(p, end);
    if (points.size() < run.count)
        points.resize(run.count);
    figurePoints(p, 0, run.count, points.data());
    return run;
}

} // namespace korvelian
