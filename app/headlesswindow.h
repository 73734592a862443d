#pragma once

#include "form/event.h"
#include "scene/overviewplate.h"
#include "scene/screenpicture.h"
#include "handlers/windowoperations.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace korvelian {

class Form1;

// The window operations without a window, for a picture the command line writes: the boxes
// and bars hold the layout table's start values and deliver their Change events to the form's
// handlers as the window's controls do, the screen's drawing is recorded into a picture the
// size of the screen at 100 %, and what only a shown window has (the speed bar, the beam and
// its overlays, the clock, message boxes) does nothing. The form has started up when the
// constructor returns, as the window's has before it is shown.
class HeadlessWindow final : public WindowOperations
{
public:
    HeadlessWindow();
    ~HeadlessWindow() override;

    Form1& form() { return *m_form; }
    // The screen's picture; its annotations and orientation are the caller's to set.
    ScreenPicture& screen() { return m_screen; }
    // The overview plate at the parameters in use, as the screen draws them.
    OverviewPlate plate(OverviewPlate::Form form);

    void setFrame(Picture picture, float x1, float y1, float x2, float y2) override;
    void clear(Picture picture) override;
    void drawSegment(Picture picture, float x1, float y1, float x2, float y2,
                     Colour colour) override;
    void drawFigure(Picture picture, const Parameter& p, double end, Colour colour) override;
    void drawBox(Picture picture, float x1, float y1, float x2, float y2) override;

    void setShapeLeft(Shape, float) override {}
    void setShapeTop(Shape, float) override {}
    void bringToFront(Shape) override {}
    void setLineEnd(OverlayLine, LineEnd, float) override {}
    void beamAt(double, const Parameter&) override {}
    void beamStopped() override {}

    std::string text(TextBox box) override;
    void setText(TextBox box, const std::string& text) override;
    void setTextInUse(TextBox box, bool inUse) override;
    int checkValue() override { return m_check; }
    void setCheckValue(int value) override { m_check = value; }
    std::int16_t scrollValue(ScrollBar bar) override;
    void setScrollValue(ScrollBar bar, std::int16_t value) override;

    void msgBox(const std::string&, const std::string&) override {}
    void doEvents() override {}
    double clock() override { return 0; }
    void sleep(double) override {}
    void endProgram() override { m_ended = true; }

private:
    void deliver(std::optional<Event> change);

    ScreenPicture m_screen;
    std::array<std::string, 4> m_texts;
    std::array<std::int16_t, 4> m_scrollValues;
    std::array<bool, 4> m_textsInUse{{true, true, true, true}};
    int m_check = 0;
    bool m_ended = false;
    std::unique_ptr<Form1> m_form;
};

} // namespace korvelian
