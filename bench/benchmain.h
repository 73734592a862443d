#pragma once

#include "app/mainwindow.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

#include <sys/resource.h>

namespace korvelian {

// The window the rows of a benchmark share. It must go before the application does: a
// widget destroyed after it crashes the benchmark at its very end.
inline std::unique_ptr<MainWindow>& sharedWindowSlot()
{
    static std::unique_ptr<MainWindow> window;
    return window;
}

inline MainWindow& sharedWindow()
{
    std::unique_ptr<MainWindow>& window = sharedWindowSlot();
    if (!window)
        window = std::make_unique<MainWindow>([] {});
    return *window;
}

} // namespace korvelian

// The processor time this process has taken so far, user and system, in seconds.
inline double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& tv) { return tv.tv_sec + tv.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The benchmarks draw through the real window on the offscreen platform, on a screen of
// 3840 × 2160 (a 4K projector) rather than its own 800 × 600, where a shown window fits only
// up to about 120 % and a row of 200 or 300 % would measure that instead.
#define KORVELIAN_BENCHMARK_MAIN()                                                                 \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        QTemporaryDir dir;                                                                         \
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");                                    \
        if (platform.isEmpty() || platform == "offscreen") {                                       \
            QFile config(dir.filePath("screens.json"));                                            \
            if (!config.open(QIODevice::WriteOnly) ||                                              \
                config.write(R"({"screens": [{"name": "projector", "x": 0, "y": 0,)"               \
                             R"("width": 3840, "height": 2160, "logicalDpi": 96,)"                 \
                             R"("logicalBaseDpi": 96, "dpr": 1}]})") < 0)                          \
                return 1;                                                                          \
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toUtf8());      \
        }                                                                                          \
        QApplication app(argc, argv);                                                              \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        korvelian::sharedWindowSlot().reset();                                                     \
        return 0;                                                                                  \
    }
