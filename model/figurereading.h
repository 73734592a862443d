#pragma once

#include "deflection.h"

#include <array>
#include <string>
#include <vector>

namespace korvelian {

// Reading the figure the way it is done by eye on an oscilloscope: the frequency ratio from
// where the figure touches the edges of its box, and for equal frequencies the phase
// difference from the ellipse. Both work from the formulas, not from pixels.
//
// Positions are in screen units as the figure is drawn. With y growing downward, as the frame
// is set, the edge the user sees on top is y = -A2; with yUp, the screen mirrored as on an
// oscilloscope, it is y = +A2. "Top" and "highest point" mean that visible top; the right edge
// is x = +A1. Amplitudes come from bars that start at 0; one that is not above 0 is refused.
//
// The texts are rich text as a textbook prints its symbols: variables in <i>, indices in <sub>;
// nothing else of the kind, and no character that would need escaping.

struct TouchPoint
{
    double position = 0; // x on the top edge, y on the right edge
    // An end of an open figure: the beam turns round in a corner of the box there, so the
    // point counts half.
    bool end = false;
};

struct TouchReading
{
    // Not empty: nothing can be read and this line says why; all else stays empty.
    std::string refusal;
    std::vector<TouchPoint> top;   // left to right, each point once
    std::vector<TouchPoint> right; // top to bottom, each point once
    // The beam runs the same path back and forth.
    bool open = false;
    // Ends count half: numerator and denominator in lowest terms for a closed figure, half of
    // each for an open one.
    double topCount = 0;
    double rightCount = 0;
    // e.g. "3 Berührpunkte oben, 2 rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 3 : 2"
    std::string legend;
    std::string note; // why the counts of an open figure are halves, else empty
};

struct PhaseReading
{
    // Not empty: nothing can be read and this line says why; all else stays empty.
    std::string refusal;
    std::array<Point, 2> crossings{}; // where the ellipse crosses the y axis, at +-y0
    Point highest;                    // the visible top, y = -A2 or, with yUp, +A2
    // The phase difference the legend reads, 0° to 180°: the acute angle where the figure
    // leans the way of x and y growing together, else 180° minus it.
    double degrees = 0;
    // e.g. "sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 0,710 → <i>φ</i> =
    // 45,3° (eingestellt: 45,3°)"
    std::string legend;
    // Which of φ and 180° − φ the tilt shows, where the two differ; and for a set difference
    // above 180° that the figure is the one of 360° minus it.
    std::string note;
};

// entryAccepted: whether the numerator and denominator boxes hold an entry the window took;
// a refused one leaves a figure on the screen that the parameters no longer describe.
TouchReading readTouchPoints(const Parameter& p, bool entryAccepted, bool yUp = false);
PhaseReading readPhase(const Parameter& p, bool entryAccepted, bool yUp = false);

} // namespace korvelian
