#pragma once

#include "event.h"
#include "overviewplate.h"
#include "viewsettings.h"

#include <QHash>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QScreen;
class QTimer;

namespace korvelian {

class DestroyWatch;
class Form1;
class PresetMenus;
class QtWindowOperations;
class ScrollReadout;
class TimeSignalView;
class LegendWindow;
class ToneStream;
class ViewActions;
class ZoomedStyle;
struct ControlLayout;

// Form1 on the screen: builds the controls from the layout table, hands every control
// event to the handlers and runs the start-up sequence before it is first shown.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    // exitProgram ends the process at once; tests pass one that returns.
    explicit MainWindow(std::function<void()> exitProgram = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    Form1& form() { return *m_form; }
    ViewActions& viewActions() { return *m_viewActions; }
    PresetMenus& presetMenus() { return *m_presetMenus; }
    ScrollReadout& readout() { return *m_readout; }

    // The whole window scales by the zoom: every control of the layout table, the fonts, the
    // pictures and their lines. Once the window is on a screen (restoreView, show) the whole
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
    // Starts with the zoom, the views of the screen's menu and the base frequency of the last
    // run, the zoom brought down to what fits this screen, and remembers every choice of them
    // from now on; yUp (from the command line) turns the orientation up for this run without
    // being remembered.
    void restoreView(bool yUp = false);
    // Turns a view of the screen's menu on or off; remembered once restoreView() ran.
    void setOption(ViewOption option, bool on);
    void setReadingAid(bool on) { setOption(ViewOption::ReadingAid, on); }
    // The screen's orientation: y growing upward as on an oscilloscope, or downward as the
    // frame is set (the default). Everything on the screen and in its pictures follows.
    void setYUp(bool on) { setOption(ViewOption::YUp, on); }
    // "Ton": the two oscillations on the left and right channel; off at every start.
    void setSoundOn(bool on);
    void setBaseFrequency(int hertz);
    void setDriftSecondsPerTurn(double seconds);
    TimeSignalView& timeSignals() { return *m_timeSignals; }

    // The overview plate at the parameters in use, as the screen draws them.
    OverviewPlate plate(OverviewPlate::Form form);

signals:
    void fullScreenChanged(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* createControl(const ControlLayout& entry, QWidget* parent);
    void setTabOrder();
    void connectEvents();
    void handle(Event event);
    // Whether the normal window asks for the size of its zoom, or awaits it from the window
    // manager.
    enum class Sizing { Ask, Await };
    void applyZoom(Sizing sizing = Sizing::Ask);
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

    // Declared before the form, whose sound plays through it, so that it goes after the form.
    std::unique_ptr<ToneStream> m_tone;
    std::unique_ptr<QtWindowOperations> m_ops;
    std::unique_ptr<Form1> m_form;
    std::unique_ptr<DestroyWatch> m_destroyWatch;
    QHash<QObject*, Event> m_hintEvents;
    ScrollReadout* m_readout = nullptr;
    PresetMenus* m_presetMenus = nullptr;
    ViewActions* m_viewActions = nullptr;
    TimeSignalView* m_timeSignals = nullptr;
    LegendWindow* m_legend = nullptr;
    // The time signals open beside the window once it is shown.
    bool m_timeSignalsOnShow = false;
    ZoomedStyle* m_zoomedStyle = nullptr;
    int m_zoomPercent = 100;
    int m_chosenZoom = 100;
    bool m_fitToScreen = false;
    // Where the normal window stood before full screen: the window manager's late answers to
    // quick changes move it too.
    std::optional<QPoint> m_normalPlace;
    int m_placeAttempts = 0;
    std::optional<QSize> m_normalFrame;
    QTimer* m_settling = nullptr;
    bool m_wantFullScreen = false;
    bool m_requestingState = false;
    QMetaObject::Connection m_screenWatch;
    bool m_rememberView = false;
    bool m_probedSound = false;
    bool m_applyingZoom = false;
    double m_appliedRatio = 0;
};

} // namespace korvelian
