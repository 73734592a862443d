#pragma once

#include "model/driftstep.h"

#include <functional>

namespace korvelian {

class WindowOperations;
struct FormVariables;

// "Phase wandern lassen": while ticked and the beam runs, each frame moves the y phase bar on
// as two slightly detuned generators would, through the bar's own Change handler, so the
// figure is redrawn for every new phase and whatever listens to the bar hears it.
class PhaseDrift
{
public:
    PhaseDrift(WindowOperations& ops, FormVariables& variables);

    void setTicked(bool on);
    bool ticked() const { return m_ticked; }
    // Seconds for one turn of the bar; the drift goes on from where the bar stands.
    void setSecondsPerTurn(double seconds);
    double secondsPerTurn() const { return m_secondsPerTurn; }

    // A run of the animation starts: the drift starts from the bar where it stands.
    void restart();
    // A frame at clock time now.
    void frame(double now);
    // The user set a bar or a box during the drift: it ends, unticked, and the figure stays as
    // the user set it.
    void takeOver();
    // Whether the drift is moving the bar just now: the Change it fires is the drift's own.
    bool moving() const { return m_moving; }

    // Told when the drift unticks itself.
    std::function<void(bool)> tickedChanged;

private:
    WindowOperations& m_ops;
    FormVariables& m_vars;
    bool m_ticked = false;
    double m_secondsPerTurn = kDriftSecondsPerTurn;
    bool m_started = false;
    double m_start = 0;
    int m_base = 0;
    int m_last = 0;
    bool m_moving = false;
};

} // namespace korvelian
