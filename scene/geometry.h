#pragma once

#include <algorithm>

namespace korvelian {

// Points, sizes and rectangles of a picture, in pixels or a frame's units. They behave as the
// painter's own do (a rectangle's right edge is left + width, a negative width is normalized
// only on request), so that a description places everything where a painter would.
struct PointF
{
    double x = 0;
    double y = 0;

    friend PointF operator+(PointF a, PointF b) { return {a.x + b.x, a.y + b.y}; }
    friend PointF operator-(PointF a, PointF b) { return {a.x - b.x, a.y - b.y}; }
    friend bool operator==(PointF a, PointF b) = default;
};

struct SizeF
{
    double width = 0;
    double height = 0;

    SizeF transposed() const { return {height, width}; }
    friend bool operator==(SizeF a, SizeF b) = default;
};

struct RectF
{
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    static RectF fromCorners(PointF topLeft, PointF bottomRight)
    {
        return {topLeft.x, topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y};
    }
    static RectF at(PointF topLeft, SizeF size)
    {
        return {topLeft.x, topLeft.y, size.width, size.height};
    }

    double left() const { return x; }
    double top() const { return y; }
    double right() const { return x + width; }
    double bottom() const { return y + height; }
    PointF topLeft() const { return {x, y}; }
    PointF bottomRight() const { return {right(), bottom()}; }
    PointF center() const { return {x + width / 2, y + height / 2}; }
    SizeF size() const { return {width, height}; }
    bool isValid() const { return width > 0 && height > 0; }

    void setLeft(double left)
    {
        width += x - left;
        x = left;
    }
    void setTop(double top)
    {
        height += y - top;
        y = top;
    }
    void setRight(double right) { width = right - x; }
    void setBottom(double bottom) { height = bottom - y; }
    void moveRight(double right) { x = right - width; }

    RectF normalized() const;
    RectF adjusted(double dx1, double dy1, double dx2, double dy2) const
    {
        return {x + dx1, y + dy1, width + dx2 - dx1, height + dy2 - dy1};
    }
    RectF translated(double dx, double dy) const { return {x + dx, y + dy, width, height}; }
    RectF transposed() const { return {y, x, height, width}; }
    // Rounded to whole pixels as a painter rounds a rectangle: the corner to the nearest, the
    // size so that neither the corner nor the far edge moves by more than three quarters.
    RectF toWhole() const;
    // The common part, or an empty rectangle at the origin where there is none.
    RectF intersected(const RectF& other) const;
    bool intersects(const RectF& other) const;

    friend bool operator==(const RectF& a, const RectF& b) = default;
};

} // namespace korvelian
