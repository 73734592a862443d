#include "smileyicon.h"

#include <QPainter>
#include <QPixmap>

namespace korvelian {

namespace {

QPixmap smiley(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 32-unit grid so both sizes share one design.
    painter.scale(size / 32.0, size / 32.0);

    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(QColor(255, 255, 0));
    painter.drawEllipse(QRectF(1.5, 1.5, 29, 29));

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRectF(9.5, 9, 4, 5.5));
    painter.drawEllipse(QRectF(18.5, 9, 4, 5.5));

    QPen mouth(Qt::black, 2.2);
    mouth.setCapStyle(Qt::RoundCap);
    painter.setPen(mouth);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(8, 8, 16, 16), 200 * 16, 140 * 16);
    return pixmap;
}

} // namespace

QIcon smileyIcon()
{
    QIcon icon;
    icon.addPixmap(smiley(16));
    icon.addPixmap(smiley(32));
    return icon;
}

} // namespace korvelian
