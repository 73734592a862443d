#include "screenpicture.h"

#include "form/pixels.h"
#include "graticule.h"
#include "presentationpanel.h"
#include "textmetrics.h"
#include "trace.h"
#include "values.h"

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

void ScreenPicture::addSegment(double x1, double y1, double x2, double y2, Colour colour)
{
    drawing.push_back({DrawOp::Kind::Segment, frame, x1, y1, x2, y2, colour, {}, 0});
}

void ScreenPicture::addFigure(const Parameter& p, double end, Colour colour)
{
    drawing.push_back({DrawOp::Kind::Figure, frame, 0, 0, 0, 0, colour, p, end});
}

void ScreenPicture::addBox(double x1, double y1, double x2, double y2, Colour colour)
{
    drawing.push_back({DrawOp::Kind::Box, frame, x1, y1, x2, y2, colour, {}, 0});
}

double ScreenPicture::widthAtHundred() const
{
    return std::max(1.0, size.width / zoom);
}

PixelMapping ScreenPicture::mappingOnto(const UserFrame& onto, const RectF& target) const
{
    PixelMapping m = pixelMapping(
        onto, target.size(), target.width / std::max(1.0, size.width) * zoom / kTwipsPerPixel, yUp);
    m.offsetX += target.left();
    m.offsetY += target.top();
    return m;
}

double ScreenPicture::pictureZoom(double pictureWidth) const
{
    return pictureWidth * zoom / std::max(1.0, size.width);
}

void ScreenPicture::describeUnderlay(Scene& scene, const RectF& target, double lineWidth,
                                     bool worksheet) const
{
    if (graticule) {
        describeGraticule(scene, frame, mappingOnto(frame, target), lineWidth, worksheet,
                          brightGraticule);
    }
}

void ScreenPicture::describeAnnotations(Scene& scene, TextMetrics& metrics, const RectF& target,
                                        double lineWidth, bool worksheet, double pixelRatio) const
{
    describeTrace(scene, target, lineWidth, worksheet, pixelRatio);
    describeReadings(scene, metrics, target, lineWidth, worksheet);
}

namespace {

// The trace is twice a line's width in device pixels, whatever the painter's ratio.
double traceWidth(double lineWidth, double pixelRatio)
{
    return 2 * lineWidth / pixelRatio;
}

} // namespace

std::vector<TraceChange> ScreenPicture::traceDamage(TraceDamage& damage, const RectF& target,
                                                    double lineWidth, double pixelRatio,
                                                    bool& whole) const
{
    const DrawOp* figure = lastFigure(drawing);
    if (!figure || !afterglow) {
        whole = true;
        return {};
    }
    return damage.update(trace, mappingOnto(figure->frame, target),
                         traceWidth(lineWidth, pixelRatio), whole);
}

void ScreenPicture::describeTrace(Scene& scene, const RectF& target, double lineWidth,
                                  bool worksheet, double pixelRatio,
                                  const std::function<bool(const RectF&)>& within) const
{
    const DrawOp* figure = lastFigure(drawing);
    if (figure && afterglow) {
        korvelian::describeTrace(scene, mappingOnto(figure->frame, target), trace,
                                 traceWidth(lineWidth, pixelRatio), worksheet, within);
    }
    if (figure && figureHidden && !beamPath.empty()) {
        // The beam's path as the figure itself is drawn: its colour, its line.
        const PixelMapping m = mappingOnto(figure->frame, target);
        item::Path path;
        path.stroke = Pen{
            {renderColour(*figure, {zoom, worksheet, yUp})}, lineWidth, Cap::Round, Join::Round};
        for (const std::vector<Point>& piece : beamPath) {
            for (std::size_t i = 0; i < piece.size(); ++i)
                path.steps.push_back({i == 0, mapPoint(m, piece[i].x, piece[i].y)});
        }
        scene.antialias(true);
        scene.add(std::move(path));
    }
}

void ScreenPicture::describeReadings(Scene& scene, TextMetrics& metrics, const RectF& target,
                                     double lineWidth, bool worksheet) const
{
    const DrawOp* figure = lastFigure(drawing);
    // A hidden figure is not read off.
    if (!figure || figureHidden)
        return;
    const PixelMapping m = mappingOnto(figure->frame, target);
    std::optional<RectF> legend;
    if (readingAid) {
        legend =
            describeReadingAid(scene, metrics, m, target, figure->parameters, entryAccepted,
                               pictureZoom(target.width), lineWidth, worksheet, !legendElsewhere);
    }
    if (values) {
        // The values keep clear of the legend as the aid placed it, which read the figure the
        // way the mapping turns y (tens of thousands of touch points at 32767 : 1); a frame
        // that turns y itself is read the way the picture shows it.
        if (readingAid && !legendElsewhere && yUp != (m.scaleY < 0)) {
            legend = legendPlace(metrics, legendLines(), target, m, figure->parameters,
                                 pictureZoom(target.width));
        }
        describeValues(
            scene, metrics, m, target, figure->parameters, entryAccepted,
            worksheet ? palette::kWorksheetGround : background, worksheet, legend.value_or(RectF()),
            kPresentationCapShare * displayHeight * target.height / std::max(1.0, size.height));
    }
}

TextLines ScreenPicture::legendLines() const
{
    const DrawOp* figure = lastFigure(drawing);
    if (!readingAid || !figure || figureHidden)
        return {};
    return readingAidLegend(figure->parameters, entryAccepted, yUp);
}

bool ScreenPicture::legendFits(TextMetrics& metrics, const RectF& target) const
{
    const DrawOp* figure = lastFigure(drawing);
    if (figure && legendElsewhere)
        return false;
    return !figure ||
           legendPlace(metrics, legendLines(), target, mappingOnto(figure->frame, target),
                       figure->parameters, pictureZoom(target.width))
               .has_value();
}

TextLines ScreenPicture::legendBeside(TextMetrics& metrics, const RectF& target) const
{
    TextLines lines = legendLines();
    if (lines.empty() || legendFits(metrics, target))
        return {};
    return lines;
}

double ScreenPicture::beneathHeight(TextMetrics& metrics, double width) const
{
    const TextLines lines = legendLines();
    const double height = width * size.height / std::max(1.0, size.width);
    if (lines.empty() || legendFits(metrics, RectF{0, 0, width, height}))
        return 0;
    return legendBandHeight(metrics, lines, width, pictureZoom(width));
}

void ScreenPicture::describeBeneath(Scene& scene, const RectF& band, bool worksheet) const
{
    describeLegendBand(scene, band, legendLines(), pictureZoom(band.width), worksheet);
}

} // namespace korvelian
