#include "picturearea.h"

#include "focusscrollbar.h"
#include "layout.h"

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

QPointF map(const PixelMapping& m, double x, double y)
{
    return {clampPixel(x * m.scaleX + m.offsetX), clampPixel(y * m.scaleY + m.offsetY)};
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
    if (usable)
        m_frame = {x1, y1, x2, y2};
}

PixelMapping PictureArea::mapping(const UserFrame& frame, double ratio) const
{
    PixelMapping m = pixelMapping(frame, QSizeF(size()), 1.0 / kTwipsPerPixel);
    m.scaleX *= ratio;
    m.offsetX *= ratio;
    m.scaleY *= ratio;
    m.offsetY *= ratio;
    return m;
}

QPointF PictureArea::toPixel(double x, double y) const
{
    return map(mapping(m_frame, 1.0), x, y);
}

void PictureArea::clear()
{
    m_drawing.clear();
    m_imageCurrent = false;
    scheduleRepaint();
}

void PictureArea::drawSegment(double x1, double y1, double x2, double y2, const QColor& colour)
{
    DrawOp op{DrawOp::Kind::Segment, m_frame, x1, y1, x2, y2, colour, {}, 0};
    m_drawing.push_back(op);
    scheduleRepaint();
}

void PictureArea::drawFigure(const Parameter& p, double end, const QColor& colour)
{
    DrawOp op{DrawOp::Kind::Figure, m_frame, 0, 0, 0, 0, colour, p, end};
    m_drawing.push_back(op);
    scheduleRepaint();
}

void PictureArea::drawBox(double x1, double y1, double x2, double y2)
{
    DrawOp op{DrawOp::Kind::Box, m_frame, x1, y1, x2, y2, m_foreground, {}, 0};
    m_drawing.push_back(op);
    scheduleRepaint();
}

QColor PictureArea::background() const
{
    return m_background.isValid() ? m_background : palette().color(QPalette::Base);
}

void PictureArea::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange && !m_background.isValid()) {
        m_imageCurrent = false;
        update();
    }
    QWidget::changeEvent(event);
}

void PictureArea::render()
{
    const qreal ratio = devicePixelRatioF();
    const QSize deviceSize = (QSizeF(size()) * ratio).toSize();
    if (m_image.size() != deviceSize || m_image.devicePixelRatio() != ratio) {
        m_image = QImage(deviceSize, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(ratio);
        m_imageCurrent = false;
    }
    if (!m_imageCurrent) {
        m_image.fill(background());
        m_rendered = 0;
        m_imageCurrent = true;
    }
    if (m_rendered == m_drawing.size())
        return;
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (; m_rendered < m_drawing.size(); ++m_rendered)
        renderOp(painter, m_drawing[m_rendered]);
}

void PictureArea::renderOp(QPainter& painter, const DrawOp& op)
{
    // The painter works in logical pixels on an image at the device ratio; the runs of a
    // figure are set in device pixels.
    const PixelMapping logical = mapping(op.frame, 1.0);
    switch (op.kind) {
    case DrawOp::Kind::Segment: {
        QPen pen(op.colour, 1);
        // A cosmetic pen stays one device pixel wide at any ratio and keeps the fast path.
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawLine(QLineF(map(logical, op.x1, op.y1), map(logical, op.x2, op.y2)));
        break;
    }
    case DrawOp::Kind::Box: {
        const QRectF box = QRectF(map(logical, op.x1, op.y1), map(logical, op.x2, op.y2));
        painter.fillRect(box.normalized().intersected(QRectF(rect())), op.colour);
        break;
    }
    case DrawOp::Kind::Figure: {
        const std::size_t count = figurePoints(op.parameters, op.end, m_points).count;
        const PixelMapping device = mapping(op.frame, m_image.devicePixelRatio());
        painter.end();
        auto* pixels = reinterpret_cast<std::uint32_t*>(m_image.bits());
        m_raster.draw(pixels, m_image.width(), m_image.height(), m_image.bytesPerLine() / 4,
                      std::span(m_points.data(), count),
                      {device.scaleX, device.offsetX, device.scaleY, device.offsetY},
                      op.colour.rgb());
        painter.begin(&m_image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        break;
    }
    }
}

const QImage& PictureArea::image()
{
    render();
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
    render();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_image,
                      QRectF(QPointF(event->rect().topLeft()) * m_image.devicePixelRatio(),
                             QSizeF(event->rect().size()) * m_image.devicePixelRatio()));
    paintOverlays(painter);
    paintFocusMark(*this, painter, background());
}

void PictureArea::paintOverlays(QPainter&) {}

} // namespace korvelian
