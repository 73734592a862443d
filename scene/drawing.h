#pragma once

#include "geometry.h"
#include "model/constants.h"
#include "model/deflection.h"
#include "model/palette.h"
#include "raster/pixelmapping.h"

#include <cstddef>
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
PixelMapping pixelMapping(const UserFrame& frame, SizeF size, double pixelsPerTwip, bool yUp);
// A point through a mapping, kept far outside any image but within the raster's range.
PointF mapPoint(const PixelMapping& m, double x, double y);

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
    Colour colour = 0;
    // A figure: what defines its points.
    Parameter parameters;
    double end = 0;
};

// Everything drawn on a picture area since it was last cleared.
using Drawing = std::vector<DrawOp>;

// The figure drawn last, or nullptr.
const DrawOp* lastFigure(const Drawing& drawing);

// How a drawing is made into pixels. The zoom sets the line width and how twips map to
// pixels in an area without a frame; worksheet colours (black figure, grey axes on white)
// replace the screen's for copies, files and prints; yUp shows the frame's y growing upward,
// the picture mirrored top to bottom (see pixelMapping). A dimmed figure lies beneath the
// beam's afterglow. fine draws a figure as its fine curve ("Feine Kurve", see fineCurve).
struct RenderStyle
{
    double zoom = 1;
    bool worksheet = false;
    bool yUp = false;
    bool dimmedFigure = false;
    bool fine = false;
};

// How many points a figure is drawn with, as its fine curve or as the loop draws it.
std::size_t figurePointCount(const DrawOp& figure, bool fine);

// A figure with more points goes into a vector picture as an image: as a path it would make
// files and print jobs of tens of megabytes.
inline constexpr std::size_t kLargestVectorFigure = 200000;

// The colour an operation is drawn in under a style.
Colour renderColour(const DrawOp& op, const RenderStyle& style);

// Pixel = user coordinate * scale + offset on an image of this logical size and ratio.
PixelMapping imageMapping(const UserFrame& frame, SizeF logicalSize, const RenderStyle& style,
                          double ratio);

// The screen's picture of p as the figure plotter draws it: the two axes and the figure up to
// end, in the screen's frame.
Drawing screenDrawing(const Parameter& p, double end);
inline constexpr UserFrame kExampleFrame{-kScreenEdge, -kScreenEdge, kScreenEdge, kScreenEdge};

} // namespace korvelian
