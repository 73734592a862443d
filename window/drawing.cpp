#include "drawing.h"

namespace korvelian {

PixelMapping pixelMapping(const UserFrame& frame, QSizeF size, double pixelsPerTwip)
{
    if (!frame.isSet())
        return {pixelsPerTwip, 0, pixelsPerTwip, 0};
    const double scaleX = size.width() / (frame.x2 - frame.x1);
    const double scaleY = size.height() / (frame.y2 - frame.y1);
    return {scaleX, -frame.x1 * scaleX, scaleY, -frame.y1 * scaleY};
}

} // namespace korvelian
