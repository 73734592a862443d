#include "auslenkung.h"
#include "benchmain.h"
#include "figurepoints.h"
#include "form1.h"
#include "mainwindow.h"
#include "painterlines.h"
#include "picturearea.h"

#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <map>
#include <utility>
#include <vector>

using namespace korvelian;

namespace {

// Ratio extremes for a closing count K: short segments (numerator 1, denominator K) or
// every segment across the screen (numerator K, denominator 1).
enum Ratio { ShortSegments = 0, LongSegments = 1 };

constexpr int kScreen = 441;

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

Parameter parameters(double k, int ratio)
{
    return {1, 0, 1, 0, ratio == LongSegments ? k : 1.0, ratio == LongSegments ? 1.0 : k};
}

double loopEnd(double k)
{
    return (k + k) * 3.1415 + 0.1;
}

void drawLines(QImage& image, const std::vector<FloatPoint>& points, std::size_t count)
{
    drawPainterLines(image, std::span(points.data(), count));
}

QImage screenImage()
{
    const qreal ratio = qApp->devicePixelRatio();
    QImage image(QSize(kScreen, kScreen) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

// Median of three drawLine drawings, measured once per case and shared by all rows.
double drawLineMilliseconds(int k, int ratio)
{
    static std::map<std::pair<int, int>, double> measured;
    const auto key = std::make_pair(k, ratio);
    if (const auto found = measured.find(key); found != measured.end())
        return found->second;
    std::vector<FloatPoint> points;
    const std::size_t count = figurePoints(parameters(k, ratio), loopEnd(k), points).count;
    QImage image = screenImage();
    std::vector<double> times;
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        drawLines(image, points, count);
        times.push_back(milliseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return measured[key] = times[1];
}

void reportRatio(benchmark::State& state, Clock::duration total)
{
    const double ours = milliseconds(total) / static_cast<double>(state.iterations());
    const double reference = drawLineMilliseconds(int(state.range(0)), int(state.range(1)));
    state.counters["drawLine_ms"] = reference;
    state.counters["vs_drawLine"] = ours / reference;
}

MainWindow& window()
{
    static MainWindow w([] {});
    return w;
}

void setRatio(MainWindow& w, int k, int ratio)
{
    auto* zaehler = w.findChild<QLineEdit*>("txtZaehler");
    auto* nenner = w.findChild<QLineEdit*>("txtNenner");
    zaehler->setText("1");
    nenner->setText("1");
    (ratio == ShortSegments ? nenner : zaehler)->setText(QString::number(k));
}

// What a Scroll event of a drag does: the whole figure into the retained image.
void BM_Redraw(benchmark::State& state)
{
    MainWindow& w = window();
    setRatio(w, int(state.range(0)), int(state.range(1)));
    auto* screen = w.findChild<PictureArea*>("picBildschirm");
    Clock::duration total{};
    for (auto _ : state) {
        const auto start = Clock::now();
        w.form().handle(Event::Command1_Click);
        benchmark::DoNotOptimize(screen->image().constBits());
        total += Clock::now() - start;
    }
    state.counters["points"] = w.form().variables().t / 0.1;
    reportRatio(state, total);
}

// The longest Change of a ratio box: closing count 32767 after 32766 subtraction passes,
// then the figure of 2.06 million points, as one keystroke in the denominator costs.
void BM_LargestChange(benchmark::State& state)
{
    MainWindow& w = window();
    setRatio(w, 1, ShortSegments);
    auto* nenner = w.findChild<QLineEdit*>("txtNenner");
    bool blank = false;
    for (auto _ : state) {
        // Two spellings of 32767, so that every iteration changes the text.
        nenner->setText(blank ? " 32767" : "32767");
        blank = !blank;
    }
    state.counters["kgV"] = w.findChild<QLineEdit*>("txtkgV")->text().toDouble();
}

// The reference itself: one QPainter::drawLine per segment.
void BM_DrawLine(benchmark::State& state)
{
    std::vector<FloatPoint> points;
    const int k = int(state.range(0));
    const std::size_t count =
        figurePoints(parameters(k, int(state.range(1))), loopEnd(k), points).count;
    QImage image = screenImage();
    Clock::duration total{};
    for (auto _ : state) {
        const auto start = Clock::now();
        drawLines(image, points, count);
        benchmark::DoNotOptimize(image.constBits());
        total += Clock::now() - start;
    }
    reportRatio(state, total);
}

// The bare points with the standard sine, one core: a floor for any straightforward drawing.
void BM_Points(benchmark::State& state)
{
    const double k = double(state.range(0));
    const Parameter p = parameters(k, int(state.range(1)));
    const double end = loopEnd(k);
    Clock::duration total{};
    for (auto _ : state) {
        const auto start = Clock::now();
        double sum = 0;
        for (double t = 0; t <= end; t += 0.1) {
            const Point point = Auslenkung(t, p);
            sum += point.x + point.y;
        }
        benchmark::DoNotOptimize(sum);
        total += Clock::now() - start;
    }
    reportRatio(state, total);
}

// The points as the drawing computes them: fast sines on both cores.
void BM_FigurePoints(benchmark::State& state)
{
    const double k = double(state.range(0));
    const Parameter p = parameters(k, int(state.range(1)));
    std::vector<FloatPoint> points;
    Clock::duration total{};
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(figurePoints(p, loopEnd(k), points).count);
        total += Clock::now() - start;
    }
    reportRatio(state, total);
}

void arguments(benchmark::internal::Benchmark* b)
{
    for (const int k : {1, 100, 6000, 32767}) {
        for (const int ratio : {ShortSegments, LongSegments})
            b->Args({k, ratio});
    }
    b->ArgNames({"K", "long"})->Unit(benchmark::kMillisecond)->Repetitions(5);
    b->ReportAggregatesOnly(true);
}

} // namespace

BENCHMARK(BM_Redraw)->Apply(arguments);
BENCHMARK(BM_LargestChange)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_DrawLine)->Apply(arguments)->Repetitions(3);
BENCHMARK(BM_Points)->Apply(arguments);
BENCHMARK(BM_FigurePoints)->Apply(arguments);

KORVELIAN_BENCHMARK_MAIN();
