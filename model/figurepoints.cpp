#include "figurepoints.h"

#include "constants.h"
#include "fastsine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <thread>

namespace korvelian {

namespace {

// Points are computed in blocks small enough to stay in the first-level cache.
constexpr std::size_t kBlock = 512;
// Below this a second thread costs more than it saves.
constexpr std::size_t kParallelFrom = 40000;

struct Range
{
    std::size_t end = 0;    // one past the last point computed
    double lastT = 0;       // t of the last point computed
    double t = 0;           // t of the point at end
    bool nonFinite = false; // the point at end exists but is not finite
};

// Computes points from index first on, t being the loop value there, while t <= end and
// below index limit. Only the chain of additions is serial; the rest is vector code.
Range computeRange(const Parameter& p, double t, double end, std::size_t first, std::size_t limit,
                   FloatPoint* out)
{
    std::array<double, kBlock> ts;
    std::array<double, kBlock> xs;
    std::array<double, kBlock> ys;
    Range range{first, 0, t, false};
    for (std::size_t begin = first; begin < limit;) {
        std::size_t n = 0;
        const std::size_t room = std::min(kBlock, limit - begin);
        while (n < room && t <= end) {
            ts[n++] = t;
            t += kLoopStep;
        }
        for (std::size_t i = 0; i < n; ++i) {
            xs[i] = ts[i] + p.p1;
            ys[i] = ((ts[i] + p.p2) * p.z) / p.n;
        }
        fastSines(xs.data(), xs.data(), n);
        fastSines(ys.data(), ys.data(), n);
        bool bad = false;
        for (std::size_t i = 0; i < n; ++i) {
            xs[i] *= p.a1;
            ys[i] *= p.a2;
            bad |= !(std::abs(xs[i]) <= std::numeric_limits<double>::max()) |
                   !(std::abs(ys[i]) <= std::numeric_limits<double>::max());
        }
        if (bad) {
            for (std::size_t i = 0; i < n; ++i) {
                if (!std::isfinite(xs[i]) || !std::isfinite(ys[i]))
                    return {begin + i, i > 0 ? ts[i - 1] : range.lastT, ts[i], true};
            }
        }
        for (std::size_t i = 0; i < n; ++i)
            out[begin + i] = {static_cast<float>(xs[i]), static_cast<float>(ys[i])};
        if (n > 0)
            range = {begin + n, ts[n - 1], t, false};
        if (n < room)
            break;
        begin += n;
    }
    return range;
}

} // namespace

FigureRun figurePoints(const Parameter& p, double end, std::vector<FloatPoint>& points)
{
    if (!(end >= 0))
        return {0, 0, 0, false};
    // The accumulated t drifts from i * 0.1 by far less than a step, so this bounds the count.
    const std::size_t bound = static_cast<std::size_t>(end / kLoopStep) + 3;
    if (points.size() < bound)
        points.resize(bound);

    Range range;
    if (bound < kParallelFrom) {
        range = computeRange(p, 0, end, 0, bound, points.data());
    } else {
        // The second half finds its first t by the same additions the first half makes.
        const std::size_t middle = bound / 2;
        Range second;
        std::thread worker([&] {
            double t = 0;
            for (std::size_t i = 0; i < middle; ++i)
                t += kLoopStep;
            second = computeRange(p, t, end, middle, bound, points.data());
        });
        range = computeRange(p, 0, end, 0, middle, points.data());
        worker.join();
        if (range.end == middle && !range.nonFinite && second.end > middle)
            range = second;
        else if (range.end == middle && !range.nonFinite)
            range.nonFinite = second.nonFinite;
    }
    return {range.end, range.lastT, range.t, range.nonFinite};
}

} // namespace korvelian
