#include "drawingrenderer.h"

#include "model/constants.h"
#include "model/figurepoints.h"
#include "model/finecurve.h"
#include "form/pixels.h"
#include "scene/screenpicture.h"
#include "scenepainter.h"

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

bool DrawingRenderer::render(QImage& image, QSizeF logicalSize, std::span<const DrawOp> ops,
                             const RenderStyle& style, const DrawLimits& limits)
{
    if (ops.empty())
        return true;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const DrawOp& op : ops) {
        if (!renderOp(painter, image, logicalSize, op, style, limits))
            return false;
    }
    return true;
}

void paintShapeOp(QPainter& painter, QSizeF logicalSize, const DrawOp& op, const RenderStyle& style)
{
    const SizeF size{logicalSize.width(), logicalSize.height()};
    const PixelMapping logical = imageMapping(op.frame, size, style, 1.0);
    const QColor colour = toQColor(renderColour(op, style));
    if (op.kind == DrawOp::Kind::Segment) {
        QPen pen(colour, linePixels(style.zoom));
        // A cosmetic pen is as wide in device pixels at any ratio and keeps the fast path.
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawLine(
            QLineF(toQt(mapPoint(logical, op.x1, op.y1)), toQt(mapPoint(logical, op.x2, op.y2))));
    } else if (op.kind == DrawOp::Kind::Box) {
        const QRectF box =
            QRectF(toQt(mapPoint(logical, op.x1, op.y1)), toQt(mapPoint(logical, op.x2, op.y2)));
        painter.fillRect(box.normalized().intersected(QRectF(QPointF(0, 0), logicalSize)), colour);
    }
}

bool DrawingRenderer::renderOp(QPainter& painter, QImage& image, QSizeF logicalSize,
                               const DrawOp& op, const RenderStyle& style, const DrawLimits& limits)
{
    if (op.kind != DrawOp::Kind::Figure) {
        paintShapeOp(painter, logicalSize, op, style);
        return true;
    }
    // The painter works in logical pixels on an image at the device ratio; the runs of a
    // figure are set in device pixels.
    const SizeF size{logicalSize.width(), logicalSize.height()};
    const PixelMapping device = imageMapping(op.frame, size, style, image.devicePixelRatio());
    painter.end();
    auto* pixels = reinterpret_cast<std::uint32_t*>(image.bits());
    if (!m_raster.draw(pixels, image.width(), image.height(), image.bytesPerLine() / 4,
                       op.parameters, op.end, device, toQColor(renderColour(op, style)).rgb(),
                       linePixels(style.zoom), style.fine, limits))
        return false;
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    return true;
}

bool renderAreaImage(QImage& image, const ScreenPicture& picture, DrawingRenderer& renderer,
                     ScenePainter& scenePainter, const DrawLimits& limits)
{
    image.fill(toQColor(picture.background));
    // One device pixel at 100 %, as the axes are drawn, whatever the ratio.
    Scene underlay;
    picture.describeUnderlay(underlay, {0, 0, picture.size.width, picture.size.height},
                             linePixels(picture.zoom) / image.devicePixelRatio(), false);
    if (!underlay.empty()) {
        QPainter painter(&image);
        scenePainter.paint(painter, underlay);
    }
    Drawing kept;
    return renderer.render(image, QSizeF(picture.size.width, picture.size.height),
                           shownOps(picture, picture.drawing, kept), picture.style(), limits);
}

std::span<const DrawOp> shownOps(const ScreenPicture& picture, std::span<const DrawOp> ops,
                                 Drawing& kept)
{
    if (!picture.figureHidden)
        return ops;
    // The axes without the figure, which the class is to predict.
    kept.clear();
    for (const DrawOp& op : ops) {
        if (op.kind != DrawOp::Kind::Figure)
            kept.push_back(op);
    }
    return kept;
}

void paintVector(QPainter& painter, std::span<const DrawOp> ops, const QRectF& target,
                 const RenderStyle& style)
{
    std::vector<FloatPoint> points;
    painter.save();
    painter.setClipRect(target);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const DrawOp& op : ops) {
        PixelMapping m = pixelMapping(op.frame, {target.width(), target.height()},
                                      style.zoom / kTwipsPerPixel, style.yUp);
        m.offsetX += target.left();
        m.offsetY += target.top();
        const QColor colour = toQColor(renderColour(op, style));
        painter.setPen(QPen(colour, style.zoom, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        switch (op.kind) {
        case DrawOp::Kind::Segment:
            painter.drawLine(
                QLineF(toQt(mapPoint(m, op.x1, op.y1)), toQt(mapPoint(m, op.x2, op.y2))));
            break;
        case DrawOp::Kind::Box:
            painter.fillRect(
                QRectF(toQt(mapPoint(m, op.x1, op.y1)), toQt(mapPoint(m, op.x2, op.y2))), colour);
            break;
        case DrawOp::Kind::Figure: {
            const std::size_t count = figurePointCount(op, style.fine);
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
            if (style.fine)
                fineCurvePoints(op.parameters, op.end, kFineBudget, points);
            else
                figurePoints(op.parameters, op.end, points);
            QPainterPath path(toQt(mapPoint(m, points[0].x, points[0].y)));
            for (std::size_t i = 1; i < count; ++i)
                path.lineTo(toQt(mapPoint(m, points[i].x, points[i].y)));
            painter.drawPath(path);
            break;
        }
        }
    }
    painter.restore();
}

} // namespace korvelian
