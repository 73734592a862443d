#include "geometry.h"

#include <cmath>

namespace korvelian {

namespace {

// A side's two ends in increasing order.
struct Span
{
    double low;
    double high;
};

Span span(double start, double length)
{
    return length < 0 ? Span{start + length, start} : Span{start, start + length};
}

} // namespace

RectF RectF::normalized() const
{
    RectF r = *this;
    if (r.width < 0) {
        r.x += r.width;
        r.width = -r.width;
    }
    if (r.height < 0) {
        r.y += r.height;
        r.height = -r.height;
    }
    return r;
}

RectF RectF::toWhole() const
{
    const double left = std::round(x);
    const double top = std::round(y);
    return {left, top, std::round(width + (x - left) / 2), std::round(height + (y - top) / 2)};
}

RectF RectF::intersected(const RectF& other) const
{
    const Span x1 = span(x, width);
    const Span x2 = span(other.x, other.width);
    const Span y1 = span(y, height);
    const Span y2 = span(other.y, other.height);
    // A rectangle without extent meets nothing.
    if (x1.low == x1.high || x2.low == x2.high || y1.low == y1.high || y2.low == y2.high)
        return {};
    if (x1.low >= x2.high || x2.low >= x1.high || y1.low >= y2.high || y2.low >= y1.high)
        return {};
    const double left = std::max(x1.low, x2.low);
    const double top = std::max(y1.low, y2.low);
    return {left, top, std::min(x1.high, x2.high) - left, std::min(y1.high, y2.high) - top};
}

bool RectF::intersects(const RectF& other) const
{
    return intersected(other).isValid();
}

} // namespace korvelian
