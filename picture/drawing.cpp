#include "drawing.h"

#include <algorithm>

namespace korvelian {

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

const DrawOp* lastFigure(const Drawing& drawing)
{
    const auto found = std::find_if(drawing.rbegin(), drawing.rend(), [](const DrawOp& op) {
        return op.kind == DrawOp::Kind::Figure;
    });
    return found == drawing.rend() ? nullptr : &*found;
}

} // namespace korvelian
