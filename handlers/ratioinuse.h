#pragma once

namespace korvelian {

// The numerator and denominator the figure and the beam are drawn with: the boxes' values
// as long as the closing count accepts them, the last accepted ones while it refuses.
struct RatioInUse
{
    double numerator = 1;
    double denominator = 1;
    bool refused = false;
    // "Wie im Lehrbuch": the y phase bar sets the y oscillation's own phase, which the ratio
    // turns into the formula's (see Parameter::textbook).
    bool textbook = false;
};

} // namespace korvelian
