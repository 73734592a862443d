#pragma once

namespace korvelian {

// The numerator and denominator the figure and the beam are drawn with: the boxes' values
// as long as the closing count accepts them, the last accepted ones while it refuses.
struct RatioInUse
{
    double numerator = 1;
    double denominator = 1;
    bool refused = false;
};

} // namespace korvelian
