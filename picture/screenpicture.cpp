#include "screenpicture.h"

#include "graticule.h"
#include "form/layout.h"
#include "readingaid.h"
#include "screenvalues.h"
#include "tracepainter.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace korvelian {

void ScreenPicture::setFrame(double x1, double y1, double x2, double y2)
{
    const bool usable = std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) &&
                        std::isfinite(y2) && x1 != x2 && y1 != y2;
    if (usable)
        frame = {x1, y1, x2, y2};
}

void ScreenPicture::addSegment(double x1, double y1, double x2, double y2, const QColor& colour)
{
    drawing.push_back({DrawOp::Kind::Segment, frame, x1, y1, x2, y2, colour, {}, 0});
}

void ScreenPicture::addFigure(const Parameter& p, double end, const QColor& colour)
{
    drawing.push_back({DrawOp::Kind::Figure, frame, 0, 0, 0, 0, colour, p, end});
}

void ScreenPicture::addBox(double x1, double y1, double x2, double y2, const QColor& colour)
{
    drawing.push_back({DrawOp::Kind::Box, frame, x1, y1, x2, y2, colour, {}, 0});
}

double ScreenPicture::widthAtHundred() const
{
    return std::max(1.0, size.width() / zoom);
}

PixelMapping ScreenPicture::mappingOnto(const UserFrame& onto, const QRectF& target) const
{
    PixelMapping m =
        pixelMapping(onto, target.size(),
                     target.width() / std::max(1.0, size.width()) * zoom / kTwipsPerPixel, yUp);
    m.offsetX += target.left();
    m.offsetY += target.top();
    return m;
}

double ScreenPicture::pictureZoom(double pictureWidth) const
{
    return pictureWidth * zoom / std::max(1.0, size.width());
}

void ScreenPicture::paintUnderlay(QPainter& painter, const QRectF& target, double lineWidth,
                                  bool worksheet) const
{
    if (graticule)
        paintGraticule(painter, frame, mappingOnto(frame, target), lineWidth, worksheet);
}

void ScreenPicture::paintAnnotations(QPainter& painter, const QRectF& target, double lineWidth,
                                     bool worksheet, ScreenValues& valueLines) const
{
    const DrawOp* figure = lastFigure(drawing);
    if (!figure)
        return;
    const PixelMapping m = mappingOnto(figure->frame, target);
    if (afterglow) {
        // Twice a line's width in device pixels, whatever the painter's ratio.
        const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
        paintTrace(painter, m, trace, 2 * lineWidth / ratio, worksheet);
    }
    if (readingAid) {
        paintReadingAid(painter, m, target, figure->parameters, entryAccepted,
                        pictureZoom(target.width()), lineWidth, worksheet);
    }
    if (values) {
        const auto legend = readingAid ? legendPlace(legendLines(), target, m, figure->parameters,
                                                     pictureZoom(target.width()))
                                       : std::nullopt;
        valueLines.paint(painter, m, target, figure->parameters, entryAccepted,
                         worksheet ? kWorksheetBackground : background, worksheet,
                         legend.value_or(QRectF()));
    }
}

QStringList ScreenPicture::legendLines() const
{
    const DrawOp* figure = lastFigure(drawing);
    if (!readingAid || !figure)
        return {};
    return readingAidLegend(figure->parameters, entryAccepted, yUp);
}

bool ScreenPicture::legendFits(const QRectF& target) const
{
    const DrawOp* figure = lastFigure(drawing);
    return !figure || legendPlace(legendLines(), target, mappingOnto(figure->frame, target),
                                  figure->parameters, pictureZoom(target.width()))
                          .has_value();
}

double ScreenPicture::beneathHeight(double width) const
{
    const QStringList lines = legendLines();
    const double height = width * size.height() / std::max(1.0, size.width());
    if (lines.isEmpty() || legendFits(QRectF(0, 0, width, height)))
        return 0;
    return legendBandHeight(lines, width, pictureZoom(width));
}

void ScreenPicture::paintBeneath(QPainter& painter, const QRectF& band, bool worksheet) const
{
    paintLegendBand(painter, band, legendLines(), pictureZoom(band.width()), worksheet);
}

} // namespace korvelian
