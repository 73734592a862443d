#include "auslenkung.h"
#include "benchmain.h"
#include "figurepoints.h"
#include "form1.h"
#include "mainwindow.h"
#include "picturearea.h"

#include <QLineEdit>

#include <memory>

using namespace korvelian;

namespace {

// Ratio extremes for a closing count K: short segments (numerator 1, denominator K) or
// every segment across the screen (numerator K, denominator 1).
enum Ratio { ShortSegments = 0, LongSegments = 1 };

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
    for (auto _ : state) {
        w.form().handle(Event::Command1_Click);
        benchmark::DoNotOptimize(screen->image().constBits());
    }
    state.counters["points"] = w.form().variables().t / 0.1;
}

// The bare points, as a floor for any drawing.
void BM_Points(benchmark::State& state)
{
    const double k = double(state.range(0));
    const Parameter p{1,
                      0,
                      1,
                      0,
                      state.range(1) == LongSegments ? k : 1.0,
                      state.range(1) == LongSegments ? 1.0 : k};
    const double end = (k + k) * 3.1415 + 0.1;
    for (auto _ : state) {
        double sum = 0;
        for (double t = 0; t <= end; t += 0.1) {
            const Point point = Auslenkung(t, p);
            sum += point.x + point.y;
        }
        benchmark::DoNotOptimize(sum);
    }
}

// The points as the drawing computes them: fast sines on both cores.
void BM_FigurePoints(benchmark::State& state)
{
    const double k = double(state.range(0));
    const Parameter p{1,
                      0,
                      1,
                      0,
                      state.range(1) == LongSegments ? k : 1.0,
                      state.range(1) == LongSegments ? 1.0 : k};
    std::vector<FloatPoint> points;
    for (auto _ : state)
        benchmark::DoNotOptimize(figurePoints(p, (k + k) * 3.1415 + 0.1, points).count);
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
BENCHMARK(BM_Points)->Apply(arguments);
BENCHMARK(BM_FigurePoints)->Apply(arguments);

KORVELIAN_BENCHMARK_MAIN();
