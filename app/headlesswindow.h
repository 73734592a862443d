#pragma once

#include "form/controlstate.h"
#include "scene/overviewplate.h"
#include "scene/screenpicture.h"

#include <memory>

namespace korvelian {

class Form1;

// The window operations without a window, for a picture the command line writes: the
// controls' state as the window starts, the screen's drawing recorded into a picture the size
// of the screen at 100 %, and what only a shown window has (the speed bar, the beam and its
// overlays, the clock, message boxes) doing nothing. The form has started up when the
// constructor returns, as the window's has before it is shown.
class HeadlessWindow final : public ControlState
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
    void setTextInUse(TextBox box, bool inUse) override;

private:
    ScreenPicture m_screen;
    std::unique_ptr<Form1> m_form;
};

// The overview plate at the parameters in use, drawn as this screen picture draws its figure:
// the window and the command line make the same plate.
OverviewPlate overviewPlate(OverviewPlate::Form plate, const ScreenPicture& screen, Form1& form,
                            WindowOperations& ops);

} // namespace korvelian
