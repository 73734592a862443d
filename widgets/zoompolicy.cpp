#include "zoompolicy.h"

#include "form/layout.h"

#include <algorithm>
#include <cmath>

namespace korvelian {

int ZoomPolicy::clamped(int percent)
{
    return std::clamp(percent, kSmallest, kLargest);
}

int ZoomPolicy::larger(int percent)
{
    return clamped((percent / kStep + 1) * kStep);
}

int ZoomPolicy::smaller(int percent)
{
    return clamped((percent + kStep - 1) / kStep * kStep - kStep);
}

QSize ZoomPolicy::windowSize(int percent)
{
    const double zoom = percent / 100.0;
    return {pixels(kClientWidth, zoom), pixels(kClientHeight, zoom)};
}

int ZoomPolicy::fitting(QSize available)
{
    int percent = kLargest;
    while (percent > kSmallestToFit && (windowSize(percent).width() > available.width() ||
                                        windowSize(percent).height() > available.height()))
        --percent;
    return percent;
}

int ZoomPolicy::dragged(QSize size, int current)
{
    const QSize base = windowSize(100);
    const double across = 100.0 * size.width() / base.width();
    const double down = 100.0 * size.height() / base.height();
    const double wanted = std::abs(across - current) >= std::abs(down - current) ? across : down;
    return clamped(static_cast<int>(std::lround(wanted)));
}

QFont ZoomPolicy::zoomed(QFont font, double zoom)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * zoom);
    else
        font.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * zoom)));
    return font;
}

} // namespace korvelian
