#include "picturearea.h"

#include "focusmark.h"
#include "layout.h"

#include <QPaintEvent>

#include <algorithm>
#include <cmath>

namespace korvelian {

PictureArea::PictureArea(const QColor& background, const QColor& foreground, QWidget* parent)
    : QWidget(parent), m_background(background), m_foreground(foreground)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
    watchFocusReason(*this);
}

void PictureArea::setFrame(double x1, double y1, double x2, double y2)
{
    const bool usable = std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) &&
                        std::isfinite(y2) && x1 != x2 && y1 != y2;
    if (usable)
        m_frame = {x1, y1, x2, y2};
}

QPointF PictureArea::toPixel(double x, double y) const
{
    return mapPoint(imageMapping(m_frame, QSizeF(size()), renderStyle(), 1.0), x, y);
}

PixelMapping PictureArea::mappingOnto(const UserFrame& frame, const QRectF& target) const
{
    PixelMapping m =
        pixelMapping(frame, target.size(),
                     target.width() / std::max(1, width()) * m_zoom / kTwipsPerPixel, m_yUp);
    m.offsetX += target.left();
    m.offsetY += target.top();
    return m;
}

void PictureArea::setYUp(bool yUp)
{
    if (yUp == m_yUp)
        return;
    m_yUp = yUp;
    m_imageCurrent = false;
    scheduleRepaint();
}

void PictureArea::setZoom(double zoom)
{
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    m_imageCurrent = false;
    scheduleRepaint();
}

void PictureArea::setFigureDimmed(bool dimmed)
{
    if (dimmed == m_figureDimmed)
        return;
    m_figureDimmed = dimmed;
    m_imageCurrent = false;
    scheduleRepaint();
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
        QPainter painter(&m_image);
        // One device pixel at 100 %, as the axes are drawn, whatever the ratio.
        paintUnderlay(painter, QRectF(QPointF(0, 0), QSizeF(size())), linePixels(m_zoom) / ratio,
                      false);
        m_rendered = 0;
        m_imageCurrent = true;
    }
    m_renderer.render(m_image, QSizeF(size()), std::span(m_drawing).subspan(m_rendered),
                      renderStyle());
    m_rendered = m_drawing.size();
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
    // Rectangle by rectangle: a frame of the animation repaints a few small ones.
    for (const QRect& r : event->region()) {
        painter.drawImage(r, m_image,
                          QRectF(QPointF(r.topLeft()) * m_image.devicePixelRatio(),
                                 QSizeF(r.size()) * m_image.devicePixelRatio()));
    }
    paintAnnotations(painter, QRectF(rect()), linePixels(m_zoom), false);
    paintOverlays(painter);
    paintFocusMark(*this, painter, linePixels(m_zoom));
}

void PictureArea::paintOverlays(QPainter&) {}

void PictureArea::paintAnnotations(QPainter&, const QRectF&, double, bool) const {}

double PictureArea::beneathHeight(double) const
{
    return 0;
}

void PictureArea::paintBeneath(QPainter&, const QRectF&, bool) const {}

void PictureArea::paintUnderlay(QPainter&, const QRectF&, double, bool) const {}

void PictureArea::redrawUnderlay()
{
    m_imageCurrent = false;
    scheduleRepaint();
}

} // namespace korvelian
