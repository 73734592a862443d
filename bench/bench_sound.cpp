#include "benchmain.h"
#include "form/form1.h"
#include "app/mainwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <unistd.h>

using namespace korvelian;

namespace {

// The audio server's processor time, from its pid file: it mixes what the program plays.
double serverCpuSeconds()
{
    QFile pidFile(qEnvironmentVariable("XDG_RUNTIME_DIR") + "/pulse/pid");
    if (!pidFile.open(QIODevice::ReadOnly))
        return 0;
    QFile stat("/proc/" + pidFile.readAll().trimmed() + "/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // Fields 14 and 15, user and system time in clock ticks, after the name in parentheses.
    const QList<QByteArray> fields = stat.readAll().split(')').last().split(' ');
    return (fields.value(12).toDouble() + fields.value(13).toDouble()) / sysconf(_SC_CLK_TCK);
}

QAction* soundEntry(MainWindow& window)
{
    for (QAction* action : window.findChild<QWidget*>("picBildschirm")->actions()) {
        if (action->text() == QLatin1String("Ton"))
            return action;
    }
    return nullptr;
}

void pause(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Three seconds of "Ton" alone, of "Schwingung" alone and of both, in the real window, with
// the audio server that make bench starts: the processor time of the program and of the
// server per second, and the animation's frames per second, which the sound must not lower.
void BM_Sound(benchmark::State& state)
{
    const bool sound = state.range(0) != 0;
    const bool animation = state.range(1) != 0;
    MainWindow w([] {});
    w.show();
    QAction* entry = soundEntry(w);
    const QDeadlineTimer probing(5000);
    while (sound && !entry->isEnabled() && !probing.hasExpired())
        pause(10);
    if (sound && !entry->isEnabled()) {
        state.SkipWithError("no audio output: run through make bench");
        return;
    }
    entry->setChecked(sound);
    // Past the server's start of a new stream.
    pause(1000);
    auto* stop = w.findChild<QCheckBox*>("Check1");
    for (auto _ : state) {
        QElapsedTimer wall;
        wall.start();
        const double cpuBefore = cpuSeconds();
        const double serverBefore = serverCpuSeconds();
        if (animation) {
            stop->setChecked(false);
            QTimer::singleShot(3000, [stop] { stop->setChecked(true); });
            w.form().handle(Event::Command2_Click);
        } else {
            pause(3000);
        }
        const double seconds = wall.nsecsElapsed() / 1e9;
        state.counters["cpu_percent"] = 100 * (cpuSeconds() - cpuBefore) / seconds;
        state.counters["server_cpu_percent"] = 100 * (serverCpuSeconds() - serverBefore) / seconds;
        if (animation)
            state.counters["frames_per_s"] =
                w.form().variables().t / w.form().variables().dt / seconds;
    }
    entry->setChecked(false);
    pause(200);
}

} // namespace

BENCHMARK(BM_Sound)
    ->ArgNames({"sound", "animation"})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

KORVELIAN_BENCHMARK_MAIN();
