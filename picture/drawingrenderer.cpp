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

namespace {

bool sameFrame(const UserFrame& a, const UserFrame& b)
{
    return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2;
}

bool sameOp(const DrawOp& a, const DrawOp& b)
{
    return a.kind == b.kind && sameFrame(a.frame, b.frame) && a.x1 == b.x1 && a.y1 == b.y1 &&
           a.x2 == b.x2 && a.y2 == b.y2 && a.colour == b.colour && a.parameters == b.parameters &&
           a.end == b.end;
}

// Everything renderAreaImage draws besides the operations.
bool sameGround(const ScreenPicture& a, const ScreenPicture& b)
{
    return a.size == b.size && a.zoom == b.zoom && a.yUp == b.yUp && a.fine == b.fine &&
           a.background == b.background && a.graticule == b.graticule &&
           a.brightGraticule == b.brightGraticule && a.afterglow == b.afterglow &&
           a.figureHidden == b.figureHidden && sameFrame(a.frame, b.frame);
}

// More points than this are not followed one by one: the figure's amplitudes bound it.
constexpr std::size_t kMostFollowedPoints = 65536;

// Marks the tiles where an operation can set pixels, with a margin for the line's width and its
// rounding; false where its coordinates come near the mapping's clamp, which may bend a line.
bool markOp(TileMask& mask, const DrawOp& op, const ScreenPicture& picture, qreal ratio,
            std::vector<FloatPoint>& points)
{
    const PixelMapping m = imageMapping(op.frame, picture.size, picture.style(), ratio);
    const QSize size = mask.size();
    const double reach = 4.0 * (size.width() + size.height()) + 64;
    const int margin = linePixels(picture.zoom) + 2;
    auto mark = [&](double x1, double y1, double x2, double y2) {
        const double left = std::min(x1 * m.scaleX, x2 * m.scaleX) + m.offsetX;
        const double right = std::max(x1 * m.scaleX, x2 * m.scaleX) + m.offsetX;
        const double top = std::min(y1 * m.scaleY, y2 * m.scaleY) + m.offsetY;
        const double bottom = std::max(y1 * m.scaleY, y2 * m.scaleY) + m.offsetY;
        if (!(left > -reach && right < reach && top > -reach && bottom < reach))
            return false;
        mask.mark(QRect(QPoint(static_cast<int>(std::floor(left)) - margin,
                               static_cast<int>(std::floor(top)) - margin),
                        QPoint(static_cast<int>(std::ceil(right)) + margin,
                               static_cast<int>(std::ceil(bottom)) + margin)));
        return true;
    };
    if (op.kind != DrawOp::Kind::Figure)
        return mark(op.x1, op.y1, op.x2, op.y2);
    const std::size_t count = figurePointCount(op, picture.fine);
    if (count > kMostFollowedPoints || count == 0) {
        // Every point is an amplitude times a sine, and every chord between two lies within.
        const double ax = std::abs(op.parameters.amplitudeX);
        const double ay = std::abs(op.parameters.amplitudeY);
        return mark(-ax, -ay, ax, ay);
    }
    // The points the raster joins, as paintVector reads them.
    const std::size_t drawn = std::min(
        points.size(), picture.fine ? fineCurvePoints(op.parameters, op.end, kFineBudget, points)
                                    : figurePoints(op.parameters, op.end, points).count);
    for (std::size_t i = 0; i < drawn; ++i) {
        const FloatPoint& a = points[i];
        const FloatPoint& b = points[i + 1 < drawn ? i + 1 : i];
        if (!mark(a.x, a.y, b.x, b.y))
            return false;
    }
    return true;
}

} // namespace

std::optional<TileMask> differingTiles(const ScreenPicture& earlier, bool earlierComplete,
                                       const ScreenPicture& later, bool laterComplete,
                                       QSize deviceSize, qreal ratio, int tile)
{
    if (!sameGround(earlier, later))
        return std::nullopt;
    TileMask mask(deviceSize, tile);
    std::vector<FloatPoint> points;
    const std::size_t count = std::max(earlier.drawing.size(), later.drawing.size());
    for (std::size_t i = 0; i < count; ++i) {
        const DrawOp* a = i < earlier.drawing.size() ? &earlier.drawing[i] : nullptr;
        const DrawOp* b = i < later.drawing.size() ? &later.drawing[i] : nullptr;
        const bool partFigure = (a && a->kind == DrawOp::Kind::Figure && !earlierComplete) ||
                                (b && b->kind == DrawOp::Kind::Figure && !laterComplete);
        if (a && b && sameOp(*a, *b) && !partFigure)
            continue;
        for (const auto& [op, picture] : {std::pair(a, &earlier), std::pair(b, &later)}) {
            if (op && !markOp(mask, *op, *picture, ratio, points))
                return std::nullopt;
        }
    }
    return mask;
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
