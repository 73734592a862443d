#include "fakewindow.h"

#include "model/figurepoints.h"
#include "form/layout.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace korvelian {

namespace {

std::string name(Picture picture)
{
    return controlName(picture);
}

std::string name(OverlayLine line)
{
    return line == OverlayLine::DropToXAxis ? "Line2" : "Line3";
}

std::string name(LineEnd end)
{
    static const char* const names[] = {"X1", "Y1", "X2", "Y2"};
    return names[static_cast<int>(end)];
}

std::string number(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", value);
    return buffer;
}

} // namespace

std::string name(TextBox box)
{
    return controlName(box);
}

std::string name(ScrollBar bar)
{
    return controlName(bar);
}

std::string name(Shape shape)
{
    static const char* const names[] = {"Shape1", "Shape2", "Shape3"};
    return names[static_cast<int>(shape)];
}

std::string Call::str() const
{
    // Appended piece by piece: GCC 12 warns falsely on " " + string.
    std::string s = op;
    if (!target.empty())
        s.append(" ").append(target);
    for (double n : numbers)
        s.append(" ").append(number(n));
    if (!text.empty() || op == "setText")
        s.append(" '").append(text).append("'");
    return s;
}

void FakeWindow::setFrame(Picture picture, float x1, float y1, float x2, float y2)
{
    record({"setFrame", name(picture), {x1, y1, x2, y2}, {}});
}

void FakeWindow::clear(Picture picture)
{
    record({"clear", name(picture), {}, {}});
}

void FakeWindow::drawSegment(Picture picture, float x1, float y1, float x2, float y2, Colour colour)
{
    ++segments;
    if (recordSegments)
        record({"drawSegment", name(picture), {x1, y1, x2, y2, static_cast<double>(colour)}, {}});
}

void FakeWindow::drawFigure(Picture picture, const Parameter& p, double end, Colour colour)
{
    std::vector<FloatPoint> points;
    points.resize(figurePoints(p, end, points).count);
    for (std::size_t i = 1; i < points.size(); ++i)
        drawSegment(picture, points[i].x, points[i].y, points[i - 1].x, points[i - 1].y, colour);
}

void FakeWindow::drawBox(Picture picture, float x1, float y1, float x2, float y2)
{
    record({"drawBox", name(picture), {x1, y1, x2, y2}, {}});
}

void FakeWindow::setShapeLeft(Shape shape, float left)
{
    record({"left", name(shape), {left}, {}});
}

void FakeWindow::setShapeTop(Shape shape, float top)
{
    record({"top", name(shape), {top}, {}});
}

void FakeWindow::bringToFront(Shape shape)
{
    record({"bringToFront", name(shape), {}, {}});
}

void FakeWindow::setLineEnd(OverlayLine line, LineEnd end, float value)
{
    record({name(end), name(line), {value}, {}});
}

void FakeWindow::beamAt(double t, const Parameter&)
{
    record({"beamAt", {}, {t}, {}});
}

void FakeWindow::beamStopped()
{
    record({"beamStopped", {}, {}, {}});
}

std::string FakeWindow::text(TextBox box)
{
    record({"text", name(box), {}, {}});
    return texts[static_cast<std::size_t>(box)];
}

void FakeWindow::setText(TextBox box, const std::string& text)
{
    record({"setText", name(box), {}, text});
    type(box, text);
}

void FakeWindow::setTextInUse(TextBox box, bool used)
{
    record({"inUse", name(box), {used ? 1.0 : 0.0}, {}});
    inUse[static_cast<std::size_t>(box)] = used;
}

void FakeWindow::type(TextBox box, const std::string& text)
{
    std::string& current = texts[static_cast<std::size_t>(box)];
    if (current == text)
        return;
    current = text;
    if (const auto change = control(box).change)
        fire(*change);
}

int FakeWindow::checkValue()
{
    record({"check", {}, {}, {}});
    return check;
}

void FakeWindow::setCheckValue(int value)
{
    record({"setCheck", {}, {static_cast<double>(value)}, {}});
    check = value;
}

std::int16_t FakeWindow::scrollValue(ScrollBar bar)
{
    record({"scroll", name(bar), {}, {}});
    return scroll[static_cast<std::size_t>(bar)];
}

void FakeWindow::setScrollValue(ScrollBar bar, std::int16_t value)
{
    record({"setScroll", name(bar), {static_cast<double>(value)}, {}});
    std::int16_t& current = scroll[static_cast<std::size_t>(bar)];
    if (current == value)
        return;
    current = value;
    if (const auto change = control(bar).change)
        fire(*change);
}

void FakeWindow::msgBox(const std::string& prompt, const std::string& title)
{
    record({"msgBox", {}, {}, prompt + "|" + title});
}

void FakeWindow::doEvents()
{
    record({"doEvents", {}, {}, {}});
    const int pump = pumps++;
    if (pumps > maxPumps)
        throw std::runtime_error("the animation was never stopped");
    if (onPump)
        onPump(pump);
}

double FakeWindow::clock()
{
    record({"clock", {}, {now}, {}});
    return now;
}

void FakeWindow::sleep(double seconds)
{
    record({"sleep", {}, {seconds}, {}});
    now += std::min(seconds, sleepAtMost);
}

void FakeWindow::endProgram()
{
    record({"endProgram", {}, {}, {}});
    throw ProgramEnded{};
}

void FakeWindow::fire(Event event)
{
    if (notify)
        notify(event);
}

std::vector<Call> FakeWindow::callsOf(const std::string& op) const
{
    std::vector<Call> found;
    for (const Call& call : calls) {
        if (call.op == op)
            found.push_back(call);
    }
    return found;
}

std::vector<std::string> FakeWindow::log() const
{
    std::vector<std::string> lines;
    lines.reserve(calls.size());
    for (const Call& call : calls)
        lines.push_back(call.str());
    return lines;
}

int FakeWindow::count(const std::string& op) const
{
    return static_cast<int>(callsOf(op).size());
}

std::vector<Call> FakeWindow::figureSegments() const
{
    std::vector<Call> found;
    for (const Call& call : calls) {
        if (call.op == "clear" && call.target == "picBildschirm")
            found.clear();
        else if (call.op == "drawSegment" && call.target == "picBildschirm" &&
                 call.numbers[4] == 0xffffff)
            found.push_back(call);
    }
    return found;
}

} // namespace korvelian
