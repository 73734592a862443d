#pragma once

#include "drawing.h"
#include "model/deflection.h"
#include "scene.h"

#include <string>
#include <vector>

namespace korvelian {

class TextMetrics;

// The values the figure is drawn with, written on the screen large enough to read from the
// back of a classroom: the frequency ratio, both amplitudes, both phases in degrees and, where
// numerator and denominator differ, the y oscillation's own phase. They stand beside the
// figure's box, never over it, where the box leaves room.

// The lines as rich text, in reading order. A refused entry leaves the figure at the last
// accepted ratio, and the ratio's line says so.
std::vector<std::string> valueLines(const Parameter& p, bool entryAccepted);

// The font for an area this high: capital letters at least 3 % of it, and at least
// minimumCap pixels (a presentation asks for letters a room can read).
Font valueFont(TextMetrics& metrics, double areaHeight, double minimumCap = 0);

struct ValueLayout
{
    std::vector<RectF> lines;
    // No room beside the box: the lines stand over it, on a ground that dims the figure.
    bool overBox = false;
};
// Where lines of these sizes go in the area, outside the box when they fit anywhere around
// it: above it one beneath the other or side by side, else left of it, never over what is
// taken (the reading aid's legend). margin keeps them off the edges and the box.
ValueLayout placeValues(const std::vector<SizeF>& sizes, const RectF& area, const RectF& box,
                        double margin, const RectF& taken = {});

// The values of p over the area on their ground, beside what is taken; toPixels maps the
// figure's frame onto it; capital letters at least minimumCap pixels high.
void describeValues(Scene& scene, TextMetrics& metrics, const PixelMapping& toPixels,
                    const RectF& area, const Parameter& p, bool entryAccepted, Colour ground,
                    bool worksheet, const RectF& taken = {}, double minimumCap = 0);

} // namespace korvelian
