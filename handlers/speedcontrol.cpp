#include "speedcontrol.h"

#include "formvariables.h"
#include "windowoperations.h"

#include <limits>

namespace korvelian {

void drawSpeedBar(WindowOperations& ops, double dt)
{
    ops.clear(Picture::SpeedBar);
    ops.drawBox(Picture::SpeedBar, 0, 0, static_cast<float>(dt), 1);
}

SpeedControl::SpeedControl(WindowOperations& ops, FormVariables& variables)
    : m_ops(ops), m_vars(variables)
{
}

void SpeedControl::change(double factor)
{
    // Beyond the largest single-precision number the bar's corner cannot be handed over, and
    // a few hundred presses later dt would become infinite and stop the beam for good; the
    // step simply stops growing there.
    const double step = m_vars.dt * factor;
    if (step <= std::numeric_limits<float>::max())
        m_vars.dt = step;
    drawSpeedBar(m_ops, m_vars.dt);
}

} // namespace korvelian
