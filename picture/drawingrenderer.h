#pragma once

#include "raster/widefigureraster.h"
#include "scene/drawing.h"

#include <QImage>

#include <span>

class QPainter;

namespace korvelian {

// Draws drawing operations onto an image at the image's device pixel ratio; logicalSize is
// the size of the picture area the frames of the operations span.
class DrawingRenderer
{
public:
    void render(QImage& image, QSizeF logicalSize, std::span<const DrawOp> ops,
                const RenderStyle& style);

private:
    void renderOp(QPainter& painter, QImage& image, QSizeF logicalSize, const DrawOp& op,
                  const RenderStyle& style);

    WideFigureRaster m_raster;
};

// How many points a figure is drawn with, as its fine curve or as the loop draws it.
std::size_t figurePointCount(const DrawOp& figure, bool fine);

// A figure with more points goes into a vector picture as an image: as a path it would make
// files and print jobs of tens of megabytes.
inline constexpr std::size_t kLargestVectorFigure = 200000;

// Draws operations onto target as lines and paths, as an SVG file or a printer keeps them:
// every figure one path, lines as wide as the style's zoom.
void paintVector(QPainter& painter, std::span<const DrawOp> ops, const QRectF& target,
                 const RenderStyle& style);

} // namespace korvelian
