#include "painterlines.h"

#include <QPainter>

namespace korvelian {

void drawPainterLines(QImage& image, std::span<const FloatPoint> points)
{
    image.fill(Qt::black);
    QPainter painter(&image);
    QPen pen(Qt::white, 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    const double scale = image.deviceIndependentSize().width() / 4.0;
    auto map = [scale](const FloatPoint& p) {
        return QPointF((p.x + 2.0) * scale, (p.y + 2.0) * scale);
    };
    for (std::size_t i = 1; i < points.size(); ++i)
        painter.drawLine(QLineF(map(points[i]), map(points[i - 1])));
}

} // namespace korvelian
