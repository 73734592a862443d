#pragma once

#include "event.h"
#include "handlers/windowoperations.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace korvelian {

class Form1;

// The controls' values where no toolkit holds them, so that the export without a window, the
// tests' recording fake and the browser edition start as the layout table has the controls and
// answer a change as the window's controls do: a Change runs its handler nested in the set,
// and only when the value differs, since handlers set the very boxes and bars they react to;
// after endProgram nothing is delivered, as no handler may run after the end. No Qt and no
// thread, so that it builds for WebAssembly, where one thread runs everything; a host with
// threads calls it from one of them only.
class ControlState : public WindowOperations
{
public:
    ControlState();

    // Where the Change events go; until this is set, none goes anywhere.
    void deliverTo(Form1& form);
    void deliverTo(std::function<void(Event)> receiver);

    std::string text(TextBox box) override;
    void setText(TextBox box, const std::string& text) override;
    void setTextInUse(TextBox box, bool inUse) override;
    int checkValue() override;
    void setCheckValue(int value) override;
    std::int16_t scrollValue(ScrollBar bar) override;
    void setScrollValue(ScrollBar bar, std::int16_t value) override;
    void endProgram() override;

    // A window with nothing on show: a host overrides what it draws, shows and waits for.
    void setFrame(Picture, float, float, float, float) override {}
    void clear(Picture) override {}
    void drawSegment(Picture, float, float, float, float, Colour) override {}
    void drawFigure(Picture, const Parameter&, double, Colour) override {}
    void drawBox(Picture, float, float, float, float) override {}
    void setShapeLeft(Shape, float) override {}
    void setShapeTop(Shape, float) override {}
    void bringToFront(Shape) override {}
    void setLineEnd(OverlayLine, LineEnd, float) override {}
    void beamAt(double, const Parameter&) override {}
    void beamStopped() override {}
    void msgBox(const std::string&, const std::string&) override {}
    void doEvents() override {}
    double clock() override { return 0; }
    void sleep(double) override {}

    // What the controls show, for a host to paint them; reading is no window operation.
    const std::string& shownText(TextBox box) const;
    std::int16_t shownValue(ScrollBar bar) const;
    int shownCheck() const { return m_check; }
    bool inUse(TextBox box) const;
    // Whether every box holds what the figure is drawn with.
    bool allInUse() const;

    // A value put in place without its Change: a bar's thumb during a drag, which its Scroll
    // events report, or a scene a test sets up.
    void putText(TextBox box, std::string text);
    void putValue(ScrollBar bar, std::int16_t value);

protected:
    void deliver(Event event);

private:
    std::array<std::string, 4> m_texts;
    std::array<std::int16_t, 4> m_values;
    std::array<bool, 4> m_inUse{{true, true, true, true}};
    int m_check = 0;
    bool m_ended = false;
    std::function<void(Event)> m_receiver;
};

} // namespace korvelian
