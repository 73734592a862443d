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

    void Command7_Click() { change(kFaster); }
    void Command8_Click() { change(kSlower); }

private:
    void change(double factor);

    WindowOperations& m_ops;
    FormVariables& m_vars;
};

} // namespace korvelian
