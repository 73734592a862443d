#pragma once

#include "auslenkung.h"

namespace korvelian {

class WindowOperations;

// Reads the six parameter controls in the order both displays share: x phase, x amplitude,
// y phase, numerator, denominator, y amplitude.
Parameter readParameters(WindowOperations& ops);

bool isFinite(const Point& point);

} // namespace korvelian
