#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>

#include <functional>
#include <optional>

class QScreen;
class QTimer;
class QWidget;

namespace korvelian {

// The zoom of the main window and everything that keeps the whole window with its title bar
// on its screen: the zoom chosen, full screen and maximized, a drag of the frame, the window
// manager's late answers to quick changes, a screen that changes or leaves less room (its
// menus and dialogs follow it through DialogPlacement). The window forwards its show, move,
// resize and state events here; what a zoom means for its controls it does itself, in the
// layOut it hands over.
class WindowZoom : public QObject
{
    Q_OBJECT

public:
    // Places the window's controls at a zoom, the zoomed client area's top left corner at
    // origin (the middle of the room in full screen and maximized).
    using LayOut = std::function<void(double zoom, QPoint origin)>;

    // Lays the window out at 100 % at once.
    WindowZoom(QWidget& window, LayOut layOut);

    // The whole window scales by the zoom: every control of the layout table, the fonts, the
    // pictures and their lines. Once the window is on a screen (restore, show) the whole
    // window with its title bar stays on that screen in every state: the zoom shown is the one
    // chosen as far as it fits, maximized the largest that fits, full screen the largest that
    // fills the screen. A window never shown takes any zoom, for pictures and measurements.
    int zoomPercent() const { return m_zoomPercent; }
    // Chooses the zoom of the window in its normal state (Ctrl+−, Ctrl+0, a drag of the
    // frame); full screen and maximized keep theirs, and leaving them brings it back.
    void setZoomPercent(int percent);
    // The next zoom step up, but no further than the whole window still fits on its screen:
    // beyond that the hint line and the buttons would lie off the screen.
    void zoomIn();
    // The largest zoom at which the whole window still fits on its screen.
    int largestFittingZoom() const;
    // Full screen at the largest zoom that fits; leaving it brings back the zoom and the place.
    void setFullScreen(bool on);
    // F11: into full screen or out of it.
    void toggleFullScreen();
    // Presentation: full screen puts the window at the display's left edge, so that the room
    // beside it is one margin wide enough for what stands there.
    void setPresenting(bool on);
    // Starts with the zoom of the last run, brought down to what fits this screen, and
    // remembers every choice from now on.
    void restore();

    void windowShown();
    void windowMoved();
    void windowResized();
    void windowStateChanged();

signals:
    void fullScreenChanged(bool on);

private:
    // Whether the normal window asks for the size of its zoom, or awaits it from the window
    // manager.
    enum class Sizing { Ask, Await };
    void apply(Sizing sizing = Sizing::Ask);
    // The zoom of the state the window is in, applied.
    void showZoom();
    int stateZoom() const;
    void requestFullScreen(bool on);
    void settle();
    void watchScreen(QScreen* screen);
    void followScreen(QScreen* screen);
    QSize frameShare() const;
    void noteFrame();
    void keepOnScreen();

    QWidget& m_window;
    LayOut m_layOut;
    int m_zoomPercent = 100;
    int m_chosenZoom = 100;
    bool m_fitToScreen = false;
    // Where the normal window stood before full screen: the window manager's late answers to
    // quick changes move it too.
    std::optional<QPoint> m_normalPlace;
    int m_placeAttempts = 0;
    std::optional<QSize> m_normalFrame;
    // How often keepOnScreen has looked again for a place on the screen named.
    int m_keepAttempts = 0;
    QTimer* m_settling = nullptr;
    bool m_wantFullScreen = false;
    bool m_requestingState = false;
    QMetaObject::Connection m_screenWatch;
    bool m_remember = false;
    bool m_applying = false;
    bool m_presenting = false;
    double m_appliedRatio = 0;
};

} // namespace korvelian
