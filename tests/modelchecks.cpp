#include "modelchecks.h"

#include "model/constants.h"
#include "model/emulatedfma.h"
#include "model/fastsine.h"
#include "model/figurepoints.h"
#include "model/loopvalues.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>

namespace korvelian {

namespace {

std::string text(double value)
{
    std::ostringstream out;
    out.precision(17);
    out << value;
    return out.str();
}

bool finite(const Point& point)
{
    return std::isfinite(point.x) && std::isfinite(point.y);
}

// One double a vector, for the multiply-add's check.
struct Scalar
{
    using D = double;
    static D set(double v) { return v; }
    static D add(D a, D b) { return a + b; }
    static D sub(D a, D b) { return a - b; }
    static D mul(D a, D b) { return a * b; }
    static D towardOdd(D s, D e)
    {
        const auto bits = std::bit_cast<std::uint64_t>(s);
        if (e == 0 || (bits & 1) != 0)
            return s;
        return std::bit_cast<double>(std::signbit(s) == std::signbit(e) ? bits + 1 : bits - 1);
    }
};

bool sameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

} // namespace

std::string checkEmulatedFma(int count)
{
    std::mt19937_64 random(35);
    std::uniform_real_distribution<double> unit(-1, 1);
    const auto scaled = [&](int spread) {
        return std::ldexp(unit(random), int(random() % (2 * spread)) - spread);
    };
    for (int i = 0; i < count; ++i) {
        double a = scaled(40);
        double b = scaled(40);
        double c = 0;
        if (i % 2 == 0) {
            c = scaled(50);
        } else {
            // c + a * b rounded once lands just beside a tie of c's last bit: a * b is half
            // of c's last place less a little that only a single rounding keeps.
            c = scaled(30);
            const double place = std::nextafter(std::abs(c), INFINITY) - std::abs(c);
            const double k = double(1 + random() % 1000);
            a = 1 + k * std::ldexp(1.0, -30);
            b = (1 - k * std::ldexp(1.0, -30)) * place / 2 * (random() % 2 ? 1 : -1);
        }
        const double emulated = fusedMultiplyAdd<Scalar>(a, b, c);
        const double fused = std::fma(a, b, c);
        if (!sameBits(emulated, fused) && !(emulated == 0 && fused == 0))
            return "fma(" + text(a) + ", " + text(b) + ", " + text(c) + ") = " + text(emulated) +
                   ", not " + text(fused);
    }
    return {};
}

std::string checkKernelsAlike(int count)
{
    const std::vector<std::size_t> widths = fastSineWidths();
    std::mt19937_64 random(35);
    std::vector<double> arguments(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const double reach = i % 2 == 0 ? 2 * 3.1416 * 32767 : 1e10;
        arguments[i] = std::uniform_real_distribution<double>(0, reach)(random);
    }
    std::vector<double> first(arguments.size());
    std::vector<double> other(arguments.size());
    fastSines(arguments.data(), first.data(), arguments.size());
    for (const std::size_t width : widths) {
        fastSines(arguments.data(), other.data(), arguments.size(), width);
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            if (!sameBits(first[i], other[i]))
                return "sin " + text(arguments[i]) + " (" + std::to_string(width) +
                       " wide) = " + text(other[i]) + ", the default kernel " + text(first[i]);
        }
    }
    return {};
}

#if defined(__wasm_simd128__)
namespace {
std::size_t hostCalls = 0;
}

std::string checkHostSinesOffered()
{
    struct Row
    {
        const char* name;
        HostSines kernel;
        bool taken;
    };
    const Row rows[] = {
        {"std::sin",
         [](const double* in, double* out, std::size_t n) {
             ++hostCalls;
             for (std::size_t i = 0; i < n; ++i)
                 out[i] = std::sin(in[i]);
         },
         false},
        {"the portable kernel",
         [](const double* in, double* out, std::size_t n) {
             ++hostCalls;
             fastSines(in, out, n, 1);
         },
         true},
    };
    for (const Row& row : rows) {
        if (offerHostSines(row.kernel) != row.taken)
            return std::string(row.name) + (row.taken ? " refused" : " taken");
    }
    hostCalls = 0;
    const std::array<double, 2> arguments = {1.0, 2.0};
    std::array<double, 2> sines;
    fastSines(arguments.data(), sines.data(), arguments.size(), 2);
    return hostCalls == 0 ? "the kernel taken is not called" : "";
}
#endif

std::vector<FigureCase> figureCases()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return {
        {"K = 1", {1, 0, 1, 0, 1, 1}, loopEnd(1)},
        {"7 : 5 with phases", {1, 0.3, 1, 0.5, 7, 5}, loopEnd(35)},
        {"100 : 1", {1, 0, 1, 0, 100, 1}, loopEnd(100)},
        {"1 : 100", {1, 0, 1, 0, 1, 100}, loopEnd(100)},
        {"6000 : 1", {1, 0, 1, 0, 6000, 1}, loopEnd(6000)},
        {"1 : 6000", {1, 0, 1, 0, 1, 6000}, loopEnd(6000)},
        {"32767 : 1", {1, 0, 1, 0, 32767, 1}, loopEnd(32767)},
        {"1 : 32767", {1, 0, 1, 0, 1, 32767}, loopEnd(32767)},
        {"7 : 600, y turning 98 times", {1, 0, 1, 0, 7, 600}, loopEnd(4200)},
        {"amplitudes 0", {0, 0, 0, 0, 3, 2}, loopEnd(6)},
        {"amplitudes and phases", {1.5, 0.3, 0.75, 1.0, 3, 2}, loopEnd(6)},
        {"amplitudes 2, to the edges", {2, 0.3, 2, 1, 7, 3}, loopEnd(21)},
        {"amplitudes 3, beyond the area", {3, 0.1, 2.5, 0, 600, 1}, loopEnd(600)},
        {"denominator 0, no point", {1, 0, 1, 0, 1, 0}, loopEnd(1)},
        {"numerator 1e308, ends at t = 1.3", {1, 0, 1, 0.5, 1e308, 1}, loopEnd(1000)},
        {"numerator 1e308, y phase -0.5, ends past the turn",
         {1, 0, 1, -0.5, 1e308, 1},
         loopEnd(1000)},
        {"numerator 1e308, y phase -3.3, no point", {1, 0, 1, -3.3, 1e308, 1}, loopEnd(1000)},
        {"numerator 1e300, huge but finite", {1, 0, 1, 0, 1e300, 1}, loopEnd(100)},
        {"denominator 1e-310, ends at the second point", {1, 0, 1, 0, 1, 1e-310}, loopEnd(100)},
        {"numerator not a number", {1, 0, 1, 0, nan, 1}, loopEnd(3)},
    };
}

std::vector<double> sineArguments()
{
    const double inf = std::numeric_limits<double>::infinity();
    return {0.0,
            -0.0,
            0.1,
            0.7853981633974483,
            1.5707963267948966,
            3.0,
            -3.0,
            6.299999999999994,
            628.3,
            205876.5,
            1e6,
            6.75e9,
            -6.75e9,
            1e11,
            9.99e11,
            1e12,
            1.0000001e12,
            1e15,
            1e300,
            inf,
            -inf,
            std::numeric_limits<double>::quiet_NaN()};
}

std::string checkSine(double x)
{
    const double expected = std::sin(x);
    double first = 0;
    const std::vector<std::size_t> widths = fastSineWidths();
    for (std::size_t k = 0; k <= widths.size(); ++k) {
        // The default kernel, then every one this processor has: each within reach of
        // std::sin, and all to the bit alike, so that a figure's points do not depend on the
        // processor that draws it.
        double out = 0;
        if (k == 0)
            fastSines(&x, &out, 1);
        else
            fastSines(&x, &out, 1, widths[k - 1]);
        const std::string kernel = k == 0 ? "" : " (" + std::to_string(widths[k - 1]) + " wide)";
        // Far below a pixel: the screen is 4 units across and the amplitude at most 2.
        const bool close =
            std::isnan(expected) ? std::isnan(out) : std::abs(out - expected) < 1e-12;
        if (!close)
            return "sin " + text(x) + kernel + " = " + text(out) + ", not " + text(expected);
        if (k == 0)
            first = out;
        else if (!(std::bit_cast<std::uint64_t>(out) == std::bit_cast<std::uint64_t>(first)))
            return "sin " + text(x) + kernel + " = " + text(out) + ", the default kernel " +
                   text(first);
    }
    return {};
}

std::string checkSinesInPlace()
{
    std::vector<double> values = {0.5, 1e300, 2.0, 1.7e308, 3e13, -1e200, 4.0};
    // More than one block, so that every block keeps its own arguments aside.
    for (std::size_t i = 0; i < 600; ++i)
        values.push_back(i % 3 == 0 ? 1e250 * double(i + 1) : 0.01 * double(i));
    const std::vector<double> arguments = values;
    fastSines(values.data(), values.data(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!(std::abs(values[i] - std::sin(arguments[i])) < 1e-12))
            return "in place, sin " + text(arguments[i]) + " = " + text(values[i]);
    }
    return {};
}

std::string checkFigure(const FigureCase& c)
{
    std::vector<Point> exact;
    double t = 0;
    double last = 0;
    bool stopped = false;
    for (; t <= c.end; t += kLoopStep) {
        const Point point = deflection(t, c.p);
        if (!finite(point)) {
            stopped = true;
            break;
        }
        exact.push_back(point);
        last = t;
    }
    const FigureRun run = figureRun(c.p, c.end);
    if (run.count != exact.size() || run.lastT != last || run.t != t ||
        run.stoppedAtNonFinite != stopped) {
        return "run: " + std::to_string(run.count) + " points, last t " + text(run.lastT) + ", t " +
               text(run.t) + (run.stoppedAtNonFinite ? ", stopped" : "") +
               "; the loop: " + std::to_string(exact.size()) + ", " + text(last) + ", " + text(t) +
               (stopped ? ", stopped" : "");
    }
    // Filled with what no point is, so that a point left unwritten shows.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<FloatPoint> points(exact.size() + 1, {nan, nan});
    const FigureRun drawn = figurePoints(c.p, c.end, points);
    if (drawn.count != run.count || drawn.t != run.t)
        return "figurePoints counts otherwise than figureRun";
    for (std::size_t i = 0; i < exact.size(); ++i) {
        // Single precision is all the drawing gets; the fast sine may move the last bit.
        const double tolerance =
            1e-6 * std::max({1.0, std::abs(c.p.amplitudeX), std::abs(c.p.amplitudeY)});
        if (!(std::abs(points[i].x - exact[i].x) <= tolerance) ||
            !(std::abs(points[i].y - exact[i].y) <= tolerance)) {
            return "point " + std::to_string(i) + " is (" + text(points[i].x) + ", " +
                   text(points[i].y) + "), not (" + text(exact[i].x) + ", " + text(exact[i].y) +
                   ")";
        }
    }
    return {};
}

std::string checkLoopValues(int largest)
{
    const std::size_t total = loopCount(loopEnd(largest)) + 1;
    std::vector<double> values(total);
    loopValues(0, total, values.data());
    double t = 0;
    int k = 1;
    for (std::size_t i = 0; i < total; ++i, t += kLoopStep) {
        if (loopValue(i) != t || values[i] != t)
            return "value " + std::to_string(i) + " is " + text(loopValue(i)) + ", not " + text(t);
        // The first value past a loop end is the count of the loop's points.
        for (; k <= largest && t > loopEnd(k); ++k) {
            if (loopCount(loopEnd(k)) != i)
                return "closing count " + std::to_string(k) + ": " +
                       std::to_string(loopCount(loopEnd(k))) + " points, not " + std::to_string(i);
            // The parameter lines and the time signals read the count back from the end.
            if (closingCountOf(loopEnd(k)) != k)
                return "loop end of " + std::to_string(k) + " read back as closing count " +
                       std::to_string(closingCountOf(loopEnd(k)));
        }
        if (loopCount(t) != i + 1)
            return "up to " + text(t) + ": " + std::to_string(loopCount(t)) + " points";
    }
    // A range of equal steps gives its values as start + k * step, exactly, up to its end and
    // not one value further.
    constexpr std::size_t kBlock = 513;
    for (std::size_t i = 0; i + kBlock < total; i += i < 64 ? 1 : 997) {
        const std::size_t end = loopProgressionEnd(i);
        const std::size_t n = std::min(kBlock, end - i);
        double start = 0;
        double step = 0;
        if (!loopProgression(i, n, start, step)) {
            if (values[i] >= 0.5)
                return "no range of equal steps at value " + std::to_string(i);
            continue;
        }
        for (std::size_t j = 0; j < n; ++j) {
            if (start + static_cast<double>(j) * step != values[i + j])
                return "value " + std::to_string(i + j) + " off its range's steps";
        }
        if (end < total && loopProgression(i, end - i + 1, start, step))
            return "the range of value " + std::to_string(i) + " runs past value " +
                   std::to_string(end);
    }
    return {};
}

} // namespace korvelian
