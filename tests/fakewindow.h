#pragma once

#include "form/event.h"
#include "form/layout.h"
#include "handlers/windowoperations.h"

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

    // "drawSegment Bildschirm 0 0 1 1 ffffff", "text Zaehler", "setText kgV ' 6'"
    std::string str() const;
};

// A recording stand-in for the window: every operation is logged in order with its
// arguments, controls hold values a test can set, the clock advances only by sleeping, and
// the n-th event pump runs what the test scripted for it.
class FakeWindow : public WindowOperations
{
public:
    void setFrame(Picture picture, float x1, float y1, float x2, float y2) override;
    void clear(Picture picture) override;
    void drawSegment(Picture picture, float x1, float y1, float x2, float y2,
                     Colour colour) override;
    // Recorded as the line calls it stands for.
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

    // What the user does: typing fires the box's Change like any change of its text.
    void type(TextBox box, const std::string& text);
    void setScroll(ScrollBar bar, std::int16_t value)
    {
        scroll[static_cast<std::size_t>(bar)] = value;
    }
    void fire(Event event);

    // The calls named op, in order; all calls as strings.
    std::vector<Call> callsOf(const std::string& op) const;
    std::vector<std::string> log() const;
    int count(const std::string& op) const;
    // Segments drawn into picBildschirm since its last clearing.
    std::vector<Call> figureSegments() const;

    // The controls start as the layout table has them, as the window's do.
    std::array<std::string, 4> texts = startTexts();
    std::array<bool, 4> inUse{{true, true, true, true}};
    std::array<std::int16_t, 4> scroll = startValues();
    int check = 0;
    double now = 1000.0;
    // A sleep may end early: it advances the clock by at most this much.
    double sleepAtMost = 1e9;
    // Receives every event the fake raises itself (text Change notifications).
    std::function<void(Event)> notify;
    // Runs inside the n-th pump, counting from 0.
    std::function<void(int)> onPump;
    int pumps = 0;
    // A safety net against a test that never stops an animation.
    int maxPumps = 100000;
    // Off: segments are only counted, for drawings of millions of points.
    bool recordSegments = true;
    long segments = 0;
    std::vector<Call> calls;

private:
    void record(Call call) { calls.push_back(std::move(call)); }
};

std::string name(TextBox box);
std::string name(ScrollBar bar);
std::string name(Shape shape);

} // namespace korvelian
