#pragma once

#include "model/deflection.h"
#include "model/loopvalues.h"
#include "pixelbox.h"
#include "pixelmapping.h"

#include <algorithm>
#include <cstddef>

namespace korvelian {

// Where a figure's segments can light pixels, found from the sines' bounds alone, before a
// point is computed.

struct Interval
{
    double low = 0;
    double high = 0;
};

// The pixels that segments with coordinates in r can light along an axis of size pixels:
// a cut segment's coordinates are held to [0, size] (see RunBitmaps).
inline void pixelSpan(Interval r, int size, int& first, int& last)
{
    if (!(r.low <= r.high)) {
        first = 0;
        last = size - 1;
        return;
    }
    first = std::min(static_cast<int>(std::clamp(r.low, 0.0, double(size))), size - 1);
    last = std::min(static_cast<int>(std::clamp(r.high, 0.0, double(size))), size - 1);
}

// The box of every pixel that the segments between points first and last of figurePoints(p,
// steps, ...) can light in an area of width x height pixels.
PixelBox segmentsBox(const Parameter& p, const PixelMapping& transform, int width, int height,
                     std::size_t first, std::size_t last, LoopSteps steps = {});

// An extreme line of one axis: the pixel that amplitude * sine lands in at the sine's crest
// (+1) or trough (-1), when the sine lands there only within reach radians of it. Where that
// pixel's edge falls exactly on the extreme coordinate, the line is lit only where a point
// comes that close, so a box that holds it is rarely lit all over.
struct Extreme
{
    int pixel = -1; // none
    double centre = 0;
    double reach = 0;
};

// The extreme line at crest (+1 or -1) along an axis of size pixels mapped by scale and
// offset, or none where the sine reaches it too far from its crest for a look to pay.
Extreme extremeLine(double amplitude, double crest, double scale, double offset, int size);

// The pixels along an axis from the one that the sine's crest (+1) or trough (-1) lands in
// to `depth` pixels inwards: amplitude * sine lands in them only within reach radians of the
// crest. pixel is the innermost of them, and below tells that they are the pixels up to it
// rather than those from it on. None where the sine's centre lands within them too, or they
// reach too far round the circle for a look to pay.
struct Zone
{
    int pixel = -1; // none
    bool below = false;
    double centre = 0;
    double reach = 0;
};
Zone crestZone(double amplitude, double crest, double scale, double offset, int size, int depth);

} // namespace korvelian
