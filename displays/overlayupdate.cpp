#include "overlayupdate.h"

#include "constants.h"

namespace korvelian {

namespace {

using Kind = OverlayUpdate::Kind;

OverlayUpdate shapeMove(Kind kind, Shape shape, double value)
{
    return {kind, shape, OverlayLine::Line2, LineEnd::X1, static_cast<float>(value)};
}

OverlayUpdate toFront(Shape shape)
{
    return {Kind::ShapeToFront, shape, OverlayLine::Line2, LineEnd::X1, 0.0f};
}

OverlayUpdate lineEnd(OverlayLine line, LineEnd end, double value)
{
    return {Kind::LineEnd, Shape::Shape1, line, end, static_cast<float>(value)};
}

} // namespace

OverlayUpdates overlayUpdates(double x, double y)
{
    // Offsets are subtracted in double precision before the value becomes single.
    const double left = x - kOverlayOffset;
    const double top = y - kOverlayOffset;
    const double axis = -kOverlayOffset;
    return {{
        shapeMove(Kind::ShapeLeft, Shape::Shape1, left),
        shapeMove(Kind::ShapeTop, Shape::Shape1, top),
        toFront(Shape::Shape1),
        shapeMove(Kind::ShapeTop, Shape::Shape2, top),
        shapeMove(Kind::ShapeLeft, Shape::Shape2, axis),
        toFront(Shape::Shape2),
        shapeMove(Kind::ShapeTop, Shape::Shape3, axis),
        shapeMove(Kind::ShapeLeft, Shape::Shape3, left),
        toFront(Shape::Shape3),
        lineEnd(OverlayLine::Line2, LineEnd::X1, x),
        lineEnd(OverlayLine::Line2, LineEnd::Y1, y),
        lineEnd(OverlayLine::Line2, LineEnd::X2, x),
        lineEnd(OverlayLine::Line2, LineEnd::Y2, 0.0),
        lineEnd(OverlayLine::Line3, LineEnd::X1, x),
        lineEnd(OverlayLine::Line3, LineEnd::Y1, y),
        lineEnd(OverlayLine::Line3, LineEnd::X2, 0.0),
        lineEnd(OverlayLine::Line3, LineEnd::Y2, y),
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
        ops.zOrder(update.shape);
        break;
    case Kind::LineEnd:
        ops.setLineEnd(update.line, update.end, update.value);
        break;
    }
}

} // namespace korvelian
