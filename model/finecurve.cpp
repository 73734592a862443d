#include "finecurve.h"

#include "constants.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace korvelian {

namespace {

bool isWhole(double v)
{
    return v >= 1 && v <= kLargestWhole && std::floor(v) == v;
}

// The stretch of t the curve covers.
double spanOf(const Parameter& p, double end, const FigureRun& run)
{
    if (!isWhole(p.numerator) || !isWhole(p.denominator))
        return run.lastT;
    // Z' : N' in lowest terms: the figure closes after N' turns of x.
    const auto z = static_cast<long>(p.numerator);
    const auto n = static_cast<long>(p.denominator);
    const long turns = n / std::gcd(z, n);
    // A count typed smaller than the figure's own draws only a part of it, as the loop does.
    if (closingCountOf(end) < turns)
        return run.lastT;
    return kTurn * static_cast<double>(turns);
}

} // namespace

FineCurve fineCurve(const Parameter& p, double end, std::size_t budget)
{
    const FigureRun run = figureRun(p, end);
    if (run.stoppedAtNonFinite)
        return {0, {}, true};
    if (run.count < 2 || budget < 2)
        return {std::min<std::size_t>(run.count, 1), {}, false};
    const double span = spanOf(p, end, run);
    const double rate = std::max(1.0, std::abs(p.numerator / p.denominator));
    const double step =
        exactStep(std::max(kFineAdvance / rate, span / static_cast<double>(budget - 1)));
    const auto steps = static_cast<std::size_t>(std::ceil(span / step));
    return {std::min(steps, budget - 1) + 1, {step}, false};
}

std::size_t fineCurvePoints(const Parameter& p, double end, std::size_t budget,
                            std::vector<FloatPoint>& points)
{
    const FineCurve curve = fineCurve(p, end, budget);
    if (curve.asLoop)
        return figurePoints(p, end, points).count;
    if (points.size() < curve.count)
        points.resize(curve.count);
    figurePoints(p, curve.steps, 0, curve.count, points.data());
    return curve.count;
}

} // namespace korvelian
