#pragma once

#include "model/constants.h"

namespace korvelian {

class WindowOperations;
struct FormVariables;

// The red bar in picVelo for the step dt, full at 0.2: cleared and drawn anew.
void drawSpeedBar(WindowOperations& ops, double dt);

// The animation's step dt and the red bar in picVelo that shows it.
class SpeedControl
{
public:
    SpeedControl(WindowOperations& ops, FormVariables& variables);

    void faster() { change(kFaster); }
    void slower() { change(kSlower); }

private:
    void change(double factor);

    WindowOperations& m_ops;
    FormVariables& m_vars;
};

} // namespace korvelian
