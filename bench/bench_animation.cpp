#include "benchmain.h"
#include "form/form1.h"
#include "app/mainwindow.h"
#include "app/viewoptions.h"
#include "app/windowzoom.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

using namespace korvelian;

namespace {

enum View { Plain, Afterglow, Drift, TimeSignals, ReadingAid, Everything };

// Runs "Schwingung" for a few seconds in the real window and reports frames per second
// and the processor time the program takes per second of animation: at closing count K (6 is
// 3 : 2, any other K is K : 1), plain or with one of the views that follow the beam, at a zoom
// in percent; the reading aid alone, or every view at once. The drifting phase redraws the whole
// figure about 31 times a second. screen_px is the screen's width in device pixels.
void BM_Animation(benchmark::State& state)
{
    MainWindow w([] {});
    w.zoom().setZoomPercent(int(state.range(3)));
    w.show();
    const int k = int(state.range(1));
    w.findChild<QLineEdit*>("txtZaehler")->setText(QString::number(k == 6 ? 3 : k));
    w.findChild<QLineEdit*>("txtNenner")->setText(k == 6 ? "2" : "1");
    switch (View(state.range(2))) {
    case Plain:
        break;
    case Afterglow:
        w.viewOptions().setOption(ViewOption::Afterglow, true);
        break;
    case Drift:
        w.viewOptions().setOption(ViewOption::Drift, true);
        break;
    case TimeSignals:
        w.viewOptions().setOption(ViewOption::TimeSignals, true);
        break;
    case ReadingAid:
        w.viewOptions().setOption(ViewOption::ReadingAid, true);
        break;
    case Everything:
        for (const ViewOption option : kViewOptions)
            w.viewOptions().setOption(option, option != ViewOption::YUp);
        break;
    }
    auto* stop = w.findChild<QCheckBox*>("Check1");
    // A short run first: the first paint of the whole window and the figure at this size are
    // the start's cost, not the animation's.
    QTimer::singleShot(500, [stop] { stop->setChecked(true); });
    w.form().handle(Event::Command2_Click);
    const int milliseconds = int(state.range(0));
    for (auto _ : state) {
        QTimer::singleShot(milliseconds, [stop] { stop->setChecked(true); });
        QElapsedTimer wall;
        wall.start();
        const double cpuBefore = cpuSeconds();
        w.form().handle(Event::Command2_Click);
        const double seconds = wall.nsecsElapsed() / 1e9;
        const double cpu = cpuSeconds() - cpuBefore;
        // The drift keeps t running through its redraws, so t still counts the frames.
        const double frames = w.form().variables().t / w.form().variables().dt;
        state.counters["frames_per_s"] = frames / seconds;
        state.counters["cpu_percent"] = 100 * cpu / seconds;
    }
    state.counters["screen_px"] =
        w.findChild<QWidget*>("picBildschirm")->width() * w.devicePixelRatioF();
}

} // namespace

BENCHMARK(BM_Animation)
    ->ArgNames({"ms", "K", "view", "zoom"})
    ->Args({3000, 1, Plain, 100})
    ->Args({3000, 6, Plain, 100})
    ->Args({3000, 6, Plain, 200})
    ->Args({3000, 6, Plain, 300})
    ->Args({3000, 6, Afterglow, 100})
    ->Args({3000, 6, Drift, 100})
    ->Args({3000, 6, TimeSignals, 100})
    ->Args({3000, 32767, Plain, 100})
    ->Args({3000, 32767, Plain, 200})
    ->Args({3000, 32767, Plain, 300})
    ->Args({3000, 32767, Afterglow, 100})
    ->Args({3000, 32767, Drift, 100})
    ->Args({3000, 32767, ReadingAid, 100})
    ->Args({3000, 32767, ReadingAid, 200})
    ->Args({3000, 6, Everything, 100})
    ->Args({3000, 32767, Everything, 100})
    ->Args({3000, 32767, Everything, 200})
    // Full screen on 1920 × 1080: the afterglow, the drift at a small and the largest closing
    // count, and every view at once.
    ->Args({3000, 6, Afterglow, 221})
    ->Args({3000, 6, Drift, 221})
    ->Args({3000, 32767, Drift, 221})
    ->Args({3000, 6, Everything, 221})
    ->Args({3000, 32767, Everything, 221})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

KORVELIAN_BENCHMARK_MAIN();
