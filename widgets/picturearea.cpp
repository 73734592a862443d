#include "picturearea.h"

#include "focusmark.h"
#include "form/pixels.h"

#include <QPaintEvent>

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
    m_picture.setFrame(x1, y1, x2, y2);
}

QPointF PictureArea::toPixel(double x, double y) const
{
    return toQt(mapPoint(
        imageMapping(frame(), {double(width()), double(height())}, renderStyle(), 1.0), x, y));
}

PixelMapping PictureArea::mappingOnto(const UserFrame& frame, const QRectF& target) const
{
    return picture().mappingOnto(frame, fromQt(target));
}

void PictureArea::setYUp(bool yUp)
{
    if (yUp == m_picture.yUp)
        return;
    m_picture.yUp = yUp;
    remakeImage();
}

void PictureArea::setFine(bool fine)
{
    if (fine == m_picture.fine)
        return;
    m_picture.fine = fine;
    remakeImage();
}

void PictureArea::setZoom(double zoom)
{
    if (zoom == m_picture.zoom)
        return;
    m_picture.zoom = zoom;
    remakeImage();
}

void PictureArea::clear()
{
    m_picture.drawing.clear();
    remakeImage();
}

void PictureArea::drawSegment(double x1, double y1, double x2, double y2, const QColor& colour)
{
    m_picture.addSegment(x1, y1, x2, y2, fromQColor(colour));
    scheduleRepaint();
}

void PictureArea::drawFigure(const Parameter& p, double end, const QColor& colour)
{
    m_picture.addFigure(p, end, fromQColor(colour));
    scheduleRepaint();
}

void PictureArea::drawBox(double x1, double y1, double x2, double y2)
{
    m_picture.addBox(x1, y1, x2, y2, fromQColor(m_foreground));
    scheduleRepaint();
}

QColor PictureArea::background() const
{
    return m_background.isValid() ? m_background : palette().color(QPalette::Base);
}

const ScreenPicture& PictureArea::picture() const
{
    m_picture.size = {double(width()), double(height())};
    m_picture.background = fromQColor(background());
    return m_picture;
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
        // One device pixel at 100 %, as the axes are drawn, whatever the ratio.
        Scene underlay;
        picture().describeUnderlay(underlay, {0, 0, double(width()), double(height())},
                                   linePixels(zoom()) / ratio, false);
        QPainter painter(&m_image);
        m_scenePainter.paint(painter, underlay);
        m_rendered = 0;
        m_imageCurrent = true;
        m_readingsCurrent = false;
    }
    if (m_rendered != m_picture.drawing.size())
        m_readingsCurrent = false;
    if (m_picture.figureHidden) {
        // The axes without the figure, which the class is to predict.
        Drawing axes;
        for (const DrawOp& op : std::span(m_picture.drawing).subspan(m_rendered)) {
            if (op.kind != DrawOp::Kind::Figure)
                axes.push_back(op);
        }
        m_renderer.render(m_image, QSizeF(size()), axes, renderStyle());
    } else {
        m_renderer.render(m_image, QSizeF(size()), std::span(m_picture.drawing).subspan(m_rendered),
                          renderStyle());
    }
    m_rendered = m_picture.drawing.size();
}

void PictureArea::describeReadings()
{
    if (m_readingsCurrent)
        return;
    m_readings = Scene();
    picture().describeReadings(m_readings, qtTextMetrics(), fromQt(QRectF(rect())),
                               linePixels(zoom()), false);
    ++m_readingsDescribed;
    m_readingsCurrent = true;
    m_withReadingsCurrent = false;
    m_readingsLayerCurrent = false;
}

const QImage& PictureArea::imageWithReadings()
{
    if (m_readings.empty())
        return m_image;
    if (!m_withReadingsCurrent) {
        m_withReadings = m_image;
        QPainter painter(&m_withReadings);
        m_scenePainter.paint(painter, m_readings);
        m_withReadingsCurrent = true;
    }
    return m_withReadings;
}

const QImage& PictureArea::readingsLayer()
{
    if (!m_readingsLayerCurrent) {
        m_readingsLayer = QImage(m_image.size(), QImage::Format_ARGB32_Premultiplied);
        m_readingsLayer.setDevicePixelRatio(m_image.devicePixelRatio());
        m_readingsLayer.fill(Qt::transparent);
        QPainter painter(&m_readingsLayer);
        m_scenePainter.paint(painter, m_readings);
        m_readingsLayerCurrent = true;
    }
    return m_readingsLayer;
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
    describeReadings();
    QPainter painter(this);
    const bool overDrawing = (m_picture.afterglow && !m_picture.trace.points().empty()) ||
                             (m_picture.figureHidden && !m_picture.beamPath.empty());
    if (!overDrawing) {
        copyImage(painter, event->region(), imageWithReadings());
    } else {
        copyImage(painter, event->region(), m_image);
        Scene trace;
        picture().describeTrace(trace, fromQt(QRectF(rect())), linePixels(zoom()), false,
                                devicePixelRatioF());
        m_scenePainter.paint(painter, trace);
        if (!m_readings.empty())
            painter.drawImage(QPointF(0, 0), readingsLayer());
    }
    paintOverlays(painter);
    paintFocusMark(*this, painter, linePixels(zoom()));
}

void PictureArea::copyImage(QPainter& painter, const QRegion& region, const QImage& image) const
{
    // Rectangle by rectangle, each its own clip, in device pixels: a frame of the animation
    // repaints a few small rectangles far apart, and QPainter copies an image row by row only
    // under a rectangular clip and without scaling. Under the region's clip, or scaled by the
    // device pixel ratio, it goes span by span and hands the spans to its thread pool, which
    // woke threads in every frame and cost the beam more than its own work.
    const qreal ratio = image.devicePixelRatio();
    painter.save();
    painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio), true);
    for (const QRect& r : region) {
        const QRect device =
            QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio).toAlignedRect();
        painter.setClipRect(device);
        painter.drawImage(QRectF(device), image, QRectF(device));
    }
    painter.restore();
}

void PictureArea::paintOverlays(QPainter&) {}

void PictureArea::remakeImage()
{
    m_imageCurrent = false;
    scheduleRepaint();
}

} // namespace korvelian
