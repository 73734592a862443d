#include "drawing.h"

#include "form/pixels.h"
#include "model/figurepoints.h"
#include "model/finecurve.h"

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

// Far outside the area but safely inside the rasteriser's integer range.
constexpr double kPixelLimit = 1.0e6;

double clampPixel(double value)
{
    return std::clamp(value, -kPixelLimit, kPixelLimit);
}

} // namespace

PixelMapping pixelMapping(const UserFrame& frame, SizeF size, double pixelsPerTwip, bool yUp)
{
    PixelMapping m{pixelsPerTwip, 0, pixelsPerTwip, 0};
    if (frame.isSet()) {
        const double scaleX = size.width / (frame.x2 - frame.x1);
        const double scaleY = size.height / (frame.y2 - frame.y1);
        m = {scaleX, -frame.x1 * scaleX, scaleY, -frame.y1 * scaleY};
    }
    if (yUp) {
        m.scaleY = -m.scaleY;
        m.offsetY = size.height - m.offsetY;
    }
    return m;
}

PointF mapPoint(const PixelMapping& m, double x, double y)
{
    return {clampPixel(x * m.scaleX + m.offsetX), clampPixel(y * m.scaleY + m.offsetY)};
}

const DrawOp* lastFigure(const Drawing& drawing)
{
    const auto found = std::find_if(drawing.rbegin(), drawing.rend(), [](const DrawOp& op) {
        return op.kind == DrawOp::Kind::Figure;
    });
    return found == drawing.rend() ? nullptr : &*found;
}

Colour renderColour(const DrawOp& op, const RenderStyle& style)
{
    if (style.dimmedFigure && op.kind == DrawOp::Kind::Figure) {
        const Colour full = renderColour(op, {style.zoom, style.worksheet, false});
        // Towards the background: black on the screen, white on a worksheet.
        const int ground = style.worksheet ? 255 : 0;
        auto dim = [ground](int c) {
            return static_cast<int>(std::lround(ground + (c - ground) * palette::kDimmedShare));
        };
        return rgb(dim(red(full)), dim(green(full)), dim(blue(full)));
    }
    if (!style.worksheet)
        return op.colour;
    switch (op.kind) {
    case DrawOp::Kind::Segment:
        return palette::kWorksheetAxes;
    case DrawOp::Kind::Figure:
        return palette::kWorksheetFigure;
    case DrawOp::Kind::Box:
        break;
    }
    return op.colour;
}

PixelMapping imageMapping(const UserFrame& frame, SizeF logicalSize, const RenderStyle& style,
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
    return {
        {DrawOp::Kind::Segment, kExampleFrame, -2, 0, 2, 0, palette::kAxes, {}, 0},
        {DrawOp::Kind::Segment, kExampleFrame, 0, -2, 0, 2, palette::kAxes, {}, 0},
        {DrawOp::Kind::Figure, kExampleFrame, 0, 0, 0, 0, palette::kFigure, p, end},
    };
}

std::size_t figurePointCount(const DrawOp& figure, bool fine)
{
    if (fine) {
        const FineCurve curve = fineCurve(figure.parameters, figure.end);
        if (!curve.asLoop)
            return curve.count;
    }
    return figureRun(figure.parameters, figure.end).count;
}

} // namespace korvelian
