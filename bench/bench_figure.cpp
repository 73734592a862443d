#include "model/deflection.h"
#include "benchmain.h"
#include "model/constants.h"
#include "model/figurepoints.h"
#include "model/finecurve.h"
#include "raster/figureraster.h"
#include "form/form1.h"
#include "app/mainwindow.h"
#include "app/windowzoom.h"
#include "tests/painterlines.h"
#include "picture/drawingrenderer.h"
#include "widgets/picturearea.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <malloc.h>
#include <map>
#include <string>
#include <thread>
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

// The figure's points for a case, as the drawing computes them.
std::vector<FloatPoint> figure(int k, int ratio)
{
    std::vector<FloatPoint> points;
    points.resize(figurePoints(parameters(k, ratio), loopEnd(k), points).count);
    return points;
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
    const std::vector<FloatPoint> points = figure(k, ratio);
    QImage image = screenImage();
    std::vector<double> times;
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        drawPainterLines(image, points);
        times.push_back(milliseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return measured[key] = times[1];
}

// Runs body once per iteration and reports the time against the drawLine reference of the
// same case.
template <typename Body> void againstDrawLine(benchmark::State& state, Body body)
{
    Clock::duration total{};
    for (auto _ : state) {
        const auto start = Clock::now();
        body();
        total += Clock::now() - start;
    }
    const double ours = milliseconds(total) / static_cast<double>(state.iterations());
    const double reference = drawLineMilliseconds(int(state.range(0)), int(state.range(1)));
    state.counters["drawLine_ms"] = reference;
    state.counters["vs_drawLine"] = ours / reference;
}

void setRatio(MainWindow& w, int k, int ratio)
{
    auto* numerator = w.findChild<QLineEdit*>("txtZaehler");
    auto* denominator = w.findChild<QLineEdit*>("txtNenner");
    numerator->setText("1");
    denominator->setText("1");
    (ratio == ShortSegments ? denominator : numerator)->setText(QString::number(k));
}

// What a Scroll event of a drag does: the whole figure into the retained image.
void BM_Redraw(benchmark::State& state)
{
    MainWindow& w = sharedWindow();
    setRatio(w, int(state.range(0)), int(state.range(1)));
    auto* screen = w.findChild<PictureArea*>("picBildschirm");
    againstDrawLine(state, [&] {
        w.form().handle(Event::Command1_Click);
        benchmark::DoNotOptimize(screen->image().constBits());
    });
    state.counters["points"] = w.form().variables().t / 0.1;
}

// What a redraw costs on the new path, without the window: the screen cleared, the axes,
// what the loop leaves behind (figureRun, as the plotter asks) and the figure rasterised
// from its parameters into the image at the screen's device pixel ratio.
void BM_FigureRedraw(benchmark::State& state)
{
    const double k = double(state.range(0));
    const Parameter p = parameters(k, int(state.range(1)));
    QImage image = screenImage();
    const std::size_t heapBefore = mallinfo2().uordblks;
    FigureRaster raster;
    const double scale = image.width() / 4.0;
    const PixelMapping transform{scale, 2 * scale, scale, 2 * scale};
    auto* pixels = reinterpret_cast<std::uint32_t*>(image.bits());
    againstDrawLine(state, [&] {
        image.fill(QColor(0, 0, 0));
        {
            QPainter painter(&image);
            QPen pen(QColor(150, 150, 255), 1);
            pen.setCosmetic(true);
            painter.setPen(pen);
            painter.drawLine(QLineF(0, kScreen / 2.0, kScreen, kScreen / 2.0));
            painter.drawLine(QLineF(kScreen / 2.0, 0, kScreen / 2.0, kScreen));
        }
        benchmark::DoNotOptimize(figureRun(p, loopEnd(k)));
        raster.draw(pixels, image.width(), image.height(), image.bytesPerLine() / 4, p, loopEnd(k),
                    transform, qRgb(255, 255, 255));
        benchmark::DoNotOptimize(image.constBits());
    });
    // What the raster keeps between drawings, its thread's stack aside.
    state.counters["heap_MB"] = double(mallinfo2().uordblks - heapBefore) / 1e6;
}

// The longest Change of a ratio box: closing count 32767 after 32766 subtraction passes,
// then the figure of 2.06 million points, as one keystroke in the denominator costs.
void BM_LargestChange(benchmark::State& state)
{
    MainWindow& w = sharedWindow();
    setRatio(w, 1, ShortSegments);
    auto* denominator = w.findChild<QLineEdit*>("txtNenner");
    bool blank = false;
    for (auto _ : state) {
        // Two spellings of 32767, so that every iteration changes the text.
        denominator->setText(blank ? " 32767" : "32767");
        blank = !blank;
    }
    state.counters["kgV"] = w.findChild<QLineEdit*>("txtkgV")->text().toDouble();
}

// The figures a held key is measured on: the largest one, and one where little can be skipped.
enum HeldKeyFigure { LargestK = 0, NearbyNumbers = 1 };

// Posts a probe to the event thread every millisecond from a thread of its own, as a window
// system delivers input whatever the program is doing, and keeps how late the latest probes
// were handled: the input delay.
class InputProbe : public QObject
{
public:
    InputProbe()
        : m_thread([this] {
              while (!m_quit.load()) {
                  const auto posted = Clock::now();
                  QMetaObject::invokeMethod(
                      this,
                      [this, posted] { m_latest = std::max(m_latest, Clock::now() - posted); },
                      Qt::QueuedConnection);
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
          })
    {
    }
    ~InputProbe() override
    {
        m_quit = true;
        m_thread.join();
        QCoreApplication::removePostedEvents(this);
    }
    // The longest delay since the last call.
    double takeLongest()
    {
        const double longest = milliseconds(m_latest);
        m_latest = {};
        return longest;
    }

private:
    Clock::duration m_latest{};
    std::atomic<bool> m_quit = false;
    std::thread m_thread;
};

// The processor time of the calling thread so far.
double threadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Runs the event loop until the screen shows what done() asks for; the time it took. It
// sleeps between events as the program's own loop does (the probe wakes it every
// millisecond): a loop that spun would take a core from the drawing.
template <typename Done> double until(Clock::time_point from, Done done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return milliseconds(Clock::now() - from);
}

// The figures of the table of make bench: 179 : 183 at amplitudes 2 and phases 90°, or
// K = 32767 with numerator K at amplitude 1.
void setHeldKeyFigure(MainWindow& w, bool nearby)
{
    if (nearby) {
        w.findChild<QLineEdit*>("txtZaehler")->setText("179");
        w.findChild<QLineEdit*>("txtNenner")->setText("183");
    } else {
        setRatio(w, 32767, LongSegments);
    }
    w.findChild<QScrollBar*>("hscAmp2")->setValue(nearby ? 200 : 100);
    w.findChild<QScrollBar*>("HScroll1")->setValue(nearby ? 157 : 0);
    w.findChild<QScrollBar*>("hscPhase")->setValue(nearby ? 157 : 0);
}

// The numerator's "+" from 178 : 183 to 179 : 183 at amplitudes 2, at a zoom (221 %: full
// screen on a screen of 1920 × 1080), drawn at once on the event thread as before (at_once_)
// and aside on the drawing thread (aside_), the two taking turns in every iteration so that
// both meet the same load. input_ms is the longest any input waited meanwhile (a probe posted
// every millisecond from another thread), first_ms how long after the click the screen shows
// a picture of 179 : 183 (a preview or the exact one), exact_ms the exact picture.
void BM_NewPicture(benchmark::State& state)
{
    MainWindow& w = sharedWindow();
    w.zoom().setZoomPercent(int(state.range(0)));
    w.show();
    setHeldKeyFigure(w, true);
    w.findChild<QScrollBar*>("hscAmp1")->setValue(200);
    auto* screen = w.findChild<PictureArea*>("picBildschirm");
    auto* numerator = w.findChild<QLineEdit*>("txtZaehler");
    auto* plus = w.findChild<QPushButton*>("cmdplusZaehler");
    std::map<std::string, std::vector<double>> rows;
    InputProbe probe;
    for (auto _ : state) {
        for (const bool aside : {false, true}) {
            const std::string path = aside ? "aside_" : "at_once_";
            screen->setDrawnAside(aside);
            numerator->setText("178");
            until(Clock::now(), [&] { return screen->showsExact(); });
            probe.takeLongest();
            const auto start = Clock::now();
            plus->click();
            rows[path + "first_ms"].push_back(until(start, [&] { return screen->showsNewest(); }));
            rows[path + "exact_ms"].push_back(until(start, [&] { return screen->showsExact(); }));
            rows[path + "input_ms"].push_back(probe.takeLongest());
        }
    }
    for (auto& [name, values] : rows) {
        std::sort(values.begin(), values.end());
        state.counters[name] = values[values.size() / 2];
    }
    state.counters["screen_px"] = screen->imageSize().width();
    w.zoom().setZoomPercent(100);
    screen->setDrawnAside(true);
}

// A held arrow key on the x amplitude bar: 30 Change events 33 ms apart, the event loop
// running between them as it does for the user. lag_ms is how long after the last event the
// screen shows its exact picture; behind_ms how late the latest event came to be handled, which
// stays 0 while the program keeps up with the key; input_ms the longest any input waited
// (InputProbe); key_ms the longest a key press took to handle; event_cpu_ms the event thread's
// processor time per press, until the exact picture is shown: what input waits for beyond it
// is a core. Each on the path drawn at once (at_once_) and aside (aside_), taking turns.
// Figures: K = 32767 with numerator K at amplitude 1, and 179 : 183 at amplitudes 2 and phases
// 90°, starting from amplitude 2.
void BM_HeldKey(benchmark::State& state)
{
    using namespace std::chrono_literals;
    MainWindow& w = sharedWindow();
    w.show();
    const bool nearby = state.range(0) == NearbyNumbers;
    setHeldKeyFigure(w, nearby);
    auto* bar = w.findChild<QScrollBar*>("hscAmp1");
    auto* screen = w.findChild<PictureArea*>("picBildschirm");
    std::map<std::string, std::vector<double>> rows;
    InputProbe probe;
    for (auto _ : state) {
        for (const bool aside : {false, true}) {
            const std::string path = aside ? "aside_" : "at_once_";
            screen->setDrawnAside(aside);
            bar->setValue(nearby ? 200 : 100);
            until(Clock::now(), [&] { return screen->showsExact(); });
            probe.takeLongest();
            const auto start = Clock::now();
            const double cpuBefore = threadCpuMilliseconds();
            Clock::time_point last;
            double behind = 0;
            double handling = 0;
            for (int i = 0; i < 30; ++i) {
                const auto due = start + i * 33ms;
                while (Clock::now() < due)
                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                last = Clock::now();
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), i > 0);
                QCoreApplication::sendEvent(bar, &press);
                handling = std::max(handling, milliseconds(Clock::now() - last));
                behind = std::max(behind, milliseconds(last - due));
            }
            rows[path + "lag_ms"].push_back(until(last, [&] { return screen->showsExact(); }));
            rows[path + "behind_ms"].push_back(behind);
            rows[path + "input_ms"].push_back(probe.takeLongest());
            rows[path + "key_ms"].push_back(handling);
            rows[path + "event_cpu_ms"].push_back((threadCpuMilliseconds() - cpuBefore) / 30);
        }
    }
    for (auto& [name, values] : rows) {
        std::sort(values.begin(), values.end());
        state.counters[name] = values[values.size() / 2];
    }
    state.counters["value"] = bar->value();
    screen->setDrawnAside(true);
}

// The reference itself: one QPainter::drawLine per segment.
void BM_DrawLine(benchmark::State& state)
{
    const std::vector<FloatPoint> points = figure(int(state.range(0)), int(state.range(1)));
    QImage image = screenImage();
    againstDrawLine(state, [&] {
        drawPainterLines(image, points);
        benchmark::DoNotOptimize(image.constBits());
    });
}

// The bare points with the standard sine, one core: a floor for any straightforward drawing.
void BM_Points(benchmark::State& state)
{
    const double k = double(state.range(0));
    const Parameter p = parameters(k, int(state.range(1)));
    const double end = loopEnd(k);
    againstDrawLine(state, [&] {
        double sum = 0;
        for (double t = 0; t <= end; t += 0.1) {
            const Point point = deflection(t, p);
            sum += point.x + point.y;
        }
        benchmark::DoNotOptimize(sum);
    });
}

// All points as figurePoints computes them: fast sines, one core.
void BM_FigurePoints(benchmark::State& state)
{
    const double k = double(state.range(0));
    const Parameter p = parameters(k, int(state.range(1)));
    std::vector<FloatPoint> points;
    againstDrawLine(state,
                    [&] { benchmark::DoNotOptimize(figurePoints(p, loopEnd(k), points).count); });
}

// The figures "Feine Kurve" is measured on: the spearheads at 10 : 1, the figure that runs over
// itself 179 times, and the two of K = 32767.
struct FineFigure
{
    const char* numerator;
    const char* denominator;
    int amplitude;
    int phase;
};
constexpr FineFigure kFineFigures[] = {
    {"10", "1", 100, 0}, {"179", "183", 200, 157}, {"32767", "1", 100, 0}, {"1", "32767", 100, 0}};

// One redraw as a Scroll event makes it, the figure drawn as its fine curve (fine:1) next to
// the loop's step of 0.1 (fine:0) in the same run. points: the points drawn; advance: radians
// of the faster oscillation per step.
void BM_FineCurve(benchmark::State& state)
{
    MainWindow& w = sharedWindow();
    const FineFigure& f = kFineFigures[state.range(0)];
    const bool fine = state.range(1) != 0;
    w.findChild<QLineEdit*>("txtZaehler")->setText(f.numerator);
    w.findChild<QLineEdit*>("txtNenner")->setText(f.denominator);
    for (const char* bar : {"hscAmp1", "hscAmp2"})
        w.findChild<QScrollBar*>(bar)->setValue(f.amplitude);
    for (const char* bar : {"HScroll1", "hscPhase"})
        w.findChild<QScrollBar*>(bar)->setValue(f.phase);
    auto* screen = w.findChild<PictureArea*>("picBildschirm");
    screen->setFine(fine);
    for (auto _ : state) {
        w.form().handle(Event::Command1_Click);
        benchmark::DoNotOptimize(screen->image().constBits());
    }
    const DrawOp& figure = *lastFigure(screen->drawing());
    const Parameter& p = figure.parameters;
    const FineCurve curve = fineCurve(p, figure.end);
    const double step = fine ? curve.steps.step : kLoopStep;
    state.counters["points"] = double(figurePointCount(figure, fine));
    state.counters["advance"] = step * std::max(1.0, p.numerator / p.denominator);
    screen->setFine(false);
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
BENCHMARK(BM_FigureRedraw)->Apply(arguments);
BENCHMARK(BM_LargestChange)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_HeldKey)
    ->Arg(LargestK)
    ->Arg(NearbyNumbers)
    ->ArgName("figure")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_NewPicture)
    ->Arg(100)
    ->Arg(221)
    ->ArgName("zoom")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(9);
BENCHMARK(BM_DrawLine)->Apply(arguments)->Repetitions(3);
BENCHMARK(BM_Points)->Apply(arguments);
BENCHMARK(BM_FigurePoints)->Apply(arguments);
BENCHMARK(BM_FineCurve)
    ->Apply([](benchmark::internal::Benchmark* b) {
        for (int figure = 0; figure < int(std::size(kFineFigures)); ++figure) {
            for (const int fine : {0, 1})
                b->Args({figure, fine});
        }
    })
    ->ArgNames({"figure", "fine"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

KORVELIAN_BENCHMARK_MAIN();
