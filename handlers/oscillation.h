#pragma once

namespace korvelian {

class PhaseDrift;
class WindowOperations;
struct FormVariables;

// The running beam: a loop inside the click handler that pumps events once per frame, so
// every other handler, a second start included, can run nested in a frame.
class Oscillation
{
public:
    // Starts beyond this depth restart the innermost run instead of nesting deeper, so a
    // student hammering "Schwingung" cannot exhaust the stack.
    static constexpr int kMaxRuns = 16;

    Oscillation(WindowOperations& ops, FormVariables& variables, PhaseDrift& drift);

    void run();

    int runs() const { return m_runs; }

private:
    void frame();
    // Gives the clock's reading that ended the wait.
    double waitFrom(double t0);

    WindowOperations& m_ops;
    FormVariables& m_vars;
    PhaseDrift& m_drift;
    int m_runs = 0;
};

} // namespace korvelian
