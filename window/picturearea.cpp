#include "picturearea.h"

#include "layout.h"

#include <QGuiApplication>
#include <QPaintEvent>

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

PictureArea::PictureArea(const QColor& background, const QColor& foreground, QWidget* parent)
    : QWidget(parent), m_background(background), m_foreground(foreground)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
}

void PictureArea::setFrame(double x1, double y1, double x2, double y2)
{
    const bool usable = std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) &&
                        std::isfinite(y2) && x1 != x2 && y1 != y2;
    if (!usable)
        return;
    m_x1 = x1;
    m_y1 = y1;
    m_x2 = x2;
    m_y2 = y2;
}

SegmentRaster::Transform PictureArea::frameTransform() const
{
    if (m_x1 == m_x2)
        return {1.0 / kTwipsPerPixel, 0, 1.0 / kTwipsPerPixel, 0};
    const double scaleX = width() / (m_x2 - m_x1);
    const double scaleY = height() / (m_y2 - m_y1);
    return {scaleX, -m_x1 * scaleX, scaleY, -m_y1 * scaleY};
}

QPointF PictureArea::toPixel(double x, double y) const
{
    const SegmentRaster::Transform t = frameTransform();
    return {clampPixel(x * t.scaleX + t.offsetX), clampPixel(y * t.scaleY + t.offsetY)};
}

void PictureArea::ensureImage()
{
    const qreal ratio = devicePixelRatioF();
    const QSize deviceSize = (QSizeF(size()) * ratio).toSize();
    if (m_image.size() != deviceSize) {
        finishPainting();
        m_image = QImage(deviceSize, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(ratio);
        m_image.fill(m_background);
    }
}

QPainter& PictureArea::imagePainter()
{
    ensureImage();
    if (!m_painter.isActive()) {
        m_painter.begin(&m_image);
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_penColour = QColor();
    }
    scheduleRepaint();
    return m_painter;
}

void PictureArea::finishPainting()
{
    if (m_painter.isActive())
        m_painter.end();
}

void PictureArea::clear()
{
    imagePainter().fillRect(rect(), m_background);
}

void PictureArea::drawSegment(double x1, double y1, double x2, double y2, const QColor& colour)
{
    QPainter& painter = imagePainter();
    if (colour != m_penColour) {
        QPen pen(colour, 1);
        // A cosmetic pen stays one device pixel wide at any ratio and keeps the fast path.
        pen.setCosmetic(true);
        painter.setPen(pen);
        m_penColour = colour;
    }
    painter.drawLine(QLineF(toPixel(x1, y1), toPixel(x2, y2)));
}

void PictureArea::drawPolyline(std::span<const FloatPoint> points, const QColor& colour)
{
    ensureImage();
    finishPainting();
    // The runs are set in device pixels.
    const double ratio = m_image.devicePixelRatio();
    SegmentRaster::Transform transform = frameTransform();
    transform.scaleX *= ratio;
    transform.offsetX *= ratio;
    transform.scaleY *= ratio;
    transform.offsetY *= ratio;
    auto* pixels = reinterpret_cast<std::uint32_t*>(m_image.bits());
    m_raster.draw(pixels, m_image.width(), m_image.height(), m_image.bytesPerLine() / 4, points,
                  transform, colour.rgb());
    scheduleRepaint();
}

void PictureArea::drawBox(double x1, double y1, double x2, double y2)
{
    const QRectF box = QRectF(toPixel(x1, y1), toPixel(x2, y2)).normalized();
    imagePainter().fillRect(box.intersected(QRectF(rect())), m_foreground);
}

const QImage& PictureArea::image()
{
    ensureImage();
    finishPainting();
    return m_image;
}

void PictureArea::scheduleRepaint()
{
    if (!m_repaintPending) {
        m_repaintPending = true;
        update();
    }
}

void PictureArea::paintEvent(QPaintEvent* event)
{
    m_repaintPending = false;
    ensureImage();
    finishPainting();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_image,
                      QRectF(QPointF(event->rect().topLeft()) * m_image.devicePixelRatio(),
                             QSizeF(event->rect().size()) * m_image.devicePixelRatio()));
    paintOverlays(painter);
}

void PictureArea::paintOverlays(QPainter&) {}

} // namespace korvelian
