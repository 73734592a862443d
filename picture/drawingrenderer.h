#pragma once

#include "changedtiles.h"
#include "raster/drawlimits.h"
#include "raster/widefigureraster.h"
#include "scene/drawing.h"

#include <QImage>
#include <QRect>

#include <optional>
#include <span>

class QPainter;

namespace korvelian {

class ScenePainter;
struct ScreenPicture;

// Draws drawing operations onto an image at the image's device pixel ratio; logicalSize is
// the size of the picture area the frames of the operations span. The limits apply to each
// figure (a preview, a drawing that a newer request ends early); false when they ended one
// early, the image then incomplete.
class DrawingRenderer
{
public:
    bool render(QImage& image, QSizeF logicalSize, std::span<const DrawOp> ops,
                const RenderStyle& style, const DrawLimits& limits = {});

private:
    bool renderOp(QPainter& painter, QImage& image, QSizeF logicalSize, const DrawOp& op,
                  const RenderStyle& style, const DrawLimits& limits);

    WideFigureRaster m_raster;
};

// Paints a segment or a box of a drawing as DrawingRenderer does (a figure is left out): the
// painter works in logical pixels of a picture area of logicalSize.
void paintShapeOp(QPainter& painter, QSizeF logicalSize, const DrawOp& op,
                  const RenderStyle& style);

// A picture area's image of its picture, made afresh: the ground, what lies beneath the drawing
// and the drawing, over the picture's size at the image's device pixel ratio; the trace and the
// readings are painted over it where it is shown. False when the limits ended it early.
// The operations the screen shows of these: all of them, or, while the class predicts the
// figure, those without it, copied into kept.
std::span<const DrawOp> shownOps(const ScreenPicture& picture, std::span<const DrawOp> ops,
                                 Drawing& kept);
bool renderAreaImage(QImage& image, const ScreenPicture& picture, DrawingRenderer& renderer,
                     ScenePainter& scenePainter, const DrawLimits& limits = {});

// The tiles of side tile where area images (renderAreaImage) of two pictures, drawn at one
// device size and ratio, can differ; none where they may differ anywhere (another ground, size
// or style). Each operation that is not the same in both counts in either: a figure along its
// line, or within its amplitudes where it has too many points to follow, so that a step of a
// drifting phase compares where the figure lies and not the whole screen. A preview's
// figures are drawn in part: an image that is not complete counts every figure.
std::optional<TileMask> differingTiles(const ScreenPicture& earlier, bool earlierComplete,
                                       const ScreenPicture& later, bool laterComplete,
                                       QSize deviceSize, qreal ratio, int tile);

// Draws operations onto target as lines and paths, as an SVG file or a printer keeps them:
// every figure one path, lines as wide as the style's zoom.
void paintVector(QPainter& painter, std::span<const DrawOp> ops, const QRectF& target,
                 const RenderStyle& style);

} // namespace korvelian
