#include "fakewindow.h"

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
    record({"drawSegment", name(picture), {x1, y1, x2, y2, static_cast<double>(colour)}, {}});
}

void FakeWindow::drawFigure(Picture picture, const Parameter& p, double end, Colour colour)
{
    record({"drawFigure",
            name(picture),
            {p.amplitudeX, p.phaseX, p.amplitudeY, p.phaseY, p.numerator, p.denominator, end,
             static_cast<double>(colour)},
            {}});
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
    return ControlState::text(box);
}

void FakeWindow::setText(TextBox box, const std::string& text)
{
    record({"setText", name(box), {}, text});
    ControlState::setText(box, text);
}

void FakeWindow::setTextInUse(TextBox box, bool used)
{
    record({"inUse", name(box), {used ? 1.0 : 0.0}, {}});
    ControlState::setTextInUse(box, used);
}

void FakeWindow::putTexts(const std::array<std::string, 4>& texts)
{
    for (const TextBox box :
         {TextBox::Numerator, TextBox::Denominator, TextBox::ClosingCount, TextBox::Hint})
        putText(box, texts[static_cast<std::size_t>(box)]);
}

int FakeWindow::checkValue()
{
    record({"check", {}, {}, {}});
    return ControlState::checkValue();
}

void FakeWindow::setCheckValue(int value)
{
    record({"setCheck", {}, {static_cast<double>(value)}, {}});
    ControlState::setCheckValue(value);
}

std::int16_t FakeWindow::scrollValue(ScrollBar bar)
{
    record({"scroll", name(bar), {}, {}});
    return ControlState::scrollValue(bar);
}

void FakeWindow::setScrollValue(ScrollBar bar, std::int16_t value)
{
    record({"setScroll", name(bar), {static_cast<double>(value)}, {}});
    ControlState::setScrollValue(bar, value);
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
    ControlState::endProgram();
    throw ProgramEnded{};
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

std::vector<FloatPoint> DrawnFigure::points() const
{
    std::vector<FloatPoint> found;
    found.resize(figurePoints(p, end, found).count);
    return found;
}

int DrawnFigure::segments() const
{
    const std::size_t points = figureRun(p, end).count;
    return points == 0 ? 0 : static_cast<int>(points - 1);
}

bool DrawnFigure::operator==(const DrawnFigure& other) const
{
    return p.amplitudeX == other.p.amplitudeX && p.phaseX == other.p.phaseX &&
           p.amplitudeY == other.p.amplitudeY && p.phaseY == other.p.phaseY &&
           p.numerator == other.p.numerator && p.denominator == other.p.denominator &&
           end == other.end && colour == other.colour;
}

std::vector<DrawnFigure> FakeWindow::figures() const
{
    std::vector<DrawnFigure> found;
    for (const Call& call : calls) {
        if (call.op == "clear" && call.target == "picBildschirm") {
            found.clear();
        } else if (call.op == "drawFigure" && call.target == "picBildschirm") {
            const std::vector<double>& n = call.numbers;
            found.push_back(
                {{n[0], n[1], n[2], n[3], n[4], n[5]}, n[6], static_cast<Colour>(n[7])});
        }
    }
    return found;
}

int FakeWindow::figureSegmentCount() const
{
    int count = 0;
    for (const DrawnFigure& figure : figures())
        count += figure.segments();
    return count;
}

} // namespace korvelian
