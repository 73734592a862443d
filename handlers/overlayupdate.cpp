#include "overlayupdate.h"

#include "model/constants.h"

namespace korvelian {

namespace {

using Kind = OverlayUpdate::Kind;

OverlayUpdate shapeMove(Kind kind, Shape shape, double value)
{
    return {kind, shape, OverlayLine::DropToXAxis, LineEnd::X1, static_cast<float>(value)};
}

OverlayUpdate toFront(Shape shape)
{
    return {Kind::ShapeToFront, shape, OverlayLine::DropToXAxis, LineEnd::X1, 0.0f};
}

OverlayUpdate lineEnd(OverlayLine line, LineEnd end, double value)
{
    return {Kind::LineEnd, Shape::BeamPoint, line, end, static_cast<float>(value)};
}

} // namespace

OverlayUpdates overlayUpdates(double x, double y)
{
    // Offsets are subtracted in double precision before the value becomes single.
    const double left = x - kOverlayOffset;
    const double top = y - kOverlayOffset;
    const double axis = -kOverlayOffset;
    return {{
        shapeMove(Kind::ShapeLeft, Shape::BeamPoint, left),
        shapeMove(Kind::ShapeTop, Shape::BeamPoint, top),
        toFront(Shape::BeamPoint),
        shapeMove(Kind::ShapeTop, Shape::YMarker, top),
        shapeMove(Kind::ShapeLeft, Shape::YMarker, axis),
        toFront(Shape::YMarker),
        shapeMove(Kind::ShapeTop, Shape::XMarker, axis),
        shapeMove(Kind::ShapeLeft, Shape::XMarker, left),
        toFront(Shape::XMarker),
        lineEnd(OverlayLine::DropToXAxis, LineEnd::X1, x),
        lineEnd(OverlayLine::DropToXAxis, LineEnd::Y1, y),
        lineEnd(OverlayLine::DropToXAxis, LineEnd::X2, x),
        lineEnd(OverlayLine::DropToXAxis, LineEnd::Y2, 0.0),
        lineEnd(OverlayLine::DropToYAxis, LineEnd::X1, x),
        lineEnd(OverlayLine::DropToYAxis, LineEnd::Y1, y),
        lineEnd(OverlayLine::DropToYAxis, LineEnd::X2, 0.0),
        lineEnd(OverlayLine::DropToYAxis, LineEnd::Y2, y),
    }};
}

void apply(WindowOperations& ops, const OverlayUpdate& update)
{
    switch (update.kind) {
    case Kind::ShapeLeft:
        ops.setShapeLeft(update.shape, update.value);
        break;
    case Kind::ShapeTop:
        ops.setShapeTop(update.shape, update.value);
        break;
    case Kind::ShapeToFront:
        ops.bringToFront(update.shape);
        break;
    case Kind::LineEnd:
        ops.setLineEnd(update.line, update.end, update.value);
        break;
    }
}

} // namespace korvelian
