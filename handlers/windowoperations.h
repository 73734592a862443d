#pragma once

#include "model/deflection.h"
#include "model/palette.h"

#include <cstdint>
#include <string>

namespace korvelian {

enum class Picture { Screen, SpeedBar };
// The overlays above the screen's drawing. In the window they are Shape1 (the beam point),
// Shape2 (the marker of y on the vertical axis), Shape3 (the marker of x on the horizontal
// axis), Line2 (the drop line from the point to the horizontal axis) and Line3 (the drop line
// from the point to the vertical axis).
enum class Shape { BeamPoint, YMarker, XMarker };
enum class OverlayLine { DropToXAxis, DropToYAxis };
enum class LineEnd { X1, Y1, X2, Y2 };
enum class TextBox { Numerator, Denominator, ClosingCount, Hint };
// The scroll bars by what they set; in the window hscAmp1, HScroll1, hscAmp2 and hscPhase.
enum class ScrollBar { AmplitudeX, PhaseX, AmplitudeY, PhaseY };

// Everything the handlers need from the window. Coordinates are in the frame last set on
// the picture area, handed over in single precision as the screen is addressed that way.
class WindowOperations
{
public:
    virtual ~WindowOperations() = default;

    // Picture areas. (x1, y1) becomes the top-left corner, (x2, y2) the bottom-right.
    virtual void setFrame(Picture picture, float x1, float y1, float x2, float y2) = 0;
    // Clearing leaves the overlays alone.
    virtual void clear(Picture picture) = 0;
    virtual void drawSegment(Picture picture, float x1, float y1, float x2, float y2,
                             Colour colour) = 0;
    // The figure of p: one segment from each point to the point before it, the points taken
    // at t = 0, 0.1, 0.2, ... (accumulated) while t <= end and ending before the first point
    // that is not finite, as drawSegment() would draw them one by one. A figure has up to two
    // million segments, so it is handed over as what defines it.
    virtual void drawFigure(Picture picture, const Parameter& p, double end, Colour colour) = 0;
    // A box between the corners in the area's foreground colour.
    virtual void drawBox(Picture picture, float x1, float y1, float x2, float y2) = 0;

    // Overlays above the screen's drawing, in the screen's frame.
    virtual void setShapeLeft(Shape shape, float left) = 0;
    virtual void setShapeTop(Shape shape, float top) = 0;
    virtual void bringToFront(Shape shape) = 0;
    virtual void setLineEnd(OverlayLine line, LineEnd end, float value) = 0;
    // A frame put the beam at t with these parameters, after its overlays moved: the views
    // that follow the beam (its afterglow, the time signals' cursor) take it from here.
    virtual void beamAt(double t, const Parameter& p) = 0;
    // The animation ended: the beam's views stand still, as they were in its last frame.
    virtual void beamStopped() = 0;

    // Setting a text fires the box's Change notification when the text differs.
    virtual std::string text(TextBox box) = 0;
    virtual void setText(TextBox box, const std::string& text) = 0;
    // Marks a box whose text is not what the figure is drawn with (a refused entry).
    virtual void setTextInUse(TextBox box, bool inUse) = 0;
    // Check1, the animation's stop request: 0 not ticked, 1 ticked.
    virtual int checkValue() = 0;
    virtual void setCheckValue(int value) = 0;
    virtual std::int16_t scrollValue(ScrollBar bar) = 0;
    // Moves a bar as a click on it does: its Change notification fires when the value differs.
    virtual void setScrollValue(ScrollBar bar, std::int16_t value) = 0;

    // A modal box with one OK button and no icon.
    virtual void msgBox(const std::string& prompt, const std::string& title) = 0;
    // Runs the handlers of all pending events, nested in the caller.
    virtual void doEvents() = 0;
    // Seconds on a monotonic clock: it never jumps back, not even at midnight.
    virtual double clock() = 0;
    // Gives the processor away for about this long; pending events stay pending.
    virtual void sleep(double seconds) = 0;
    // Ends the program: no handler runs after it, suspended ones are not resumed.
    virtual void endProgram() = 0;
};

} // namespace korvelian
