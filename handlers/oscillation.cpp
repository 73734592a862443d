#include "oscillation.h"

#include "model/constants.h"
#include "formvariables.h"
#include "overlayupdate.h"
#include "parameters.h"
#include "phasedrift.h"
#include "speedcontrol.h"
#include "windowoperations.h"

namespace korvelian {

namespace {

// Keeps the count of running loops right when a handler leaves by an exception.
class RunCount
{
public:
    explicit RunCount(int& runs) : m_runs(runs) { ++m_runs; }
    ~RunCount() { --m_runs; }
    RunCount(const RunCount&) = delete;
    RunCount& operator=(const RunCount&) = delete;

private:
    int& m_runs;
};

} // namespace

Oscillation::Oscillation(WindowOperations& ops, FormVariables& variables, PhaseDrift& drift)
    : m_ops(ops), m_vars(variables), m_drift(drift)
{
}

void Oscillation::run()
{
    if (m_runs >= kMaxRuns) {
        m_ops.setCheckValue(0);
        m_vars.dt = kStartStep;
        drawSpeedBar(m_ops, m_vars.dt);
        m_vars.t = 0;
        m_drift.restart();
        return;
    }
    const RunCount running(m_runs);

    m_ops.setCheckValue(0);
    // The pump comes before the resets: whatever runs in it cannot change the start values.
    m_ops.doEvents();
    m_vars.dt = kStartStep;
    // The bar shows the step in use, not the one of the last press before this start.
    drawSpeedBar(m_ops, m_vars.dt);
    m_vars.t = 0;
    m_drift.restart();

    while (m_ops.checkValue() != 1) {
        m_ops.doEvents();
        const double now = waitFrom(m_ops.clock());
        frame();
        m_drift.frame(now);
        // dt is read only now, so a speed change in this frame's pump already counts.
        m_vars.t += m_vars.dt;
    }
    if (m_runs == 1)
        m_ops.beamStopped();
}

double Oscillation::waitFrom(double t0)
{
    const double until = t0 + kFramePause;
    double now = m_ops.clock();
    for (; now < until; now = m_ops.clock())
        m_ops.sleep(until - now);
    return now;
}

void Oscillation::frame()
{
    const Parameter p = readParameters(m_ops, m_vars.ratio);
    const Point point = deflection(m_vars.t, p);
    // A denominator typed as 0 has no position: the overlays stay and the beam goes on.
    if (!isFinite(point))
        return;
    m_vars.x = point.x;
    m_vars.y = point.y;
    for (const OverlayUpdate& update : overlayUpdates(m_vars.x, m_vars.y))
        apply(m_ops, update);
    m_ops.beamAt(m_vars.t, p);
}

} // namespace korvelian
