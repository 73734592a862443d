#pragma once

#include "deflection.h"
#include "loopvalues.h"

#include <cstddef>
#include <vector>

namespace korvelian {

// A point handed to the drawing, in single precision.
struct FloatPoint
{
    float x;
    float y;
};

struct FigureRun
{
    // Points of the loop, all finite; the first non-finite point ends the figure.
    std::size_t count = 0;
    // The loop counter at the last point.
    double lastT = 0;
    // The loop counter at the first point not drawn: past the end, or at the point that
    // was not finite.
    double t = 0;
    bool stoppedAtNonFinite = false;
};

// What the loop for t = 0, 0.1, 0.2, ... while t <= end leaves behind, t accumulated by
// repeated addition exactly as the drawing loop counts (see loopvalues.h; end below 2^50).
// Computes no more than a few points: whether a point is finite follows from the
// parameters, since only a non-finite parameter or the y argument's overflow makes one.
FigureRun figureRun(const Parameter& p, double end);

// out[k] = point first + k of the figure for k < n, in single precision, the sines from
// fastSines. The points must lie before the run's count.
void figurePoints(const Parameter& p, std::size_t first, std::size_t n, FloatPoint* out);
// The same at other steps of t.
void figurePoints(const Parameter& p, LoopSteps steps, std::size_t first, std::size_t n,
                  FloatPoint* out);

// figureRun(p, end) with its points in points[0 .. count), the vector grown as needed.
FigureRun figurePoints(const Parameter& p, double end, std::vector<FloatPoint>& points);

} // namespace korvelian
