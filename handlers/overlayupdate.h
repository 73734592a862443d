#pragma once

#include "windowoperations.h"

#include <array>

namespace korvelian {

// One of the seventeen overlay changes that place the beam point, its two axis markers
// and its two drop lines for a frame.
struct OverlayUpdate
{
    enum class Kind { ShapeLeft, ShapeTop, ShapeToFront, LineEnd };
    Kind kind = Kind::ShapeLeft;
    Shape shape = Shape::BeamPoint;
    OverlayLine line = OverlayLine::DropToXAxis;
    LineEnd end = LineEnd::X1;
    float value = 0;
};

using OverlayUpdates = std::array<OverlayUpdate, 17>;

// The updates for the beam at (x, y), in the order they are applied: the point, then the
// y marker, then the x marker, each brought to the front, then both drop lines. The last
// shape brought forward covers the others where they meet.
OverlayUpdates overlayUpdates(double x, double y);

void apply(WindowOperations& ops, const OverlayUpdate& update);

} // namespace korvelian
