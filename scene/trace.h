#pragma once

#include "drawing.h"
#include "model/afterglow.h"
#include "scene.h"

namespace korvelian {

// The beam's afterglow over the dimmed figure: each piece of the trace as bright as the time
// since the beam passed leaves it, white on the screen, black on a worksheet. width is the
// width of the trace in the painter's pixels.
void describeTrace(Scene& scene, const PixelMapping& toPixels, const AfterglowTrace& trace,
                   double width, bool worksheet);

} // namespace korvelian
