#pragma once

#include "model/constants.h"
#include "drawing.h"
#include "raster/widefigureraster.h"

#include <QImage>

#include <span>

class QPainter;

namespace korvelian {

// How a drawing is made into pixels. The zoom sets the line width and how twips map to
// pixels in an area without a frame; worksheet colours (black figure, grey axes on white)
// replace the screen's for copies, files and prints; yUp shows the frame's y growing upward,
// the picture mirrored top to bottom (see pixelMapping). A dimmed figure lies beneath the
// beam's afterglow.
struct RenderStyle
{
    double zoom = 1;
    bool worksheet = false;
    bool yUp = false;
    bool dimmedFigure = false;
};

inline const QColor kWorksheetBackground = Qt::white;
inline const QColor kWorksheetAxes = QColor(128, 128, 128);
inline const QColor kWorksheetFigure = Qt::black;
// The dimmed figure keeps this share of its colour, on white of its darkness.
inline constexpr double kDimmedShare = 0.35;

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

// A figure with more points goes into a vector picture as an image: as a path it would make
// files and print jobs of tens of megabytes.
inline constexpr std::size_t kLargestVectorFigure = 200000;

// Draws operations onto target as lines and paths, as an SVG file or a printer keeps them:
// every figure one path, lines as wide as the style's zoom.
void paintVector(QPainter& painter, std::span<const DrawOp> ops, const QRectF& target,
                 const RenderStyle& style);

// The colour an operation is drawn in under a style.
QColor renderColour(const DrawOp& op, const RenderStyle& style);

// The screen's picture of p as the figure plotter draws it: the two axes and the figure up to
// end, in the screen's frame.
Drawing screenDrawing(const Parameter& p, double end);
// A screen of side pixels with the axes and the figure of p over kgv x periods, in the frame
// the program sets: the help's examples are made so, never drawn by hand.
QImage examplePicture(const Parameter& p, double kgv, int side, const RenderStyle& style);
inline constexpr UserFrame kExampleFrame{-kScreenEdge, -kScreenEdge, kScreenEdge, kScreenEdge};

// Pixel = user coordinate * scale + offset on an image of this logical size and ratio.
PixelMapping imageMapping(const UserFrame& frame, QSizeF logicalSize, const RenderStyle& style,
                          double ratio);

} // namespace korvelian
