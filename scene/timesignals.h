#pragma once

#include "drawing.h"
#include "model/timesignals.h"
#include "scene.h"

#include <optional>
#include <string>
#include <vector>

namespace korvelian {

class TextMetrics;

// What the time shown show: the screen's figure and where its beam stands.
struct TimeSignalScene
{
    Parameter p;
    double kgv = 1;
    // The screen's pixel mapping onto an area of 1 x 1: where a deflection lies across and
    // down the screen. The y signal's axis points the way the screen's y axis does.
    PixelMapping screen{0.25, 0.5, 0.25, 0.5};
    bool hasFigure = false;
    std::optional<double> beamT;
    // Where the screen's markers stand: the beam's deflection as its last frame computed it.
    // After "Stop" they stay there while a bar or a box changes the figure, and so do the
    // cursor's marks; empty, the beam is where the formulas put it at beamT.
    std::optional<Point> beamPoint;
};

// The deflection the cursor marks: where the screen's markers stand.
Point markedBeam(const TimeSignalScene& shown);
// Whether that is not where the shown signals are at the cursor: the beam stopped, and the
// figure changed since.
bool beamOffTheSignals(const TimeSignalScene& shown);

// The scene of the figure the screen shows, screen its mapping onto an area of 1 x 1.
TimeSignalScene sceneOf(const DrawOp& figure, const PixelMapping& screen);

// The picture's width at 100 %, where its text and marks have their size.
inline constexpr int kTimeSignalsWidth = 560;

// zoom scales text and marks like the window's; lineWidth is a line's width and pixelRatio
// the device pixels per unit of the painter, so that the shown are made one device column
// at a time and stay sharp at any ratio. A vector picture, to be scaled, takes the shown as
// curves wherever its columns show their waves.
struct TimeSignalStyle
{
    double zoom = 1;
    double lineWidth = 1;
    double pixelRatio = 1;
    bool worksheet = false;
    bool vector = false;
    // Without the formulas, which name the values ("Werte verbergen").
    bool formulas = true;
    // The signals and their axes' labels alone, for a narrow place where the texts stand
    // elsewhere (presentation): no formulas, no caption, no readout.
    bool compact = false;
};

// x(t) above y(t) over one closing period of the figure, on a common time axis, in the
// screen's colours (on a worksheet black on white): what stays while the beam runs.
void describeTimeSignals(Scene& scene, TextMetrics& metrics, const RectF& target,
                         const TimeSignalScene& shown, const TimeSignalStyle& style);
// The cursor at the beam's t across both shown, each value marked as the screen marks the
// beam's projections: a point on the signal, a marker on its axis, a line between them.
void describeTimeCursor(Scene& scene, TextMetrics& metrics, const RectF& target,
                        const TimeSignalScene& shown, const TimeSignalStyle& style);

// "x(t) = 1,00 · sin(t + 0,00)" and the like for y, as the picture names the shown.
std::vector<std::string> formulaLines(const TimeSignalScene& shown);

// Where in target the shown lie: the time axis's pixel of the cursor and the value axis's
// pixel of a deflection.
double timePixel(TextMetrics& metrics, const RectF& target, const TimeSignalScene& shown,
                 double zoom, double t);
double valuePixel(TextMetrics& metrics, const RectF& target, const TimeSignalScene& shown,
                  double zoom, Signal signal, double value);

} // namespace korvelian
