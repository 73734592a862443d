#include "benchmain.h"
#include "form/form1.h"
#include "app/mainwindow.h"
#include "widgets/picturearea.h"
#include "app/windowzoom.h"

#include <QLineEdit>

using namespace korvelian;

namespace {

// What a Scroll event of a drag does in a zoomed window: the whole figure, numerator 1 and
// denominator K, drawn afresh into the retained image at the zoomed size with lines as wide
// as the zoom.
void BM_ZoomedRedraw(benchmark::State& state)
{
    MainWindow& w = sharedWindow();
    w.zoom().setZoomPercent(int(state.range(0)) * 100);
    w.findChild<QLineEdit*>("txtZaehler")->setText("1");
    w.findChild<QLineEdit*>("txtNenner")->setText(QString::number(state.range(1)));
    auto* screen = w.findChild<PictureArea*>("picBildschirm");
    for (auto _ : state) {
        w.form().handle(Event::Command1_Click);
        benchmark::DoNotOptimize(screen->image().constBits());
    }
    state.counters["pixels"] = screen->image().width();
}

} // namespace

BENCHMARK(BM_ZoomedRedraw)
    ->ArgsProduct({{1, 2, 3}, {1, 100, 6000, 32767}})
    ->ArgNames({"zoom", "K"})
    // The figure is drawn on both cores: the processor time of the whole process compares
    // the rows even on a busy machine.
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

KORVELIAN_BENCHMARK_MAIN();
