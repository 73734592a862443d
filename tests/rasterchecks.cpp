#include "rasterchecks.h"

#include "raster/litrows.h"
#include "raster/runbitmaps.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace korvelian {

namespace {

struct LookupCase
{
    double step;
    int side;
    double move;
};

// Each polyline's segments drawn, then those that lookUp does not answer as segmentLit does.
std::string lookUpCase(const LookupCase& c)
{
    constexpr std::size_t kPoints = 65;
    std::mt19937 random(23);
    std::uniform_real_distribution<double> turn(0, 6.283);
    std::uniform_real_distribution<double> jitter(-c.move, c.move);
    RunBitmaps bitmaps;
    bitmaps.reset(c.side, c.side);
    std::vector<std::vector<double>> xs(40, std::vector<double>(kPoints, c.side / 2.0));
    std::vector<std::vector<double>> ys = xs;
    for (std::size_t line = 0; line < xs.size(); ++line) {
        for (std::size_t i = 1; i < kPoints; ++i) {
            const double angle = turn(random);
            xs[line][i] = xs[line][i - 1] + c.step * std::cos(angle);
            ys[line][i] = ys[line][i - 1] + c.step * std::sin(angle);
            bitmaps.segment(xs[line][i], ys[line][i], xs[line][i - 1], ys[line][i - 1]);
        }
    }
    LitRows lit;
    lit.reset(c.side, c.side, {0, 0, c.side - 1, c.side - 1});
    lit.addNew(bitmaps);
    int found[2] = {0, 0};
    for (int shaken = 0; shaken < 2; ++shaken) {
        for (std::size_t line = 0; line < xs.size(); ++line) {
            if (shaken) {
                for (std::size_t i = 0; i < kPoints; ++i) {
                    xs[line][i] += jitter(random);
                    ys[line][i] += jitter(random);
                }
                xs[line][7] = std::numeric_limits<double>::quiet_NaN();
            }
            const double* x = xs[line].data();
            const double* y = ys[line].data();
            for (const SegmentLookup how : LitRows::segmentLookups()) {
                const std::uint64_t answers = lit.segmentsLit(x, y, kPoints, how);
                for (std::size_t i = 0; i + 1 < kPoints; ++i) {
                    const bool one = lit.segmentLit(x[i + 1], y[i + 1], x[i], y[i]);
                    if (bool(answers >> i & 1) != one)
                        return "way " + std::to_string(int(how)) + ", line " +
                               std::to_string(line) + ", segment " + std::to_string(i);
                    found[one] += 1;
                }
            }
        }
    }
    // Both answers came up often enough for a fault in either to show.
    if (found[0] < 100 || found[1] < 100)
        return std::to_string(found[1]) + " lit, " + std::to_string(found[0]) + " not";
    return {};
}

} // namespace

std::string checkSegmentLookupsAlike()
{
    // A third of a pixel; 20 px as 179 : 183 at 441 px; runs longer than one load holds; walks
    // that leave the area.
    for (const LookupCase& c : {LookupCase{0.3, 441, 3.0}, LookupCase{20.0, 441, 0.5},
                                LookupCase{45.0, 200, 0.5}, LookupCase{120.0, 130, 0.5}}) {
        const std::string failure = lookUpCase(c);
        if (!failure.empty())
            return "step " + std::to_string(c.step) + ": " + failure;
    }
    return {};
}

} // namespace korvelian
