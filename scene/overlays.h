#pragma once

#include "scene.h"

#include <array>

namespace korvelian {

// The five overlays of the screen, each shape and each drop line once.
enum class Overlay { BeamPoint, YMarker, XMarker, DropToXAxis, DropToYAxis };

// Where the overlays stand in the picture's pixels and how they are stacked, back to front.
struct OverlayPlaces
{
    // The beam point, the y marker and the x marker.
    std::array<RectF, 3> shapes;
    // The drop lines to the x axis and to the y axis.
    std::array<std::array<PointF, 2>, 2> lines;
    std::array<Overlay, 5> stacking{{Overlay::DropToXAxis, Overlay::DropToYAxis, Overlay::BeamPoint,
                                     Overlay::YMarker, Overlay::XMarker}};
};

// Opaque shapes with a one-line outline, the beam point all yellow, the markers red inside a
// yellow outline, and light-blue drop lines; lineWidth is in device pixels.
void describeOverlays(Scene& scene, const OverlayPlaces& places, int lineWidth);

} // namespace korvelian
