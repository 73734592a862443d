#pragma once

#include "constants.h"

namespace korvelian {

class WindowOperations;
struct FormVariables;

// The animation's step dt and the red bar in picVelo that shows it, full at 0.2.
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
