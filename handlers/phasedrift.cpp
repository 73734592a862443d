#include "phasedrift.h"

#include "formvariables.h"
#include "windowoperations.h"

namespace korvelian {

PhaseDrift::PhaseDrift(WindowOperations& ops, FormVariables& variables)
    : m_ops(ops), m_vars(variables)
{
}

void PhaseDrift::setTicked(bool on)
{
    if (on == m_ticked)
        return;
    m_ticked = on;
    m_started = false;
    if (tickedChanged)
        tickedChanged(on);
}

void PhaseDrift::setSecondsPerTurn(double seconds)
{
    if (!(seconds > 0))
        return;
    m_secondsPerTurn = seconds;
    m_started = false;
}

void PhaseDrift::restart()
{
    m_started = false;
}

void PhaseDrift::frame(double now)
{
    if (!m_ticked)
        return;
    if (!m_started) {
        m_started = true;
        m_start = now;
        m_base = m_last = m_ops.scrollValue(ScrollBar::PhaseY);
        return;
    }
    const int value = driftedPhase(m_base, now - m_start, m_secondsPerTurn);
    if (value == m_last)
        return;
    m_last = value;
    // The redraw leaves t at the figure's end, which would throw the beam back to the start
    // every few frames; the generators only drift, so the beam runs on where it was.
    const FormVariables kept = m_vars;
    m_moving = true;
    m_ops.setScrollValue(ScrollBar::PhaseY, static_cast<std::int16_t>(value));
    m_moving = false;
    m_vars.t = kept.t;
    m_vars.x = kept.x;
    m_vars.y = kept.y;
}

void PhaseDrift::takeOver()
{
    setTicked(false);
}

} // namespace korvelian
