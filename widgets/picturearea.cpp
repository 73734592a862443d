#include "picturearea.h"

#include "focusmark.h"
#include "windowcopy.h"

#include <QBackingStore>
#include <QEvent>

#include <utility>

namespace korvelian {

PictureArea::PictureArea(const QColor& background, const QColor& foreground, QWidget* parent)
    : QWidget(parent), m_background(background), m_foreground(foreground)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
    watchFocusReason(*this);
}

PictureArea::~PictureArea()
{
    // A drawing under way ends between two blocks; what it finished is dropped with the area.
    m_aside.reset();
}

void PictureArea::setDrawnAside(bool aside)
{
    if (aside == m_drawnAside)
        return;
    m_drawnAside = aside;
    if (aside && !m_aside)
        m_aside = std::make_unique<AsideDrawing>();
    m_requested = {};
    m_awaitedReadings = 0;
    if (!aside && !showsExact()) {
        // What the thread has under way is no longer awaited.
        m_shown.offer(m_aside->thread.request(nullptr, false), DrawingThread::Pass::Exact);
        scheduleRepaint();
    }
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
    drawingChanged();
}

void PictureArea::drawFigure(const Parameter& p, double end, const QColor& colour)
{
    m_picture.addFigure(p, end, fromQColor(colour));
    drawingChanged();
}

void PictureArea::drawBox(double x1, double y1, double x2, double y2)
{
    m_picture.addBox(x1, y1, x2, y2, fromQColor(m_foreground));
    drawingChanged();
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
    if (event->type() == QEvent::PaletteChange && !m_background.isValid())
        remakeImage();
    QWidget::changeEvent(event);
}

PictureArea::ImageState PictureArea::currentState() const
{
    const qreal ratio = devicePixelRatioF();
    return {m_base, m_picture.drawing.size(), (QSizeF(size()) * ratio).toSize(), ratio};
}

bool PictureArea::showsExact() const
{
    return m_imageExact && m_imageState == currentState();
}

void PictureArea::render()
{
    const ImageState state = currentState();
    if (m_imageExact && m_imageState == state)
        return;
    // An exact image of an earlier part of the same drawing needs only what came since.
    if (!m_imageExact || m_imageState.base != state.base || m_imageState.ops > state.ops ||
        m_imageState.deviceSize != state.deviceSize || m_imageState.ratio != state.ratio) {
        if (m_image.size() != state.deviceSize)
            m_image = QImage(state.deviceSize, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(state.ratio);
        renderAreaImage(m_image, picture(), m_renderer, m_scenePainter);
    } else {
        Drawing kept;
        m_renderer.render(
            m_image, QSizeF(size()),
            shownOps(m_picture, std::span(m_picture.drawing).subspan(m_imageState.ops), kept),
            renderStyle());
    }
    m_imageState = state;
    m_imageExact = true;
    m_imagePicture = nullptr;
    // Whatever the drawing thread still has under way is older than this.
    if (m_aside)
        m_shown.offer(m_aside->thread.request(nullptr, false), DrawingThread::Pass::Exact);
    m_requested = {};
    m_awaitedReadings = 0;
    m_screenKey = {};
    imageReplaced();
}

void PictureArea::imageReplaced()
{
    m_readingsImages.outdate();
}

void PictureArea::drawingChanged()
{
    ++m_readingsVersion;
    if (!m_drawnAside) {
        scheduleRepaint();
        return;
    }
    const bool steady = m_steady && m_steady();
    m_requestSteady = (m_requestSteady || !m_requestPending) && steady;
    if (!m_requestPending) {
        // Once all changes of this pass of the event loop are made: a redraw clears, sets
        // its frame and draws the axes and the figure in one go.
        m_requestPending = true;
        QMetaObject::invokeMethod(this, &PictureArea::requestDrawing, Qt::QueuedConnection);
    }
}

void PictureArea::requestDrawing()
{
    m_requestPending = false;
    const bool steady = std::exchange(m_requestSteady, false);
    const ImageState state = currentState();
    if (!m_drawnAside || !isVisible() || state.deviceSize.isEmpty() || state == m_requested ||
        (m_imageExact && state == m_imageState))
        return;
    m_requested = state;
    const std::size_t preview =
        steady ? 0 : AsideDrawing::previewBlocks(m_picture.drawing, m_picture.fine);
    // The job keeps its own copy: the drawing goes on changing on this thread meanwhile.
    auto drawn = std::make_shared<ScreenPicture>(picture());
    drawn->trace.clear();
    AsideDrawing* aside = m_aside.get();
    // What the screen shows now, which the pass will replace where it differs; the readings
    // of the picture as it stands, which the pass brings with its figure.
    auto request = std::make_shared<AsideDrawing::Request>();
    request->readings.version = m_readingsVersion;
    m_awaitedReadings = m_readingsVersion;
    request->before = shownNow().value_or(ShownImages());
    if (request->before.under.cacheKey() == m_image.cacheKey()) {
        request->beforePicture = m_imagePicture;
        request->beforeComplete = m_imageExact;
    }
    auto job = [this, aside, drawn = std::shared_ptr<const ScreenPicture>(std::move(drawn)), state,
                preview, request, steady](std::uint64_t number, DrawingThread::Pass pass,
                                          const DrawingThread::Stop& stop) {
        DrawLimits limits;
        limits.stop = stop;
        // A drifting phase's step has until the next one: on one core it costs less processor
        // time than with its blocks shared between cores, which publish what they lit to each
        // other and wait for each other at the end.
        if (steady)
            limits.cores = 1;
        if (pass == DrawingThread::Pass::Preview)
            limits.blocks = preview;
        else
            limits.resume = preview > 0;
        AsideDrawing::Pass drawnPass;
        if (!aside->draw(drawn, state.deviceSize, state.ratio, limits, *request, drawnPass))
            return false;
        // Dropped with the area if it is gone by then: the thread ends before the area does.
        QMetaObject::invokeMethod(
            this,
            [this, number, pass, drawnPass = std::move(drawnPass), state]() mutable {
                takeDrawn(number, pass, drawnPass, state);
            },
            Qt::QueuedConnection);
        return true;
    };
    m_aside->thread.request(std::move(job), preview > 0,
                            steady ? DrawingThread::Urgency::Steady
                                   : DrawingThread::Urgency::Input);
}

void PictureArea::takeDrawn(std::uint64_t number, DrawingThread::Pass pass,
                            AsideDrawing::Pass& drawn, const ImageState& state)
{
    if (!m_shown.offer(number, pass))
        return;
    const ShownKeys screenBefore = m_screenKey;
    const ShownKeys passShown = ShownKeys::of(drawn.shown());
    std::vector<QImage> replaced{std::exchange(m_image, drawn.image)};
    m_imageState = state;
    m_imageExact = pass == DrawingThread::Pass::Exact;
    m_imagePicture = drawn.picture;
    ++(m_imageExact ? m_exactShown : m_previewsShown);
    imageReplaced();
    for (QImage& image : adoptReadings(drawn.readings))
        replaced.push_back(std::move(image));
    // A drifting phase's next step may be changed already and its request not yet made: the
    // pump shows this pass with its own readings first.
    const std::optional<ShownImages> now = shownNow(m_requestPending);
    m_screenKey = now ? ShownKeys::of(*now) : ShownKeys();
    repaintReplaced(drawn, screenBefore, passShown);
    for (QImage& image : replaced) {
        if (m_aside)
            m_aside->giveBack(std::move(image));
    }
}

void PictureArea::repaintReplaced(const AsideDrawing::Pass& drawn, const ShownKeys& screenBefore,
                                  const ShownKeys& passShown)
{
    QRegion region = logicalRegion(drawn.changed, drawn.image.devicePixelRatio());
    // A drifting phase asks for its next step before the last is shown, and that one, drawn
    // meanwhile, takes the screen from the pictures both were compared with: wherever the two
    // differ, one of them differs from what both replaced.
    const bool afterLast = drawn.compared && m_lastPass.compared &&
                           drawn.replaced == m_lastPass.replaced &&
                           screenBefore == m_lastPass.shown;
    const LastPass last =
        std::exchange(m_lastPass, {drawn.compared, drawn.replaced, passShown, region});
    // Sending a large screen whole to the display in every step of a drifting phase cost more
    // than drawing it. Readings worked out here, not with the pass, may change anywhere.
    if (!drawn.compared || screenBefore == ShownKeys() ||
        (drawn.replaced != screenBefore && !afterLast) || m_screenKey != passShown) {
        update();
        return;
    }
    if (drawn.replaced != screenBefore)
        region += last.region;
    ++m_shownByTiles;
    update(region);
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

void PictureArea::copyImage(QPainter& painter, const QRegion& region, const QImage& image) const
{
    if (!copyIntoWindow(region, image))
        drawByRectangle(painter, region, image);
    // An image drawn aside for the area's former size, until the one for its size comes.
    const QRegion uncovered = region - QRect(QPoint(0, 0), image.deviceIndependentSize().toSize());
    for (const QRect& r : uncovered)
        painter.fillRect(r, background());
}

bool PictureArea::copyIntoWindow(const QRegion& region, const QImage& image) const
{
    // Only into the window's own image: a grab or a print paints through the painter.
    QPoint offset;
    QPaintDevice* device = redirected(&offset);
    QBackingStore* store = backingStore();
    if (!store || device != store->paintDevice())
        return false;
    return copyIntoWindowImage(device, offset, region, image);
}

void PictureArea::drawByRectangle(QPainter& painter, const QRegion& region, const QImage& image,
                                  const QRegion* within)
{
    // Rectangle by rectangle, each its own clip, in device pixels: a frame of the animation
    // repaints a few small rectangles far apart, and QPainter copies an image row by row only
    // under a rectangular clip and without scaling. Under the region's clip, or scaled by the
    // device pixel ratio, it goes span by span and hands the spans to its thread pool, which
    // woke threads in every frame and cost the beam more than its own work.
    const qreal ratio = image.devicePixelRatio();
    painter.save();
    painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio), true);
    if (within && ratio == 1) {
        // Logical pixels are device pixels: the region's rectangles, which do not overlap,
        // cut down to within at once.
        for (const QRect& piece : region.intersected(*within)) {
            painter.setClipRect(piece);
            painter.drawImage(QRectF(piece), image, QRectF(piece));
        }
        painter.restore();
        return;
    }
    for (const QRect& r : region) {
        const QRect device =
            QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio).toAlignedRect();
        if (!within) {
            painter.setClipRect(device);
            painter.drawImage(QRectF(device), image, QRectF(device));
            continue;
        }
        // Pieces of one rectangle do not overlap: each pixel is drawn over as often as before.
        for (const QRect& piece : within->intersected(device)) {
            painter.setClipRect(piece);
            painter.drawImage(QRectF(piece), image, QRectF(piece));
        }
    }
    painter.restore();
}

void PictureArea::paintOverlays(QPainter&) {}

void PictureArea::remakeImage()
{
    ++m_base;
    drawingChanged();
}

} // namespace korvelian
