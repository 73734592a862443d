#include "benchmain.h"
#include "form1.h"
#include "mainwindow.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QTimer>

#include <sys/resource.h>

using namespace korvelian;

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& tv) { return tv.tv_sec + tv.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs "Schwingung" for a few seconds in the real window and reports frames per second
// and the processor time the program takes per second of animation.
void BM_Animation(benchmark::State& state)
{
    MainWindow w([] {});
    w.show();
    auto* stop = w.findChild<QCheckBox*>("Check1");
    const int milliseconds = int(state.range(0));
    for (auto _ : state) {
        QTimer::singleShot(milliseconds, [stop] { stop->setChecked(true); });
        QElapsedTimer wall;
        wall.start();
        const double cpuBefore = cpuSeconds();
        w.form().handle(Event::Command2_Click);
        const double seconds = wall.nsecsElapsed() / 1e9;
        const double cpu = cpuSeconds() - cpuBefore;
        const double frames = w.form().variables().t / w.form().variables().dt;
        state.counters["frames_per_s"] = frames / seconds;
        state.counters["cpu_percent"] = 100 * cpu / seconds;
    }
}

} // namespace

BENCHMARK(BM_Animation)->Arg(3000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

KORVELIAN_BENCHMARK_MAIN();
