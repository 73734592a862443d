#include "benchmain.h"
#include "model/constants.h"
#include "model/figurepoints.h"
#include "raster/widefigureraster.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <numeric>
#include <string>
#include <vector>

using namespace korvelian;

namespace {

using Clock = std::chrono::steady_clock;

// Figures a user reaches by typing two nearby numbers or an extreme ratio: little or nothing
// of them can be skipped, or the amplitude's edge falls on a pixel boundary.
struct Figure
{
    const char* name;
    Parameter p;
};

// 90° on the phase bar: 157 hundredths of a radian.
constexpr double kRightAngle = 1.57;

const std::vector<Figure>& figures()
{
    static const std::vector<Figure> all{
        {"179:183_amp2_phase90", {2, kRightAngle, 2, kRightAngle, 179, 183}},
        {"181:179_amp2", {2, 0, 2, 0, 181, 179}},
        {"100:99", {1, 0, 1, 0, 100, 99}},
        {"32767:1", {1, 0, 1, 0, 32767, 1}},
        {"1:32767", {1, 0, 1, 0, 1, 32767}},
        {"1:250_amp1.28/1.25", {1.28, 0, 1.25, 0, 1, 250}},
    };
    return all;
}

// A picture of the screen at side pixels with lines lineWidth wide, as the screen at a zoom
// or an export at that size draws it: the frame (-2, -2) - (2, 2) over the whole picture.
struct Picture
{
    int side;
    int lineWidth;
    // The most cores the culled raster takes; 0: all that the machine offers it.
    std::size_t cores = 0;
};

// Processor time of the whole process, both cores: on a machine shared with other work it
// compares the rows where the time on the clock would not.
double cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Times
{
    double cpu = 0;
    double wall = 0;
};

Times draw(WideFigureRaster& raster, const Figure& f, Picture pic,
           std::vector<std::uint32_t>& pixels, const DrawLimits& limits = {})
{
    std::fill(pixels.begin(), pixels.end(), 0xff000000);
    const double scale = pic.side / 4.0;
    const double k = std::lcm(int(f.p.numerator), int(f.p.denominator));
    const auto start = Clock::now();
    const double cpuStart = cpuMilliseconds();
    raster.draw(pixels.data(), pic.side, pic.side, pic.side, f.p, loopEnd(k),
                {scale, 2 * scale, scale, 2 * scale}, 0xffffffff, pic.lineWidth, false, limits);
    return {cpuMilliseconds() - cpuStart,
            std::chrono::duration<double, std::milli>(Clock::now() - start).count()};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The culled raster against the plain path (every point, every segment) in the same run.
// Time is the processor time of both cores; wall_ms the time on the clock, which is what a
// frame allows on an idle machine. plain_cpu_ms and plain_wall_ms are the plain path's
// medians of three, vs_plain compares processor times. A row whose pixels differ from the
// plain path's reports differing > 0.
void BM_WorstCase(benchmark::State& state, std::size_t figure, Picture pic)
{
    const Figure& f = figures()[figure];
    std::vector<std::uint32_t> ours(std::size_t(pic.side) * pic.side);
    std::vector<std::uint32_t> plain(ours.size());
    WideFigureRaster culled(WideFigureRaster::Path::Culled,
                            pic.cores > 0 ? pic.cores : FigureRaster::machineLanes());
    WideFigureRaster reference(WideFigureRaster::Path::Plain);
    std::vector<double> plainCpu;
    std::vector<double> plainWall;
    for (int i = 0; i < 3; ++i) {
        const Times t = draw(reference, f, pic, plain);
        plainCpu.push_back(t.cpu);
        plainWall.push_back(t.wall);
    }
    // The raster is kept between redraws, as the program keeps it: its first drawing, which
    // starts the second core's thread and touches fresh memory, is not timed (nor is the plain
    // path's, whose median of three leaves it out).
    draw(culled, f, pic, ours);
    std::vector<double> wall;
    double cpu = 0;
    for (auto _ : state) {
        const Times t = draw(culled, f, pic, ours);
        state.SetIterationTime(t.cpu / 1000);
        cpu += t.cpu;
        wall.push_back(t.wall);
    }
    state.counters["wall_ms"] = median(wall);
    state.counters["plain_cpu_ms"] = median(plainCpu);
    state.counters["plain_wall_ms"] = median(plainWall);
    state.counters["vs_plain"] = cpu / double(state.iterations()) / median(plainCpu);
    state.counters["differing"] = double(
        std::inner_product(ours.begin(), ours.end(), plain.begin(), std::size_t{0}, std::plus<>(),
                           [](std::uint32_t a, std::uint32_t b) { return a != b; }));
}

// The preview the screen shows first while a large figure is drawn, against the exact
// drawing of the same figure in the same run (exact_cpu_ms, exact_wall_ms); lit_share is the
// share of the exact picture's figure pixels that the preview lights.
void BM_Preview(benchmark::State& state, std::size_t figure, Picture pic)
{
    const Figure& f = figures()[figure];
    std::vector<std::uint32_t> preview(std::size_t(pic.side) * pic.side);
    std::vector<std::uint32_t> exact(preview.size());
    WideFigureRaster raster;
    const double k = std::lcm(int(f.p.numerator), int(f.p.denominator));
    DrawLimits limits;
    limits.blocks = FigureRaster::previewBlocks(figureRun(f.p, loopEnd(k)).count);
    draw(raster, f, pic, exact);
    std::vector<double> exactCpu;
    std::vector<double> exactWall;
    std::vector<double> wall;
    for (auto _ : state) {
        const Times e = draw(raster, f, pic, exact);
        exactCpu.push_back(e.cpu);
        exactWall.push_back(e.wall);
        const Times t = draw(raster, f, pic, preview, limits);
        state.SetIterationTime(t.cpu / 1000);
        wall.push_back(t.wall);
    }
    state.counters["wall_ms"] = median(wall);
    state.counters["exact_cpu_ms"] = median(exactCpu);
    state.counters["exact_wall_ms"] = median(exactWall);
    const auto lit = [](const std::vector<std::uint32_t>& pixels) {
        return double(std::count(pixels.begin(), pixels.end(), 0xffffffff));
    };
    state.counters["lit_share"] = lit(preview) / lit(exact);
    state.counters["blocks"] = double(limits.blocks);
}

const bool registered = [] {
    // 1x, device pixel ratio 2, zoom 200 % (two-pixel lines), zoom 300 %, and exports.
    const std::vector<Picture> pictures{{441, 1}, {882, 1}, {882, 2}, {1323, 3}};
    for (std::size_t i = 0; i < figures().size(); ++i) {
        std::vector<Picture> sizes = pictures;
        if (i == 0) {
            sizes.push_back({4000, 9});
            sizes.push_back({8192, 19});
            // One core's share: what a machine of more cores divides.
            sizes.push_back({441, 1, 1});
        }
        // The amplitude's edge on a pixel boundary, at 1x and after the mask's shift.
        if (i == 3 || i == 4)
            sizes.push_back({440, 1});
        for (const Picture pic : sizes) {
            const std::string name = std::string("BM_WorstCase/") + figures()[i].name +
                                     "/px:" + std::to_string(pic.side) +
                                     "/line:" + std::to_string(pic.lineWidth) +
                                     (pic.cores > 0 ? "/cores:" + std::to_string(pic.cores) : "");
            benchmark::RegisterBenchmark(name.c_str(), BM_WorstCase, i, pic)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(pic.side > 2000 ? 1 : 10)
                ->Repetitions(3)
                ->ReportAggregatesOnly(true);
        }
    }
    // 100 %, full screen (221 %) at device pixel ratio 1 and 2.
    for (const Picture pic : {Picture{441, 1}, Picture{974, 2}, Picture{1948, 2}}) {
        const std::string name = std::string("BM_Preview/") + figures()[0].name +
                                 "/px:" + std::to_string(pic.side) +
                                 "/line:" + std::to_string(pic.lineWidth);
        benchmark::RegisterBenchmark(name.c_str(), BM_Preview, 0, pic)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(10)
            ->Repetitions(3)
            ->ReportAggregatesOnly(true);
    }
    return true;
}();

} // namespace

KORVELIAN_BENCHMARK_MAIN();
