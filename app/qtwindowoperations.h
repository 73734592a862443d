#pragma once

#include "handlers/windowoperations.h"
#include "paintinpause.h"

#include <QElapsedTimer>

#include <array>
#include <functional>

class QCheckBox;
class QLineEdit;
class QScrollBar;
class QWidget;

namespace korvelian {

class PictureArea;
class ScreenArea;
class TimeSignalView;

// The one adapter from the window operations to the Qt widgets of the main window.
class QtWindowOperations : public WindowOperations
{
public:
    struct Controls
    {
        QWidget* window = nullptr;
        ScreenArea* screen = nullptr; // Picture::Screen
        // The window beside the screen with x(t) and y(t); it follows the screen's figure.
        TimeSignalView* timeSignals = nullptr;
        PictureArea* speedBar = nullptr;         // Picture::SpeedBar
        std::array<QLineEdit*, 4> texts{};       // in the order of TextBox
        std::array<QScrollBar*, 4> scrollBars{}; // in the order of ScrollBar
        QCheckBox* stop = nullptr;               // "Stop", which ends the animation
    };

    // exitProgram ends the process; when it returns (tests), the adapter falls silent:
    // it draws nothing more, pumps nothing and reports the stop request as set.
    QtWindowOperations(const Controls& controls, std::function<void()> exitProgram);

    void setFrame(Picture picture, float x1, float y1, float x2, float y2) override;
    void clear(Picture picture) override;
    void drawSegment(Picture picture, float x1, float y1, float x2, float y2,
                     Colour colour) override;
    void drawFigure(Picture picture, const Parameter& p, double end, Colour colour) override;
    void drawBox(Picture picture, float x1, float y1, float x2, float y2) override;

    void setShapeLeft(Shape shape, float left) override;
    void setShapeTop(Shape shape, float top) override;
    void bringToFront(Shape shape) override;
    void setLineEnd(OverlayLine line, LineEnd end, float value) override;
    void beamAt(double t, const Parameter& p) override;
    void beamStopped() override;

    std::string text(TextBox box) override;
    void setText(TextBox box, const std::string& text) override;
    void setTextInUse(TextBox box, bool inUse) override;
    int checkValue() override;
    void setCheckValue(int value) override;
    std::int16_t scrollValue(ScrollBar bar) override;
    void setScrollValue(ScrollBar bar, std::int16_t value) override;

    void msgBox(const std::string& prompt, const std::string& title) override;
    void doEvents() override;
    double clock() override;
    void sleep(double seconds) override;
    void endProgram() override;

    bool ended() const { return m_ended; }

private:
    PictureArea* area(Picture picture) const;

    Controls m_controls;
    std::function<void()> m_exitProgram;
    QElapsedTimer m_clock;
    bool m_ended = false;
    std::array<bool, 4> m_textsInUse{{true, true, true, true}};
    PaintInPause m_paintInPause;
};

} // namespace korvelian
