#pragma once

#include "mainwindow.h"

#include <QApplication>

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

// The benchmarks draw through the real window on the offscreen platform.
#define KORVELIAN_BENCHMARK_MAIN()                                                                 \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        QApplication app(argc, argv);                                                              \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        korvelian::sharedWindowSlot().reset();                                                     \
        return 0;                                                                                  \
    }
