#pragma once

#include "model/deflection.h"

#include <vector>

namespace korvelian {

// "Vorhersage": the class says what the figure will look like before it sees it. Either the
// figure is hidden and only the running beam draws it, from nothing (with the afterglow, if
// that is on, it fades again behind the beam), or the screen stays empty beside the two time
// signals until "Auflösen". The values (ratio, phases, the boxes' contents) can be hidden as
// well. A new setting hides the figure again: the next prediction.
class Prediction
{
public:
    enum class Mode {
        Off,
        // The beam draws the figure.
        Beam,
        // The time signals are shown, the figure only on "Auflösen".
        TimeSignals,
    };

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    // Whether the screen shows the figure: without prediction, once resolved, and once the
    // beam has run through all of it.
    bool figureShown() const { return m_mode == Mode::Off || m_resolved || m_complete; }
    // Whether the beam's path stands in for the figure.
    bool drawsPath() const { return m_mode == Mode::Beam && !figureShown(); }
    void resolve();
    // The setting changed: the figure is hidden again and the beam starts a new path.
    void settingChanged();

    bool valuesHidden() const { return m_valuesHidden; }
    void setValuesHidden(bool hidden) { m_valuesHidden = hidden; }

    // A frame put the beam at t. The path since the last frame is laid along the figure at
    // its own step; a t that went back or jumped ahead (a redraw set it) starts a new piece. Once
    // the pieces cover the whole figure it is complete.
    void beamAt(double t, const Parameter& p);
    // The pieces of the path, in the screen's units.
    const std::vector<std::vector<Point>>& path() const { return m_path; }

private:
    void clearPath();

    Mode m_mode = Mode::Off;
    bool m_resolved = false;
    bool m_complete = false;
    bool m_valuesHidden = false;
    std::vector<std::vector<Point>> m_path;
    bool m_following = false;
    double m_lastT = 0;
    double m_covered = 0;
};

} // namespace korvelian
