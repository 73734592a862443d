#pragma once

#include "form/event.h"
#include "scene/overviewplate.h"
#include "viewsettings.h"

#include <QHash>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QScrollBar;

namespace korvelian {

class Classroom;
class DestroyWatch;
class Form1;
class PresetMenus;
class QtWindowOperations;
class ScreenArea;
class ScrollReadout;
class TimeSignalView;
class LegendWindow;
class ToneLoader;
class ViewActions;
class ViewOptions;
class WindowZoom;
class ZoomedStyle;

// Form1 on the screen: builds the controls from the layout table, hands every control
// event to the handlers and runs the start-up sequence before it is first shown. Its zoom,
// the views of the screen's menu and the menu itself are parts of their own, which it owns
// and joins.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    // exitProgram ends the process at once; tests pass one that returns.
    explicit MainWindow(std::function<void()> exitProgram = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    Form1& form() { return *m_form; }
    WindowZoom& zoom() { return *m_zoom; }
    ViewOptions& viewOptions() { return *m_viewOptions; }
    ViewActions& viewActions() { return *m_viewActions; }
    PresetMenus& presetMenus() { return *m_presetMenus; }
    ScrollReadout& readout() { return *m_readout; }
    TimeSignalView& timeSignals() { return *m_timeSignals; }
    Classroom& classroom() { return *m_classroom; }

    // Starts with the zoom, the views of the screen's menu and the base frequency of the last
    // run, the zoom brought down to what fits this screen, and remembers every choice of them
    // from now on; the views in forThisRun (from the command line) are on for this run without
    // being remembered.
    void restoreView(const std::vector<ViewOption>& forThisRun = {});

    // The overview plate at the parameters in use, as the screen draws them.
    OverviewPlate plate(OverviewPlate::Form form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The readout, the preset menus, the views and the screen's menu, the legend.
    void createViews(ScreenArea& screen, const std::array<QScrollBar*, 4>& bars);
    void connectEvents();
    void handle(Event event);
    // Places and sizes every control of the layout table at the zoom, with the windows that
    // go along with it.
    void layOut(double zoom, QPoint origin);
    void joinViews();

    // Declared before the form, whose sound plays through it, so that it goes after the form.
    std::unique_ptr<ToneLoader> m_tone;
    std::unique_ptr<QtWindowOperations> m_ops;
    std::unique_ptr<Form1> m_form;
    std::unique_ptr<DestroyWatch> m_destroyWatch;
    QHash<QObject*, Event> m_hintEvents;
    ZoomedStyle* m_zoomedStyle = nullptr;
    WindowZoom* m_zoom = nullptr;
    ScrollReadout* m_readout = nullptr;
    PresetMenus* m_presetMenus = nullptr;
    ViewOptions* m_viewOptions = nullptr;
    ViewActions* m_viewActions = nullptr;
    TimeSignalView* m_timeSignals = nullptr;
    LegendWindow* m_legend = nullptr;
    // "♪ Ton" while the sound plays: a class that hears nothing sees why it should.
    QLabel* m_soundMark = nullptr;
    Classroom* m_classroom = nullptr;
    bool m_probedSound = false;
};

} // namespace korvelian
