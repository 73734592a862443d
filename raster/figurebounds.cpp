#include "figurebounds.h"

#include "model/loopvalues.h"

#include <cmath>

namespace korvelian {

namespace {

// Bounds of sin over [low, high] that hold for std::sin and fastSines alike. Between the
// ends sine rises at most (high - low)^2 / 8 above the higher end, as |sin''| <= 1; 1e-9
// covers both sines' rounding.
Interval sineBounds(double low, double high)
{
    const double width = high - low;
    if (!(width < 1))
        return {-1, 1};
    const double a = std::sin(low);
    const double b = std::sin(high);
    const double bulge = width * width / 8 + 1e-9;
    return {std::max(-1.0, std::min(a, b) - bulge), std::min(1.0, std::max(a, b) + bulge)};
}

// The coordinates of amplitude * sine for sine in s, made and mapped as the points are.
// Every step is monotonic, so the ends of s give the ends of the coordinates.
Interval mapped(double amplitude, Interval s, double scale, double offset)
{
    const double a = static_cast<float>(amplitude * s.low) * scale + offset;
    const double b = static_cast<float>(amplitude * s.high) * scale + offset;
    return {std::min(a, b), std::max(a, b)};
}

// The pixel that the coordinate amplitude * s lands in along an axis of size pixels, made as
// the points are made.
int pixelOf(double amplitude, double s, double scale, double offset, int size)
{
    const double v = static_cast<float>(amplitude * s) * scale + offset;
    int first = 0;
    int last = 0;
    pixelSpan({v, v}, size, first, last);
    return first;
}

constexpr double kHalfPi = 1.5707963267948966;
// An extreme line that the sine reaches within this of its crest is reached by most blocks
// that hold a crest: looking for points that close would not pay.
constexpr double kWidestReach = 0.05;
// A zone is looked for in blocks whose box is lit all over but for it: the points that land in
// it still have to be told from those that do not.
constexpr double kWidestZoneReach = 0.5;

// The value of s between crest and 0, the last that does not land in the pixels that
// landsIn tells, found by halving: a point whose sine lies beyond it may land there.
template <typename LandsIn> double boundary(double crest, LandsIn landsIn)
{
    double inside = crest;
    double outside = 0;
    for (int i = 0; i < 64; ++i) {
        const double middle = (inside + outside) / 2;
        (landsIn(middle) ? inside : outside) = middle;
    }
    return outside;
}

// Within how many radians of the crest a sine lies beyond outside; the sines' rounding widens
// that by a hair.
double reachBeyond(double outside)
{
    return std::acos(std::max(0.0, std::abs(outside) - 1e-12)) + 1e-9;
}

} // namespace

PixelBox segmentsBox(const Parameter& p, const PixelMapping& transform, int width, int height,
                     std::size_t first, std::size_t last, LoopSteps steps)
{
    const double tFirst = loopValue(steps, first);
    const double tLast = loopValue(steps, last);
    const double wFirst = yAngle(tFirst, p);
    const double wLast = yAngle(tLast, p);
    const Interval x = mapped(p.amplitudeX, sineBounds(tFirst + p.phaseX, tLast + p.phaseX),
                              transform.scaleX, transform.offsetX);
    const Interval y =
        mapped(p.amplitudeY, sineBounds(std::min(wFirst, wLast), std::max(wFirst, wLast)),
               transform.scaleY, transform.offsetY);
    PixelBox result;
    pixelSpan(x, width, result.x0, result.x1);
    pixelSpan(y, height, result.y0, result.y1);
    return result;
}

Extreme extremeLine(double amplitude, double crest, double scale, double offset, int size)
{
    const int pixel = pixelOf(amplitude, crest, scale, offset, size);
    if (!std::isfinite(amplitude * scale + offset) ||
        pixelOf(amplitude, 0, scale, offset, size) == pixel)
        return {};
    // A point lands on the line only where its sine lies beyond outside, within acos of it
    // around the crest.
    const double outside = boundary(
        crest, [&](double s) { return pixelOf(amplitude, s, scale, offset, size) == pixel; });
    const double reach = reachBeyond(outside);
    if (!(reach < kWidestReach))
        return {};
    return {pixel, crest * kHalfPi, reach};
}

Zone crestZone(double amplitude, double crest, double scale, double offset, int size, int depth)
{
    const int outer = pixelOf(amplitude, crest, scale, offset, size);
    const int centre = pixelOf(amplitude, 0, scale, offset, size);
    if (!std::isfinite(amplitude * scale + offset) || depth < 1 ||
        std::abs(centre - outer) <= depth)
        return {};
    // Every step from the sine to its pixel is monotonic: the pixels from the crest's inwards
    // come from sines ever nearer 0.
    const int inwards = centre > outer ? 1 : -1;
    const int pixel = outer + inwards * (depth - 1);
    const double outside = boundary(crest, [&](double s) {
        return (pixelOf(amplitude, s, scale, offset, size) - pixel) * inwards <= 0;
    });
    const double reach = reachBeyond(outside);
    if (!(reach < kWidestZoneReach))
        return {};
    return {pixel, inwards > 0, crest * kHalfPi, reach};
}

} // namespace korvelian
