#pragma once

#include "drawing.h"
#include "scene.h"

namespace korvelian {

// An oscilloscope's graticule: the frame cut into eight divisions each way, half an amplitude
// unit each (an amplitude of 1 spans two), and on the two axes a finer scale of five ticks to
// a division, a tenth each, so that amplitudes, y₀ and y_max can be read by eye.
inline constexpr int kGraticuleDivisions = 8;
inline constexpr int kTicksPerDivision = 5;

// Light lines beneath the figure, in the frame's own coordinates through toPixels, so that a
// mirrored frame mirrors them with the figure. lineWidth is in the painter's units.
void describeGraticule(Scene& scene, const UserFrame& frame, const PixelMapping& toPixels,
                       double lineWidth, bool worksheet, bool bright = false);

// The graticule's colour on the screen and on a worksheet; bright for a lit room.
Colour graticuleColour(bool worksheet, bool bright = false);

} // namespace korvelian
