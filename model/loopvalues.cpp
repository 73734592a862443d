#include "loopvalues.h"

#include "constants.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace korvelian {

namespace {

// Values first, first + 1, ... up to the next stretch's first are start + k * step.
struct Stretch
{
    std::size_t first = 0;
    double start = 0;
    double step = 0;
};

constexpr double kNoAdvance = 0x1p50;

std::vector<Stretch> makeStretches()
{
    std::vector<Stretch> stretches;
    double t = 0;
    std::size_t i = 0;
    // Below 0.5 the step falls exactly half-way between two representable steps, so which
    // one an addition takes depends on t; these few values stand alone.
    while (t < 0.5) {
        stretches.push_back({i, t, 0});
        t += kLoopStep;
        ++i;
    }
    while (t < kNoAdvance) {
        int exponent = 0;
        std::frexp(t, &exponent);
        const double top = std::ldexp(1.0, exponent);
        const double unit = std::ldexp(1.0, exponent - 53);
        const double step = (t + kLoopStep) - t;
        // Whole units, so the count of values below the next power of two is exact.
        const auto room = static_cast<std::uint64_t>((top - t) / unit);
        const auto stepUnits = static_cast<std::uint64_t>(step / unit);
        const std::uint64_t count = (room + stepUnits - 1) / stepUnits;
        stretches.push_back({i, t, step});
        // The addition that crosses into the next range rounds at that range's spacing.
        t = (t + static_cast<double>(count - 1) * step) + kLoopStep;
        i += count;
    }
    // From 2^50 on an addition leaves t where it is.
    stretches.push_back({i, t, 0});
    return stretches;
}

const std::vector<Stretch>& stretches()
{
    static const std::vector<Stretch> all = makeStretches();
    return all;
}

// The stretch that holds value i.
std::size_t stretchOf(std::size_t i)
{
    const std::vector<Stretch>& all = stretches();
    const auto after =
        std::upper_bound(all.begin(), all.end(), i,
                         [](std::size_t value, const Stretch& s) { return value < s.first; });
    return static_cast<std::size_t>(after - all.begin()) - 1;
}

double valueIn(const Stretch& s, std::size_t i)
{
    return s.start + static_cast<double>(i - s.first) * s.step;
}

} // namespace

double loopValue(std::size_t i)
{
    return valueIn(stretches()[stretchOf(i)], i);
}

bool loopProgression(std::size_t first, std::size_t n, double& start, double& step)
{
    const std::vector<Stretch>& all = stretches();
    const std::size_t s = stretchOf(first);
    if (n == 0 || all[s].step == 0 || s + 1 >= all.size() || first + n > all[s + 1].first)
        return false;
    start = valueIn(all[s], first);
    step = all[s].step;
    return true;
}

std::size_t loopProgressionEnd(std::size_t i)
{
    const std::vector<Stretch>& all = stretches();
    const std::size_t s = stretchOf(i);
    return s + 1 < all.size() ? all[s + 1].first : i + 1;
}

void loopValues(std::size_t first, std::size_t n, double* out)
{
    const std::vector<Stretch>& all = stretches();
    std::size_t k = 0;
    for (std::size_t s = stretchOf(first); k < n; ++s) {
        const std::size_t stop = s + 1 < all.size() ? std::min(n, all[s + 1].first - first) : n;
        const double start = all[s].start;
        const double step = all[s].step;
        // Whole multiples, exact in a double: four of them counted apart, so that no value waits
        // for the addition before it and the loop runs as vector code.
        const double multiple = static_cast<double>(first + k - all[s].first);
        double multiples[4] = {multiple, multiple + 1, multiple + 2, multiple + 3};
        for (; k + 4 <= stop; k += 4) {
            for (int j = 0; j < 4; ++j) {
                out[k + j] = start + multiples[j] * step;
                multiples[j] += 4;
            }
        }
        for (int j = 0; k < stop; ++k, ++j)
            out[k] = start + multiples[j] * step;
    }
}

std::size_t loopCount(double end)
{
    if (!(end >= 0))
        return 0;
    const std::vector<Stretch>& all = stretches();
    const auto after =
        std::upper_bound(all.begin(), all.end(), end,
                         [](double value, const Stretch& s) { return value < s.start; });
    const Stretch& s = *(after - 1);
    if (s.step == 0)
        return s.first + 1;
    // The division may round either way; the values themselves decide.
    const std::size_t length = after->first - s.first;
    std::size_t k = std::min(length, static_cast<std::size_t>((end - s.start) / s.step) + 1);
    while (k > 1 && valueIn(s, s.first + k - 1) > end)
        --k;
    while (k < length && valueIn(s, s.first + k) <= end)
        ++k;
    return s.first + k;
}

double exactStep(double wanted)
{
    if (!(wanted > 0) || !std::isfinite(wanted))
        return 0;
    int exponent = 0;
    std::frexp(wanted, &exponent);
    // wanted in [2^(exponent - 1), 2^exponent): units of 2^(exponent - kExactStepBits).
    const double unit = std::ldexp(1.0, exponent - kExactStepBits);
    return std::ceil(wanted / unit) * unit;
}

double loopValue(LoopSteps steps, std::size_t i)
{
    return steps.chain() ? loopValue(i) : static_cast<double>(i) * steps.step;
}

void loopValues(LoopSteps steps, std::size_t first, std::size_t n, double* out)
{
    if (steps.chain())
        return loopValues(first, n, out);
    for (std::size_t k = 0; k < n; ++k)
        out[k] = static_cast<double>(first + k) * steps.step;
}

bool loopProgression(LoopSteps steps, std::size_t first, std::size_t n, double& start, double& step)
{
    if (steps.chain())
        return loopProgression(first, n, start, step);
    if (n == 0)
        return false;
    start = static_cast<double>(first) * steps.step;
    step = steps.step;
    return true;
}

std::size_t loopProgressionEnd(LoopSteps steps, std::size_t i)
{
    return steps.chain() ? loopProgressionEnd(i) : std::numeric_limits<std::size_t>::max();
}

} // namespace korvelian
