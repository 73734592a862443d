#pragma once

#include "model/deflection.h"
#include "drawing.h"

#include <QImage>
#include <QRectF>
#include <QStringList>

#include <optional>

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
//
// Each kind of mark has its own sign, which begins the legend's line about it: ○ a touch
// point, ◐ the end of an open figure (counting half), ◇ a crossing of the y axis (±y₀), △ the
// highest point (y_max). A mark on the edge of the picture is moved in until it is whole.
// The legend never lies over the figure: it takes a band beside the figure's box (below,
// above, right or left) that holds it; where none does, as at the largest amplitudes, the
// picture has no room for it and the caller shows it beneath the picture or beside it.

// The legend's lines, rich text, for a figure of p shown with y growing up or down.
QStringList readingAidLegend(const Parameter& p, bool entryAccepted, bool yUp);

// Marks, and the legend where it fits; gives whether the legend fitted.
bool paintReadingAid(QPainter& painter, const PixelMapping& toPixels, const QRectF& area,
                     const Parameter& p, bool entryAccepted, double zoom, double lineWidth,
                     bool worksheet);

// Where the legend goes in area, clear of the figure of p and its marks, or nothing.
std::optional<QRectF> legendPlace(const QStringList& lines, const QRectF& area,
                                  const PixelMapping& toPixels, const Parameter& p, double zoom);

// The legend as a band of this width beneath a picture: its height, and painted into it.
double legendBandHeight(const QStringList& lines, double width, double zoom);
void paintLegendBand(QPainter& painter, const QRectF& band, const QStringList& lines, double zoom,
                     bool worksheet);

// A screen of side pixels showing the figure of p with its axes and the reading aid, as the
// program draws them, in the screen's orientation, the legend beneath it where it has no room
// beside the figure: the help's examples are made so, never drawn by hand.
QImage readingAidExample(const Parameter& p, double kgv, int side, bool yUp);

} // namespace korvelian
