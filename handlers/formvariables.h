#pragma once

#include "ratioinuse.h"

namespace korvelian {

// The window-level variables. There is one t, x and y for both displays: a figure drawn
// during an animation frame leaves t at the plotter's end and the animation goes on there.
struct FormVariables
{
    double t = 0;
    double x = 0;
    double y = 0;
    double dt = 0;
    RatioInUse ratio;
};

} // namespace korvelian
