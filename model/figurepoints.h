#pragma once

#include "auslenkung.h"

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
    // Points computed, all finite; the first non-finite point ends the figure.
    std::size_t count = 0;
    // The loop counter at the last point computed.
    double lastT = 0;
    // The loop counter at the first point not computed: past the end, or at the point
    // that was not finite.
    double t = 0;
    bool stoppedAtNonFinite = false;
};

// The points of a figure for t = 0, 0.1, 0.2, ... while t <= end, t accumulated by
// repeated addition exactly as the drawing loop counts. The sines come from fastSines and
// both processor cores share the work; points[0 .. count) are written.
FigureRun figurePoints(const Parameter& p, double end, std::vector<FloatPoint>& points);

} // namespace korvelian
