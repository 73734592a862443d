#include "windowcopy.h"

#include <QImage>
#include <QPaintDevice>
#include <QRegion>

#include <cstring>

namespace korvelian {

bool copyIntoWindowImage(QPaintDevice* device, QPoint offset, const QRegion& region,
                         const QImage& image)
{
    if (!device || device->devType() != QInternal::Image)
        return false;
    auto* window = static_cast<QImage*>(device);
    const qreal ratio = image.devicePixelRatio();
    const QPointF corner = QPointF(-offset) * ratio;
    // Into a window with an alpha channel, as the painter puts an opaque image there: each
    // pixel with its alpha full.
    const bool same = window->format() == QImage::Format_RGB32;
    if (image.format() != QImage::Format_RGB32 ||
        (!same && window->format() != QImage::Format_ARGB32_Premultiplied) ||
        window->devicePixelRatio() != ratio || corner != QPointF(corner.toPoint()))
        return false;
    const QPoint at = corner.toPoint();
    uchar* bits = window->bits();
    const qsizetype line = window->bytesPerLine();
    for (const QRect& r : region) {
        const QRect source =
            QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio).toAlignedRect() &
            image.rect() & window->rect().translated(-at);
        for (int y = source.top(); y <= source.bottom(); ++y) {
            auto* to =
                reinterpret_cast<quint32*>(bits + (y + at.y()) * line) + source.left() + at.x();
            const auto* from =
                reinterpret_cast<const quint32*>(image.constScanLine(y)) + source.left();
            if (same) {
                std::memcpy(to, from, static_cast<std::size_t>(source.width()) * 4);
            } else {
                for (int x = 0; x < source.width(); ++x)
                    to[x] = from[x] | 0xff000000u;
            }
        }
    }
    return true;
}

} // namespace korvelian
