#include "windowzoom.h"

#include "scene/presentationpanel.h"

#include "viewsettings.h"
#include "windowframe.h"
#include "widgets/zoompolicy.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace korvelian {

namespace {

// How long after a change of state the window manager is taken to have answered.
constexpr int kSettleMilliseconds = 500;
// A window between monitors of different scale looks for its place this often, this far apart.
constexpr int kKeepAttempts = 20;
constexpr int kKeepRetryMilliseconds = 100;

} // namespace

WindowZoom::WindowZoom(QWidget& window, LayOut layOut)
    : QObject(&window), m_window(window), m_layOut(std::move(layOut))
{
    m_settling = new QTimer(this);
    m_settling->setSingleShot(true);
    m_settling->setInterval(kSettleMilliseconds);
    connect(m_settling, &QTimer::timeout, this, &WindowZoom::settle);
    apply();
}

void WindowZoom::windowShown()
{
    if (QWindow* window = m_window.windowHandle()) {
        connect(window, &QWindow::screenChanged, this, &WindowZoom::followScreen,
                Qt::UniqueConnection);
        watchScreen(window->screen());
    }
    m_fitToScreen = true;
    showZoom();
}

void WindowZoom::apply(Sizing sizing)
{
    const double zoom = m_zoomPercent / 100.0;
    const QSize client = ZoomPolicy::windowSize(m_zoomPercent);
    m_applying = true;
    m_appliedRatio = m_window.devicePixelRatioF();
    // What the window's menus, message boxes and dialogs take (see DialogPlacement).
    m_window.setFont(ZoomPolicy::zoomed(QApplication::font(), zoom));
    if (m_window.isFullScreen()) {
        m_window.setMinimumSize(0, 0);
        m_window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        // A screen too small for 100 % holds the window at less, and a drag goes no lower.
        m_window.setMinimumSize(
            ZoomPolicy::windowSize(std::min(ZoomPolicy::kSmallest, m_zoomPercent)));
        // Neither a drag of the frame nor the window manager's maximize takes the window beyond
        // what fits on its screen.
        m_window.setMaximumSize(
            ZoomPolicy::windowSize(m_fitToScreen ? largestFittingZoom() : ZoomPolicy::kLargest));
        if (!m_window.isMaximized() && sizing == Sizing::Ask) {
            m_window.resize(client);
            if (m_fitToScreen)
                keepOnScreen();
        }
    }
    // Full screen or maximized: the zoomed window in the middle of the room it has, or at its
    // left edge in presentation.
    const bool presenting = m_presenting && m_window.isFullScreen();
    const QPoint origin =
        m_window.isFullScreen() || m_window.isMaximized()
            ? QPoint(presenting ? 0 : std::max(0, (m_window.width() - client.width()) / 2),
                     std::max(0, (m_window.height() - client.height()) / 2))
            : QPoint();
    m_layOut(zoom, origin);
    m_applying = false;
}

int WindowZoom::stateZoom() const
{
    if (m_window.isFullScreen()) {
        const QScreen* shownOn = m_window.screen();
        QSize room = shownOn ? shownOn->size() : m_window.size();
        // On a display narrower than 16 : 9 the controls give up some of their height, so
        // that the margin beside them still holds the views.
        if (m_presenting)
            room.setWidth(static_cast<int>(room.width() * (1 - kPresentationMarginShare)));
        return ZoomPolicy::fitting(room);
    }
    if (!m_fitToScreen)
        return m_chosenZoom;
    if (m_window.isMaximized())
        return largestFittingZoom();
    return std::min(m_chosenZoom, largestFittingZoom());
}

void WindowZoom::showZoom()
{
    m_zoomPercent = stateZoom();
    apply();
}

void WindowZoom::setZoomPercent(int percent)
{
    // Full screen and maximized show the zoom of their state; a choice made there would not be
    // seen.
    if (m_window.isFullScreen() || m_window.isMaximized())
        return;
    m_chosenZoom = ZoomPolicy::clamped(percent);
    showZoom();
    if (m_remember)
        ViewSettings::setZoomPercent(m_chosenZoom);
}

void WindowZoom::zoomIn()
{
    const int larger = ZoomPolicy::larger(m_zoomPercent);
    const int next = m_fitToScreen ? std::min(larger, largestFittingZoom()) : larger;
    // At the limit the zoom chosen on a larger screen stays, for the way back there.
    if (next > m_zoomPercent)
        setZoomPercent(next);
}

int WindowZoom::largestFittingZoom() const
{
    const QScreen* shownOn = m_window.screen();
    if (!shownOn)
        return ZoomPolicy::kLargest;
    return ZoomPolicy::fitting(shownOn->availableGeometry().size() - frameShare());
}

// The window manager's frame takes its share of the screen too. Until the window has shown
// with one (before it is first shown, or on a platform that does not tell), a title bar and
// borders are counted as the style draws them. Full screen and maximized it may have none;
// the normal window it goes back to has.
QSize WindowZoom::frameShare() const
{
    const QSize frame = m_window.frameGeometry().size() - m_window.size();
    if (m_window.isVisible() && !m_window.isFullScreen() && !m_window.isMaximized() &&
        !frame.isNull())
        return frame;
    if (m_normalFrame)
        return *m_normalFrame;
    return WindowFrame::size(WindowFrame::estimated(m_window));
}

// The frame comes some time after the window is shown; the room it leaves is counted anew.
void WindowZoom::noteFrame()
{
    const QSize frame = m_window.frameGeometry().size() - m_window.size();
    if (!m_window.isVisible() || m_window.isFullScreen() || m_window.isMaximized() ||
        frame.isNull() || frame == m_normalFrame)
        return;
    m_normalFrame = frame;
    if (!m_applying)
        showZoom();
}

// A window that grows keeps its place as far as it still fits on the screen, else it moves
// up and to the left, so that nothing of it lies beyond the edges.
void WindowZoom::keepOnScreen()
{
    const QScreen* shownOn = m_window.screen();
    if (!shownOn || !m_window.isVisible())
        return;
    // Between monitors of different scale the toolkit may still name the screen the window has
    // just left, or its place may still be reckoned at the other scale. Held to the wrong
    // screen, the window would be thrown onto it, and the change of screen that follows would
    // throw it back, without end: it looks again a little later, until its place lies on the
    // screen named.
    const QRect frame = m_window.frameGeometry();
    const QScreen* under = QGuiApplication::screenAt(frame.center());
    if ((under && under != shownOn) || !shownOn->geometry().intersects(frame)) {
        if (m_keepAttempts < kKeepAttempts) {
            ++m_keepAttempts;
            QTimer::singleShot(kKeepRetryMilliseconds, this, &WindowZoom::keepOnScreen);
        }
        return;
    }
    m_keepAttempts = 0;
    const QRect room = shownOn->availableGeometry();
    const QSize whole = m_window.size() + frameShare();
    const QPoint at = m_window.pos();
    const QPoint place(
        std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - whole.width())),
        std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - whole.height())));
    if (place != at)
        m_window.move(place);
}

void WindowZoom::setPresenting(bool on)
{
    m_presenting = on;
    if (m_window.isFullScreen())
        apply();
}

void WindowZoom::toggleFullScreen()
{
    // Quick presses count from the state last asked for, not from one the window manager has
    // not answered yet: an even number of them ends where they began.
    setFullScreen(!(m_settling->isActive() ? m_wantFullScreen : m_window.isFullScreen()));
}

void WindowZoom::setFullScreen(bool on)
{
    // The place to come back to is the one before the first of several quick presses.
    if (!m_settling->isActive() && !m_window.isFullScreen() && !m_window.isMaximized() &&
        m_window.isVisible())
        m_normalPlace = m_window.geometry().topLeft();
    m_placeAttempts = 0;
    requestFullScreen(on);
}

void WindowZoom::requestFullScreen(bool on)
{
    m_wantFullScreen = on;
    m_settling->start();
    if (on == m_window.isFullScreen())
        return;
    // Without limits before the window manager sees the request: some keep a full-screen
    // window within the size the window allows.
    if (on) {
        m_window.setMinimumSize(0, 0);
        m_window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    Qt::WindowStates state = m_window.windowState();
    state.setFlag(Qt::WindowFullScreen, on);
    m_requestingState = true;
    m_window.setWindowState(state);
    m_requestingState = false;
}

// While the window manager answers quick changes of state, the window's state follows each of
// its late answers, and it may even end in another state than the one asked for last; it may
// also move the normal window. Once it is quiet, the window takes the state, the zoom and the
// place asked for.
void WindowZoom::settle()
{
    if (m_window.isFullScreen() != m_wantFullScreen) {
        requestFullScreen(m_wantFullScreen);
        return;
    }
    if (!m_window.isVisible() || m_window.isFullScreen() || m_window.isMaximized())
        return;
    showZoom();
    // The place of the window itself, not of its frame: just after full screen the toolkit
    // may not know the frame yet. The window manager may still send a place of its own, from
    // before the last change; the place is looked at again once it is quiet.
    if (m_normalPlace && m_window.geometry().topLeft() != *m_normalPlace && m_placeAttempts < 3) {
        ++m_placeAttempts;
        m_window.setGeometry(QRect(*m_normalPlace, m_window.size()));
        m_settling->start();
        return;
    }
    m_normalPlace.reset();
}

// The zoom follows the state the window is in now, wherever the change comes from (the F11
// entry, the window manager's maximize or its own full-screen key, which would otherwise leave
// the window at the full screen's zoom and the entry ticked) and whatever the event says the
// state was before, which after quick changes can be out of date.
void WindowZoom::windowStateChanged()
{
    // A change from outside, not amid the answers to the window's own requests, is the user's
    // at the window manager: F11 counts from there.
    if (!m_requestingState && !m_settling->isActive())
        m_wantFullScreen = m_window.isFullScreen();
    m_settling->start();
    // Back in the normal state, the window manager gives back the size and the place from
    // before; asking for the size now would send the present place with it.
    m_zoomPercent = stateZoom();
    apply(Sizing::Await);
    emit fullScreenChanged(m_window.isFullScreen());
}

void WindowZoom::restore()
{
    // A zoom remembered from a larger screen, a projector's, is brought down to this one, and
    // comes back there.
    m_fitToScreen = true;
    m_chosenZoom = ZoomPolicy::clamped(ViewSettings::zoomPercent());
    showZoom();
    m_remember = true;
}

void WindowZoom::windowMoved()
{
    noteFrame();
}

void WindowZoom::windowResized()
{
    noteFrame();
    if (m_applying)
        return;
    if (m_window.isFullScreen() || m_window.isMaximized() ||
        m_window.devicePixelRatioF() != m_appliedRatio) {
        showZoom();
        return;
    }
    if (m_window.size() == ZoomPolicy::windowSize(m_zoomPercent))
        return;
    // Right after a change of state, or beyond the limits that hold a drag of the frame, a new
    // size is no drag but the window manager's late answer to a state the window has left
    // again (F11 pressed twice quickly): the window takes back its size.
    const QSize smallest = m_window.minimumSize();
    const QSize largest = m_window.maximumSize();
    const QSize size = m_window.size();
    if (m_settling->isActive() || size.width() < smallest.width() ||
        size.height() < smallest.height() || size.width() > largest.width() ||
        size.height() > largest.height()) {
        // On a busy machine the answers come slowly: the window settles once they stop.
        if (m_settling->isActive())
            m_settling->start();
        apply();
        return;
    }
    // The user dragged the frame: the zoom follows, and the window takes its exact shape.
    setZoomPercent(std::min(ZoomPolicy::dragged(size, m_zoomPercent), largestFittingZoom()));
}

// A panel that appears or a resolution that changes leaves less room as well.
void WindowZoom::watchScreen(QScreen* screen)
{
    disconnect(m_screenWatch);
    if (screen) {
        m_screenWatch =
            connect(screen, &QScreen::availableGeometryChanged, this, &WindowZoom::showZoom);
    }
}

void WindowZoom::followScreen(QScreen* screen)
{
    watchScreen(screen);
    // Between monitors of different scale the toolkit's late sizes at the other scale follow;
    // taken for a drag of the frame, they would make the other monitor's zoom the one chosen.
    // Until they stop the window takes back its size, and then the zoom of where it is.
    m_settling->start();
    // On a screen of another scale the window keeps its size in logical pixels, but the
    // toolkit leaves the native window and its size hints at the old device size, so most of
    // the window would be cut off. Setting the size limits afresh sends both again.
    if (!m_window.isFullScreen() && !m_window.isMaximized()) {
        const QSize logical = ZoomPolicy::windowSize(m_zoomPercent);
        m_applying = true;
        m_window.setFixedSize(logical + QSize(1, 1));
        m_window.setFixedSize(logical);
        m_applying = false;
    }
    // A smaller screen brings the zoom down to what fits there, a larger one back up to the
    // zoom chosen.
    showZoom();
}

} // namespace korvelian
