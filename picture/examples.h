#pragma once

#include "model/deflection.h"
#include "scene/drawing.h"

#include <QImage>
#include <QSize>

namespace korvelian {

// The help's pictures, made as the program draws its own, never drawn by hand.

// A screen of side pixels with the axes and the figure of p over kgv x periods, in the frame
// the program sets.
QImage examplePicture(const Parameter& p, double kgv, int side, const RenderStyle& style);

// The same with the reading aid, in the screen's orientation, the legend beneath it where it
// has no room beside the figure.
QImage readingAidExample(const Parameter& p, double kgv, int side, bool yUp);

// The dimmed figure and the trace the beam leaves in the last second of a run at 100 frames a
// second up to t.
QImage afterglowExample(const Parameter& p, double kgv, double t, int side, bool yUp);

// The time signals of the figure with the beam at t, as the program draws them beside a
// screen in the example frame.
QImage timeSignalsExample(const Parameter& p, double kgv, double t, QSize size, bool yUp);

} // namespace korvelian
