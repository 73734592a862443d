#pragma once

#include "auslenkung.h"
#include "drawing.h"

#include <QRectF>

class QPainter;

namespace korvelian {

// The reading aid over a figure: marks where it touches the top and the right edge of its
// box and, for equal frequencies, where the ellipse crosses the y axis and where it is
// highest, with a legend of what they give. The numbers come from the formulas; this only
// draws them. scale is the width of a line in the painter's pixels.
void paintReadingAid(QPainter& painter, const PixelMapping& toPixels, const QRectF& area,
                     const Parameter& p, bool entryAccepted, double scale);

} // namespace korvelian
