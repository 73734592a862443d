#include "timesignalview.h"

#include "layout.h"
#include "picturearea.h"
#include "pictureexporter.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

TimeSignalStyle styleFor(double zoom, double ratio, bool worksheet)
{
    // A line is linePixels device pixels wide, as on the screen.
    return {zoom, linePixels(zoom) / ratio, ratio, worksheet};
}

} // namespace

TimeSignalView::TimeSignalView(const PictureArea& screen, QWidget* parent)
    : QWidget(parent), m_screen(screen)
{
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Zeitverläufe – Korvelian-Figuren"));
    setObjectName("zeitverlaeufe");
    setAccessibleName(QStringLiteral("Zeitverläufe"));
    setAccessibleDescription(
        QStringLiteral("Die Schwingungen x(t) und y(t) über einer Periode der Figur; während "
                       "der Schwingung ein Zeiger bei der Zeit des Leuchtpunkts"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    resize(zoomedSize());
}

QSize TimeSignalView::zoomedSize() const
{
    // As high as the main window, a little narrower.
    return {pixels(kTimeSignalsWidth * kTwipsPerPixel, m_zoom), pixels(kClientHeight, m_zoom)};
}

void TimeSignalView::followScreen()
{
    const DrawOp* figure = lastFigure(m_screen.drawing());
    if (!figure)
        return;
    const std::optional<double> beam = m_scene.beamT;
    m_scene = sceneOf(*figure, m_screen.mappingOnto(figure->frame, QRectF(0, 0, 1, 1)));
    m_scene.beamT = beam;
    m_signalsCurrent = false;
    update();
}

void TimeSignalView::setBeam(double t)
{
    m_scene.beamT = t;
    update();
}

void TimeSignalView::setZoom(double zoom)
{
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    resize(zoomedSize());
    m_signalsCurrent = false;
    update();
}

void TimeSignalView::showBeside(const QWidget& window)
{
    placeBeside(window);
    show();
    raise();
}

void TimeSignalView::follow(const QWidget& window)
{
    if (isVisible() && m_besideWindow)
        placeBeside(window);
}

void TimeSignalView::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // The window manager framing the view moves its frame, not its inside.
    if (geometry().topLeft() != m_placed)
        m_besideWindow = false;
}

void TimeSignalView::placeBeside(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    // The window's own frame is not known before it is shown: the main window's stands in.
    const QSize border = frame.size() - window.size();
    QSize wanted = zoomedSize();
    QPoint corner(frame.right() + 1, frame.top());
    if (const QScreen* shownOn = window.screen()) {
        const QRect room = shownOn->availableGeometry();
        const int right = room.right() - frame.right() - border.width();
        const int left = frame.left() - room.left() - border.width();
        // Beside the window as wide as it should be, or narrower on the roomier side; only
        // where neither side has room for half of it does it lie over the window's edge.
        const int width = wanted.width();
        if (right < width && left >= std::min(width, right)) {
            wanted.setWidth(std::min(width, left));
            corner.setX(frame.left() - wanted.width() - border.width());
        } else {
            wanted.setWidth(std::min(width, std::max(right, 0)));
        }
        if (wanted.width() < width / 2) {
            wanted.setWidth(width);
            corner.setX(room.right() + 1 - width - border.width());
        }
        corner.setY(std::clamp(
            corner.y(), room.top(),
            std::max(room.top(), room.bottom() + 1 - wanted.height() - border.height())));
    }
    // Placed by its inside, which is all a window not yet framed has: a frame like the main
    // window's then lies where the corner is, and the title bar stays on the screen.
    m_placed = corner + (window.geometry().topLeft() - frame.topLeft());
    m_besideWindow = true;
    setGeometry(QRect(m_placed, wanted));
}

void TimeSignalView::paintPicture(QPainter& painter, const QRectF& target,
                                  const TimeSignalStyle& style) const
{
    paintTimeSignals(painter, target, m_scene, style);
    paintTimeCursor(painter, target, m_scene, style);
}

QSize TimeSignalView::pictureSize(int width) const
{
    const double shape = double(std::max(1, height())) / std::max(1, this->width());
    return {width, std::max(1, static_cast<int>(std::lround(width * shape)))};
}

QImage TimeSignalView::picture(int width, bool worksheet) const
{
    QImage image(pictureSize(width), QImage::Format_RGB32);
    QPainter painter(&image);
    paintPicture(painter, QRectF(image.rect()),
                 styleFor(double(width) / kTimeSignalsWidth, 1, worksheet));
    return image;
}

bool TimeSignalView::save(const QString& path, int width, QString* error, bool worksheet) const
{
    const PictureExporter::Source source{
        pictureSize(width), QStringLiteral("Zeitverläufe"), formulaLines(m_scene).join('\n'),
        [&] { return picture(width, worksheet); },
        [&](QPainter& painter, const QRectF& target) {
            paintPicture(painter, target,
                         styleFor(double(width) / kTimeSignalsWidth, 1, worksheet));
        }};
    return PictureExporter::write(path, source, error);
}

void TimeSignalView::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    const QSize device = (QSizeF(size()) * ratio).toSize();
    if (m_signals.size() != device || m_signals.devicePixelRatio() != ratio) {
        m_signals = QImage(device, QImage::Format_RGB32);
        m_signals.setDevicePixelRatio(ratio);
        m_signalsCurrent = false;
    }
    const TimeSignalStyle style = styleFor(m_zoom, ratio, false);
    if (!m_signalsCurrent) {
        QPainter painter(&m_signals);
        paintTimeSignals(painter, QRectF(rect()), m_scene, style);
        m_signalsCurrent = true;
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_signals);
    paintTimeCursor(painter, QRectF(rect()), m_scene, style);
}

void TimeSignalView::resizeEvent(QResizeEvent* event)
{
    m_signalsCurrent = false;
    QWidget::resizeEvent(event);
}

void TimeSignalView::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closed();
}

void TimeSignalView::keyPressEvent(QKeyEvent* event)
{
    // Escape puts it away, as it does the help.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace korvelian
