#pragma once

#include "auslenkung.h"
#include "drawing.h"

#include <QImage>
#include <QRectF>

class QPainter;

namespace korvelian {

// The reading aid over a figure: marks where it touches the top and the right edge of its
// box and, for equal frequencies, where the ellipse crosses the y axis and where it is
// highest, with a legend of what they give. The numbers come from the formulas; this only
// draws them. zoom is the picture's size against the screen at 100 %, which the marks and the
// legend follow; lineWidth is the width of a line in the painter's pixels, which grows in
// whole pixels like the figure's on the screen. On a worksheet the marks are darker and the
// legend lies on white. The mapping's direction of y tells which edge of the figure is shown
// on top.
void paintReadingAid(QPainter& painter, const PixelMapping& toPixels, const QRectF& area,
                     const Parameter& p, bool entryAccepted, double zoom, double lineWidth,
                     bool worksheet);

// A screen of side pixels showing the figure of p with its axes and the reading aid, as the
// program draws them, in the screen's orientation: the help's examples are made so, never
// drawn by hand.
QImage readingAidExample(const Parameter& p, double kgv, int side, bool yUp);

} // namespace korvelian
