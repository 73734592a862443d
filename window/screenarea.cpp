#include "screenarea.h"

#include "layout.h"

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

constexpr int kShapeSize = 132;
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kLineColour(128, 128, 255);

QPointF twips(int x, int y)
{
    return {static_cast<double>(x) / kTwipsPerPixel, static_cast<double>(y) / kTwipsPerPixel};
}

int index(Shape shape)
{
    return static_cast<int>(shape);
}

int index(OverlayLine line)
{
    return static_cast<int>(line);
}

} // namespace

ScreenArea::ScreenArea(QWidget* parent) : PictureArea(Qt::black, Qt::white, parent)
{
    m_shapes = {twips(3240, 2880), twips(3720, 4200), twips(2040, 3480)};
    m_lines = {QLineF(twips(2400, 2400), twips(4680, 2400)),
               QLineF(twips(840, 1080), twips(3120, 1080))};
}

void ScreenArea::setShapeLeft(Shape shape, double left)
{
    if (!std::isfinite(left))
        return;
    m_shapes[index(shape)].setX(toPixel(left, 0).x());
    scheduleRepaint();
}

void ScreenArea::setShapeTop(Shape shape, double top)
{
    if (!std::isfinite(top))
        return;
    m_shapes[index(shape)].setY(toPixel(0, top).y());
    scheduleRepaint();
}

void ScreenArea::bringToFront(Shape shape)
{
    const auto it = std::find(m_stacking.begin(), m_stacking.end(), index(shape));
    std::rotate(it, it + 1, m_stacking.end());
    scheduleRepaint();
}

void ScreenArea::setLineEnd(OverlayLine line, LineEnd end, double value)
{
    if (!std::isfinite(value))
        return;
    QLineF& l = m_lines[index(line)];
    switch (end) {
    case LineEnd::X1:
        l.setP1({toPixel(value, 0).x(), l.y1()});
        break;
    case LineEnd::Y1:
        l.setP1({l.x1(), toPixel(0, value).y()});
        break;
    case LineEnd::X2:
        l.setP2({toPixel(value, 0).x(), l.y2()});
        break;
    case LineEnd::Y2:
        l.setP2({l.x2(), toPixel(0, value).y()});
        break;
    }
    scheduleRepaint();
}

QRectF ScreenArea::shapeRect(Shape shape) const
{
    const double size = static_cast<double>(kShapeSize) / kTwipsPerPixel;
    return {m_shapes[index(shape)], QSizeF(size, size)};
}

QLineF ScreenArea::overlayLine(OverlayLine line) const
{
    return m_lines[index(line)];
}

void ScreenArea::paintOverlays(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const int item : m_stacking) {
        if (item >= 3) {
            QPen pen(kLineColour, 1);
            pen.setCosmetic(true);
            painter.setPen(pen);
            painter.drawLine(m_lines[item - 3]);
            continue;
        }
        const QRect r = shapeRect(static_cast<Shape>(item)).toRect();
        // Opaque shapes with a one-pixel outline: the beam point all yellow, the markers
        // red inside a yellow outline.
        painter.setPen(QPen(kYellow, 0));
        if (item == index(Shape::BeamPoint)) {
            painter.setBrush(kYellow);
            painter.drawEllipse(r.adjusted(0, 0, -1, -1));
        } else {
            painter.setBrush(kRed);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
}

} // namespace korvelian
