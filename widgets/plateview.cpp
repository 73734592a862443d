#include "plateview.h"

#include "picture/scenepainter.h"
#include "scene/menuwords.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

// The share of the screen's room the plate's window takes in its tighter direction, what a
// title bar and a frame leave of it.
constexpr double kRoomShare = 0.94;

} // namespace

PlateView::PlateView(QWidget& window) : QWidget(&window, Qt::Window), m_window(window)
{
    setObjectName("plateView");
    setWindowTitle(QString::fromUtf8(kPlateTitle));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlateView::showPlate(OverviewPlate plate, bool worksheet)
{
    m_plate = std::move(plate);
    m_worksheet = worksheet;
    m_image = {};
    if (!isVisible()) {
        // The plate's shape, as large as the screen's room allows with the window's frame
        // around it: for the last row of a class, four fifths of a 1080 display were too small.
        const QScreen* screen = m_window.screen();
        const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        const QSize natural = PlateExporter::size(*m_plate, PlateExporter::kDefaultWidth);
        const double scale = std::min(kRoomShare * room.width() / natural.width(),
                                      kRoomShare * room.height() / natural.height());
        const QSize size(static_cast<int>(natural.width() * scale),
                         static_cast<int>(natural.height() * scale));
        setGeometry(
            QRect(QPoint(), size).translated(room.center() - QRect(QPoint(), size).center()));
        show();
    }
    update();
    raise();
    activateWindow();
}

QRect PlateView::plateRect() const
{
    if (!m_plate)
        return {};
    // The texts do not grow quite in step with the width: the height is the plate's own.
    const QSize natural = PlateExporter::size(*m_plate, PlateExporter::kDefaultWidth);
    int plateWidth = std::max(1, std::min(width(), height() * natural.width() / natural.height()));
    QSize size = PlateExporter::size(*m_plate, plateWidth);
    while (size.height() > height() && plateWidth > 1)
        size = PlateExporter::size(*m_plate, --plateWidth);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void PlateView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(OverviewPlate::ground(m_worksheet)));
    if (!m_plate)
        return;
    // A new size, a new plate, or a screen of another scale.
    const double ratio = devicePixelRatioF();
    if (m_image.isNull() || m_image.devicePixelRatio() != ratio) {
        m_target = plateRect();
        m_image = PlateExporter::image(
            *m_plate, static_cast<int>(std::lround(m_target.width() * ratio)), m_worksheet);
        m_image.setDevicePixelRatio(ratio);
    }
    painter.drawImage(m_target.topLeft(), m_image);
}

void PlateView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_image = {};
}

void PlateView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

} // namespace korvelian
