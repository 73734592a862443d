#include "drawing.h"

#include <algorithm>

namespace korvelian {

namespace {

// Far outside the area but safely inside the rasteriser's integer range.
constexpr double kPixelLimit = 1.0e6;

double clampPixel(double value)
{
    return std::clamp(value, -kPixelLimit, kPixelLimit);
}

} // namespace

PixelMapping pixelMapping(const UserFrame& frame, QSizeF size, double pixelsPerTwip, bool yUp)
{
    PixelMapping m{pixelsPerTwip, 0, pixelsPerTwip, 0};
    if (frame.isSet()) {
        const double scaleX = size.width() / (frame.x2 - frame.x1);
        const double scaleY = size.height() / (frame.y2 - frame.y1);
        m = {scaleX, -frame.x1 * scaleX, scaleY, -frame.y1 * scaleY};
    }
    if (yUp) {
        m.scaleY = -m.scaleY;
        m.offsetY = size.height() - m.offsetY;
    }
    return m;
}

QPointF mapPoint(const PixelMapping& m, double x, double y)
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

} // namespace korvelian
