#include "drawingrenderer.h"

#include "model/constants.h"
#include "model/figurepoints.h"
#include "form/layout.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvelian {

namespace {

// An image of a large figure in a file or on paper is at most this many pixels wide.
constexpr int kLargestFigureImage = 4096;

} // namespace

QColor renderColour(const DrawOp& op, const RenderStyle& style)
{
    if (style.dimmedFigure && op.kind == DrawOp::Kind::Figure) {
        const QColor full = renderColour(op, {style.zoom, style.worksheet, false});
        // Towards the background: black on the screen, white on a worksheet.
        const int ground = style.worksheet ? 255 : 0;
        auto dim = [ground](int c) {
            return static_cast<int>(std::lround(ground + (c - ground) * kDimmedShare));
        };
        return QColor(dim(full.red()), dim(full.green()), dim(full.blue()));
    }
    if (!style.worksheet)
        return op.colour;
    switch (op.kind) {
    case DrawOp::Kind::Segment:
        return kWorksheetAxes;
    case DrawOp::Kind::Figure:
        return kWorksheetFigure;
    case DrawOp::Kind::Box:
        break;
    }
    return op.colour;
}

PixelMapping imageMapping(const UserFrame& frame, QSizeF logicalSize, const RenderStyle& style,
                          double ratio)
{
    PixelMapping m = pixelMapping(frame, logicalSize, style.zoom / kTwipsPerPixel, style.yUp);
    m.scaleX *= ratio;
    m.offsetX *= ratio;
    m.scaleY *= ratio;
    m.offsetY *= ratio;
    return m;
}

Drawing screenDrawing(const Parameter& p, double end)
{
    const QColor axes(150, 150, 255);
    return {
        {DrawOp::Kind::Segment, kExampleFrame, -2, 0, 2, 0, axes, {}, 0},
        {DrawOp::Kind::Segment, kExampleFrame, 0, -2, 0, 2, axes, {}, 0},
        {DrawOp::Kind::Figure, kExampleFrame, 0, 0, 0, 0, Qt::white, p, end},
    };
}

QImage examplePicture(const Parameter& p, double kgv, int side, const RenderStyle& style)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::black);
    DrawingRenderer renderer;
    renderer.render(image, QSizeF(image.size()), screenDrawing(p, loopEnd(kgv)), style);
    return image;
}

void DrawingRenderer::render(QImage& image, QSizeF logicalSize, std::span<const DrawOp> ops,
                             const RenderStyle& style)
{
    if (ops.empty())
        return;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const DrawOp& op : ops)
        renderOp(painter, image, logicalSize, op, style);
}

void DrawingRenderer::renderOp(QPainter& painter, QImage& image, QSizeF logicalSize,
                               const DrawOp& op, const RenderStyle& style)
{
    // The painter works in logical pixels on an image at the device ratio; the runs of a
    // figure are set in device pixels.
    const PixelMapping logical = imageMapping(op.frame, logicalSize, style, 1.0);
    const QColor colour = renderColour(op, style);
    const int lineWidth = linePixels(style.zoom);
    switch (op.kind) {
    case DrawOp::Kind::Segment: {
        QPen pen(colour, lineWidth);
        // A cosmetic pen is as wide in device pixels at any ratio and keeps the fast path.
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawLine(QLineF(mapPoint(logical, op.x1, op.y1), mapPoint(logical, op.x2, op.y2)));
        break;
    }
    case DrawOp::Kind::Box: {
        const QRectF box = QRectF(mapPoint(logical, op.x1, op.y1), mapPoint(logical, op.x2, op.y2));
        painter.fillRect(box.normalized().intersected(QRectF(QPointF(0, 0), logicalSize)), colour);
        break;
    }
    case DrawOp::Kind::Figure: {
        const PixelMapping device =
            imageMapping(op.frame, logicalSize, style, image.devicePixelRatio());
        painter.end();
        auto* pixels = reinterpret_cast<std::uint32_t*>(image.bits());
        m_raster.draw(pixels, image.width(), image.height(), image.bytesPerLine() / 4,
                      op.parameters, op.end, device, colour.rgb(), lineWidth);
        painter.begin(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        break;
    }
    }
}

void paintVector(QPainter& painter, std::span<const DrawOp> ops, const QRectF& target,
                 const RenderStyle& style)
{
    std::vector<FloatPoint> points;
    painter.save();
    painter.setClipRect(target);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const DrawOp& op : ops) {
        PixelMapping m =
            pixelMapping(op.frame, target.size(), style.zoom / kTwipsPerPixel, style.yUp);
        m.offsetX += target.left();
        m.offsetY += target.top();
        const QColor colour = renderColour(op, style);
        painter.setPen(QPen(colour, style.zoom, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        switch (op.kind) {
        case DrawOp::Kind::Segment:
            painter.drawLine(QLineF(mapPoint(m, op.x1, op.y1), mapPoint(m, op.x2, op.y2)));
            break;
        case DrawOp::Kind::Box:
            painter.fillRect(QRectF(mapPoint(m, op.x1, op.y1), mapPoint(m, op.x2, op.y2)), colour);
            break;
        case DrawOp::Kind::Figure: {
            const std::size_t count = figurePoints(op.parameters, op.end, points).count;
            if (count > kLargestVectorFigure) {
                const int side =
                    std::min(static_cast<int>(std::ceil(target.width())), kLargestFigureImage);
                const int height = std::max(
                    1, static_cast<int>(std::lround(side * target.height() / target.width())));
                QImage figure(side, height, QImage::Format_ARGB32_Premultiplied);
                figure.fill(Qt::transparent);
                DrawingRenderer renderer;
                // The image's own zoom, the style's colours and orientation.
                RenderStyle imageStyle = style;
                imageStyle.zoom = style.zoom * side / target.width();
                renderer.render(figure, QSizeF(figure.size()), std::span(&op, 1), imageStyle);
                painter.drawImage(target, figure);
                break;
            }
            if (count == 0)
                break;
            QPainterPath path(mapPoint(m, points[0].x, points[0].y));
            for (std::size_t i = 1; i < count; ++i)
                path.lineTo(mapPoint(m, points[i].x, points[i].y));
            painter.drawPath(path);
            break;
        }
        }
    }
    painter.restore();
}

} // namespace korvelian
