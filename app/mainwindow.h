#pragma once

#include "event.h"

#include <QHash>
#include <QWidget>

#include <functional>
#include <memory>

namespace korvelian {

class DestroyWatch;
class Form1;
class PresetMenus;
class QtWindowOperations;
class ScrollReadout;
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
    // pictures and their lines.
    int zoomPercent() const { return m_zoomPercent; }
    void setZoomPercent(int percent);
    // The next zoom step up, but no further than the whole window still fits on its screen:
    // beyond that the hint line and the buttons would lie off the screen.
    void zoomIn();
    // Full screen at the largest zoom that fits; leaving it brings the zoom back.
    void setFullScreen(bool on);
    // Starts with the zoom, the reading aid, the orientation and the base frequency of the
    // last run and remembers every change of them from now on; yUp (from the command line)
    // turns the orientation up for this run without being remembered.
    void restoreView(bool yUp = false);
    void setReadingAid(bool on);
    // The screen's orientation: y growing upward as on an oscilloscope, or downward as the
    // frame is set (the default). Everything on the screen and in its pictures follows.
    void setYUp(bool on);
    // "Ton": the two oscillations on the left and right channel; off at every start.
    void setSoundOn(bool on);
    void setBaseFrequency(int hertz);

signals:
    void fullScreenChanged(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* createControl(const ControlLayout& entry, QWidget* parent);
    void setTabOrder();
    void connectEvents();
    void handle(Event event);
    void applyZoom();
    void keepSizeOnScreen();
    int largestFittingZoom() const;

    // Declared before the form, whose sound plays through it, so that it goes after the form.
    std::unique_ptr<ToneStream> m_tone;
    std::unique_ptr<QtWindowOperations> m_ops;
    std::unique_ptr<Form1> m_form;
    std::unique_ptr<DestroyWatch> m_destroyWatch;
    QHash<QObject*, Event> m_hintEvents;
    ScrollReadout* m_readout = nullptr;
    PresetMenus* m_presetMenus = nullptr;
    ViewActions* m_viewActions = nullptr;
    ZoomedStyle* m_zoomedStyle = nullptr;
    int m_zoomPercent = 100;
    int m_zoomBeforeFullScreen = 100;
    bool m_rememberView = false;
    bool m_probedSound = false;
    bool m_applyingZoom = false;
    double m_appliedRatio = 0;
};

} // namespace korvelian
