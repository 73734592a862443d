#pragma once

#include "model/deflection.h"
#include "raster/pixelmapping.h"

#include <QColor>
#include <QRectF>
#include <QSizeF>

#include <vector>

namespace korvelian {

// A picture area's user frame: (x1, y1) is its top-left corner, (x2, y2) its bottom-right
// one. Before a frame is set an area is addressed in twips.
struct UserFrame
{
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;

    bool isSet() const { return x1 != x2; }
};

// Maps a frame onto an area of this size; pixelsPerTwip serves an area without a frame.
// yUp mirrors the picture top to bottom, as an oscilloscope shows it: this is the one place
// where the screen's orientation acts, so whatever reaches pixels through a mapping (the
// drawing, the overlays, the reading aid, copies and prints) follows it without knowing of it.
PixelMapping pixelMapping(const UserFrame& frame, QSizeF size, double pixelsPerTwip, bool yUp);
// A point through a mapping, kept far outside any image but within the raster's range.
QPointF mapPoint(const PixelMapping& m, double x, double y);

// One drawing operation, kept with the frame it was given in, so that the drawing can be
// made again at another size or device pixel ratio.
struct DrawOp
{
    enum class Kind { Segment, Box, Figure };
    Kind kind = Kind::Segment;
    UserFrame frame;
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    QColor colour;
    // A figure: what defines its points.
    Parameter parameters;
    double end = 0;
};

// Everything drawn on a picture area since it was last cleared.
using Drawing = std::vector<DrawOp>;

// The figure drawn last, or nullptr.
const DrawOp* lastFigure(const Drawing& drawing);

} // namespace korvelian
