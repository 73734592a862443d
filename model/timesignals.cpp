#include "timesignals.h"

#include "constants.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace korvelian {

namespace {

// Whole numbers beyond this are not told apart from their neighbours by a double's
// remainder test; the largest entry the boxes accept is far below it.
constexpr double kLargestExactWhole = 1e15;

bool whole(double value)
{
    return value >= 1 && value <= kLargestExactWhole && std::floor(value) == value;
}

// Whether an angle quarter + k full turns lies between from and to.
bool passes(double from, double to, double quarter)
{
    const double k = std::ceil((from - quarter) / kTurn);
    return quarter + k * kTurn <= to;
}

} // namespace

double closingPeriods(const Parameter& p, double kgv)
{
    if (whole(p.numerator) && whole(p.denominator)) {
        const auto z = static_cast<long long>(p.numerator);
        const auto n = static_cast<long long>(p.denominator);
        return static_cast<double>(n / std::gcd(z, n));
    }
    return kgv;
}

double signalValue(Signal signal, double t, const Parameter& p)
{
    const Point point = deflection(t, p);
    return signal == Signal::X ? point.x : point.y;
}

ValueRange signalRange(Signal signal, double t0, double t1, const Parameter& p)
{
    const double a = signalValue(signal, t0, p);
    const double b = signalValue(signal, t1, p);
    ValueRange sine{std::min(a, b), std::max(a, b)};
    const double amplitude = signal == Signal::X ? p.amplitudeX : p.amplitudeY;
    double from = signal == Signal::X ? xAngle(t0, p) : yAngle(t0, p);
    double to = signal == Signal::X ? xAngle(t1, p) : yAngle(t1, p);
    if (from > to)
        std::swap(from, to);
    if (!std::isfinite(from) || !std::isfinite(to))
        return sine;
    const bool fullTurn = to - from >= kTurn;
    auto include = [&sine](double value) {
        sine.low = std::min(sine.low, value);
        sine.high = std::max(sine.high, value);
    };
    if (fullTurn || passes(from, to, kTurn / 4))
        include(amplitude);
    if (fullTurn || passes(from, to, 3 * kTurn / 4))
        include(-amplitude);
    return sine;
}

double cursorTime(double t, double span)
{
    if (!(span > 0) || !std::isfinite(t))
        return 0;
    const double within = std::fmod(t, span);
    return within < 0 ? within + span : within;
}

} // namespace korvelian
