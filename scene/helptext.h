#pragma once

#include "handlers/windowoperations.h"

#include <string>

namespace korvelian {

// The ellipse the help reads a phase difference from; its y phase bar's value serves the
// parabola of 2 : 1 as well.
inline constexpr Parameter kHelpEllipse{1.25, 0, 1.25, 0.79, 1, 1};

// The help's text (widgets/help/hilfe.html, one text for both editions) with every number it
// states, written {{name}}, taken from where the program takes it; fittingZoom is the largest
// zoom in percent at which the window fits its screen.
std::string withHelpNumbers(std::string text, int fittingZoom);

} // namespace korvelian
