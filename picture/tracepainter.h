#pragma once

#include "afterglow.h"
#include "drawing.h"

class QImage;
class QPainter;

namespace korvelian {

// The beam's afterglow over the dimmed figure: each piece of the trace as bright as the time
// since the beam passed leaves it, white on the screen, black on a worksheet. width is the
// width of the trace in the painter's pixels.
void paintTrace(QPainter& painter, const PixelMapping& toPixels, const AfterglowTrace& trace,
                double width, bool worksheet);

// A screen of side pixels with the dimmed figure of p and the trace the beam leaves in the
// last second of a run at 100 frames a second up to t, as the program draws them: the help's
// example is made so.
QImage afterglowExample(const Parameter& p, double kgv, double t, int side, bool yUp);

} // namespace korvelian
