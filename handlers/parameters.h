#pragma once

#include "model/deflection.h"

namespace korvelian {

class WindowOperations;
struct RatioInUse;

// Reads the six parameter controls in the order both displays share: x phase, x amplitude,
// y phase, numerator, denominator, y amplitude. While an entry of the ratio stands refused,
// numerator and denominator are the last accepted ones, so the figure, the beam and txtkgV
// always agree. With "Wie im Lehrbuch" the y phase bar's value is the y oscillation's own phase,
// handed on as the formula's (textbookPhaseY).
Parameter readParameters(WindowOperations& ops, const RatioInUse& ratio);

bool isFinite(const Point& point);

} // namespace korvelian
