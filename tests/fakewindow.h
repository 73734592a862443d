#pragma once

#include "form/controlstate.h"
#include "form/event.h"
#include "model/figurepoints.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace korvelian {

// Thrown by the fake's endProgram so that nothing after it runs, as with the real end.
struct ProgramEnded
{
};

// One recorded operation: its name, the control it addressed and its arguments.
struct Call
{
    std::string op;
    std::string target;
    std::vector<double> numbers;
    std::string text;

    // "drawSegment picBildschirm -2 0 2 0 9869055", "text txtZaehler", "setText txtkgV ' 6'"
    std::string str() const;
};

// A figure the screen was told to draw, as the handlers defined it.
struct DrawnFigure
{
    Parameter p;
    double end = 0;
    Colour colour = 0;

    // Its points from the product's own point code, as every picture of it draws them.
    std::vector<FloatPoint> points() const;
    // One fewer than its points, counted without computing them.
    int segments() const;
    bool operator==(const DrawnFigure& other) const;
};

// A recording stand-in for the window: the controls' state with every operation logged in
// order with its arguments, a clock that advances only by sleeping, and the n-th event pump
// running what the test scripted for it. A figure is logged as the one call it is.
class FakeWindow : public ControlState
{
public:
    void setFrame(Picture picture, float x1, float y1, float x2, float y2) override;
    void clear(Picture picture) override;
    void drawSegment(Picture picture, float x1, float y1, float x2, float y2,
                     Colour colour) override;
    // "drawFigure picBildschirm" with the amplitudes and phases of x and y, numerator,
    // denominator, end and colour.
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

    // What the user does, unrecorded: typing fires the box's Change like any change of its
    // text; a bar set so and a tick of Stop fire nothing.
    void type(TextBox box, const std::string& text) { ControlState::setText(box, text); }
    void setScroll(ScrollBar bar, std::int16_t value) { putValue(bar, value); }
    void setCheck(int value) { ControlState::setCheckValue(value); }
    void fire(Event event) { deliver(event); }
    // The four boxes at once, in the order of TextBox, without their Change.
    void putTexts(const std::array<std::string, 4>& texts);

    // The calls named op, in order; all calls as strings.
    std::vector<Call> callsOf(const std::string& op) const;
    std::vector<std::string> log() const;
    int count(const std::string& op) const;
    // The figures drawn into picBildschirm since its last clearing, and their segments.
    std::vector<DrawnFigure> figures() const;
    int figureSegmentCount() const;

    double now = 1000.0;
    // A sleep may end early: it advances the clock by at most this much.
    double sleepAtMost = 1e9;
    // Runs inside the n-th pump, counting from 0.
    std::function<void(int)> onPump;
    int pumps = 0;
    // A safety net against a test that never stops an animation.
    int maxPumps = 100000;
    std::vector<Call> calls;

private:
    void record(Call call) { calls.push_back(std::move(call)); }
};

std::string name(TextBox box);
std::string name(ScrollBar bar);
std::string name(Shape shape);

} // namespace korvelian
