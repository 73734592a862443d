#include "model/constants.h"
#include "raster/crestreach.h"
#include "model/figurepoints.h"
#include "raster/figurebounds.h"
#include "raster/figureraster.h"
#include "model/loopvalues.h"
#include "tests/modelchecks.h"
#include "raster/segmentraster.h"
#include "raster/widefigureraster.h"
#include "raster/workerthread.h"

#include "tests/testregistry.h"

#include <QTest>

#include <algorithm>
#include <thread>
#include <chrono>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <numeric>
#include <random>
#include <vector>

Q_DECLARE_METATYPE(korvelian::Parameter)

using namespace korvelian;

namespace {

constexpr std::uint32_t kBackground = 0xff000000;
constexpr std::uint32_t kAxis = 0xff9696ff;
constexpr std::uint32_t kFigure = 0xffffffff;

// The screen as a redraw leaves it before the figure: background and axes, in rows a few
// pixels longer than the area.
struct Screen
{
    explicit Screen(int side) : size(side), stride(side + 3), pixels(stride * side, kBackground)
    {
        for (int i = 0; i < size; ++i)
            pixels[size / 2 * stride + i] = pixels[i * stride + size / 2] = kAxis;
    }

    int size;
    std::ptrdiff_t stride;
    std::vector<std::uint32_t> pixels;
};

// A random figure as the controls give one, on a picture of side pixels with lines lineWidth
// wide. Half of them have a slow y (denominator 50 to 400), where a block spans less than a
// turn of the y sine; amplitudes of exactly 1 and 2 and sides divisible by 4 put the crest
// on a pixel boundary.
struct RandomFigure
{
    Parameter p;
    double end = 0;
    int side = 0;
    int lineWidth = 1;
    double yScale = 1;
};

// The model's cases and the figure that gives every core the most to do: 179 : 183 runs over
// itself 179 times and nothing of it can be skipped whole.
std::vector<FigureCase> rasterCases()
{
    std::vector<FigureCase> cases = figureCases();
    const double halfPi = 1.5707963267948966;
    cases.push_back(
        {"179 : 183 at amplitudes 2", {2, halfPi, 2, halfPi, 179, 183}, loopEnd(32757)});
    return cases;
}

RandomFigure randomFigure(std::mt19937& random)
{
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const auto amplitude = [&] {
        const int choice = pick(0, 3);
        return (choice == 0 ? 100 : choice == 1 ? 200 : pick(0, 200)) / 100.0;
    };
    RandomFigure f;
    const int z = pick(1, 12);
    const int n = pick(0, 1) == 0 ? pick(50, 400) : pick(1, 60);
    f.p = {amplitude(), pick(0, 628) / 100.0, amplitude(), pick(0, 628) / 100.0, double(z),
           double(n)};
    f.end = loopEnd(std::lcm(z, n));
    const int sides[] = {440, 441, 882, pick(60, 900)};
    f.side = sides[pick(0, 3)];
    f.lineWidth = pick(1, 3);
    f.yScale = pick(0, 1) == 0 ? 1 : -1;
    return f;
}

QString describe(const RandomFigure& f, unsigned seed)
{
    return QString("seed %1: %2 : %3, amplitudes %4 / %5, phases %6 / %7, %8 px, line %9, y %10")
        .arg(seed)
        .arg(f.p.numerator)
        .arg(f.p.denominator)
        .arg(f.p.amplitudeX)
        .arg(f.p.amplitudeY)
        .arg(f.p.phaseX)
        .arg(f.p.phaseY)
        .arg(f.side)
        .arg(f.lineWidth)
        .arg(f.yScale);
}

// The pixel a point lights as a segment's end, cut to the area.
int endPixel(double coordinate, int size)
{
    return std::min(static_cast<int>(std::clamp(coordinate, 0.0, double(size))), size - 1);
}

unsigned environmentNumber(const char* name, unsigned fallback)
{
    bool ok = false;
    const unsigned value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

} // namespace

class TestFigureRaster : public QObject
{
    Q_OBJECT

private slots:
    void samePixelsAsEverySegment_data();
    void samePixelsAsEverySegment();
    void aFigureTakesNoMoreCoresThanItsLimit_data();
    void aFigureTakesNoMoreCoresThanItsLimit();
    void randomFiguresKeepTheirBoxesAndPixels();
    void aPreviewLightsOnlyPixelsTheFigureLights();
    void aStoppedDrawingEndsBetweenBlocks_data();
    void aStoppedDrawingEndsBetweenBlocks();
    void sharesAddUpToTheFigure_data();
    void sharesAddUpToTheFigure();
    void aPointGrowsToItsLineWidthAroundItself_data();
    void aPointGrowsToItsLineWidthAroundItself();
    void aGrownFigureSkipsOnlyWhatItsLineCovers_data();
    void aGrownFigureSkipsOnlyWhatItsLineCovers();
    void coresOnlyWhereTheyPay_data();
    void coresOnlyWhereTheyPay();
    void crestPlacesFindEveryNearPoint_data();
    void crestPlacesFindEveryNearPoint();
    void aCrestZoneHoldsEveryPointLandingInIt_data();
    void aCrestZoneHoldsEveryPointLandingInIt();
    void theSecondCoreRunsAJobOrDropsIt_data();
    void theSecondCoreRunsAJobOrDropsIt();
};

void TestFigureRaster::samePixelsAsEverySegment_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<double>("yScale");
    QTest::addColumn<int>("lanes");
    const int machine = int(FigureRaster::machineLanes());
    const std::vector<FigureCase> cases = rasterCases();
    for (const int ratio : {1, 2}) {
        for (std::size_t i = 0; i + 1 < cases.size(); ++i) {
            const std::string name = cases[i].name + ", ratio " + std::to_string(ratio);
            QTest::newRow(name.c_str()) << int(i) << 441 * ratio << 1 << 1.0 << machine;
        }
    }
    QTest::newRow("7 : 5 with phases, y upwards") << 1 << 441 << 1 << -1.0 << machine;
    // The amplitude's edge exactly on a pixel boundary: the edge line is lit only where a
    // point's coordinate rounds to the amplitude, and culling must keep those pixels.
    QTest::newRow("32767 : 1 at 440 px") << 6 << 440 << 1 << 1.0 << machine;
    QTest::newRow("1 : 32767 at 200 %, shifted by half a pixel") << 7 << 882 << 2 << 1.0 << machine;
    // However many cores take the blocks, more of them than this machine has included.
    for (const int lanes : {1, 2, 3, 4}) {
        for (const int i : {5, 6, 12, int(cases.size()) - 1}) {
            const std::string name = cases[i].name + " on " + std::to_string(lanes) + " cores";
            QTest::newRow(name.c_str()) << i << 441 << 1 << 1.0 << lanes;
        }
    }
}

void TestFigureRaster::samePixelsAsEverySegment()
{
    QFETCH(int, index);
    QFETCH(int, side);
    QFETCH(int, lineWidth);
    QFETCH(double, yScale);
    QFETCH(int, lanes);
    const FigureCase c = rasterCases()[index];
    // The screen frame (-2, -2) - (2, 2) over the picture.
    Screen ours(side);
    Screen reference(side);
    const double scale = side / 4.0;
    const PixelMapping transform{scale, 2 * scale, yScale * scale, 2 * scale};

    WideFigureRaster culled(WideFigureRaster::Path::Culled, std::size_t(lanes));
    culled.draw(ours.pixels.data(), side, side, ours.stride, c.p, c.end, transform, kFigure,
                lineWidth);
    WideFigureRaster plain(WideFigureRaster::Path::Plain);
    plain.draw(reference.pixels.data(), side, side, reference.stride, c.p, c.end, transform,
               kFigure, lineWidth);

    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const std::ptrdiff_t i = y * ours.stride + x;
            if (ours.pixels[i] != reference.pixels[i])
                QFAIL(qPrintable(QString("pixel (%1, %2) differs").arg(x).arg(y)));
        }
    }
}

void TestFigureRaster::aFigureTakesNoMoreCoresThanItsLimit_data()
{
    QTest::addColumn<std::size_t>("cores");
    QTest::addColumn<std::size_t>("lanes");
    QTest::newRow("one core, as a drifting phase's step") << std::size_t{1} << std::size_t{1};
    QTest::newRow("three cores") << std::size_t{3} << std::size_t{3};
    QTest::newRow("no limit") << DrawLimits().cores << std::size_t{4};
}

// 32767 : 1 on a raster that may take four cores, whatever this machine has.
void TestFigureRaster::aFigureTakesNoMoreCoresThanItsLimit()
{
    QFETCH(std::size_t, cores);
    QFETCH(std::size_t, lanes);
    const FigureCase c = rasterCases()[6];
    const int side = 441;
    const double scale = side / 4.0;
    const PixelMapping transform{scale, 2 * scale, scale, 2 * scale};
    Screen ours(side);
    Screen reference(side);
    DrawLimits limits;
    limits.cores = cores;
    FigureRaster raster(4);
    QVERIFY(raster.draw(ours.pixels.data(), side, side, ours.stride, c.p, c.end, transform, kFigure,
                        limits));
    QCOMPARE(raster.lanes(), lanes);
    WideFigureRaster(WideFigureRaster::Path::Plain)
        .draw(reference.pixels.data(), side, side, reference.stride, c.p, c.end, transform, kFigure,
              1);
    QVERIFY(ours.pixels == reference.pixels);
}

// Random figures (make soak draws more, with fresh seeds): every point lies in the box that
// the raster finds for its block before computing any point, and the culled raster, in one
// pixel or wider lines, lights exactly the plain path's pixels.
void TestFigureRaster::randomFiguresKeepTheirBoxesAndPixels()
{
    const unsigned seed = environmentNumber("KORVELIAN_RASTER_SEED", 2026);
    const unsigned cases = environmentNumber("KORVELIAN_RASTER_CASES", 40);
    std::mt19937 random(seed);
    std::vector<FloatPoint> points;
    WideFigureRaster culled;
    WideFigureRaster plain(WideFigureRaster::Path::Plain);
    for (unsigned i = 0; i < cases; ++i) {
        const RandomFigure f = randomFigure(random);
        const double scale = f.side / 4.0;
        const PixelMapping transform{scale, 2 * scale, f.yScale * scale, 2 * scale};
        const std::size_t count = figurePoints(f.p, f.end, points).count;
        for (std::size_t first = 0; first + 1 < count; first += FigureRaster::kBlock) {
            const std::size_t last = std::min(first + FigureRaster::kBlock, count - 1);
            const PixelBox box = segmentsBox(f.p, transform, f.side, f.side, first, last);
            for (std::size_t k = first; k <= last; ++k) {
                const int x = endPixel(points[k].x * transform.scaleX + transform.offsetX, f.side);
                const int y = endPixel(points[k].y * transform.scaleY + transform.offsetY, f.side);
                if (x < box.x0 || x > box.x1 || y < box.y0 || y > box.y1) {
                    QFAIL(qPrintable(describe(f, seed) +
                                     QString(": point %1 at (%2, %3) outside its block's box")
                                         .arg(k)
                                         .arg(x)
                                         .arg(y)));
                }
            }
        }
        Screen ours(f.side);
        Screen reference(f.side);
        culled.draw(ours.pixels.data(), f.side, f.side, ours.stride, f.p, f.end, transform, kFigure,
                    f.lineWidth);
        plain.draw(reference.pixels.data(), f.side, f.side, reference.stride, f.p, f.end, transform,
                   kFigure, f.lineWidth);
        const auto differing = std::inner_product(
            ours.pixels.begin(), ours.pixels.end(), reference.pixels.begin(), 0L, std::plus<>(),
            [](std::uint32_t a, std::uint32_t b) { return long(a != b); });
        if (differing != 0)
            QFAIL(qPrintable(describe(f, seed) + QString(": %1 pixels differ").arg(differing)));
    }
}

// A preview draws a first share of the blocks in the spread order: it may leave pixels of the
// figure dark, never light one the whole figure leaves dark. Every figure is previewed from an
// eighth of its blocks, however few; the large ones from the share the screen takes. The exact
// picture that goes on from the preview has every pixel of the figure drawn at once.
void TestFigureRaster::aPreviewLightsOnlyPixelsTheFigureLights()
{
    const unsigned seed = environmentNumber("KORVELIAN_RASTER_SEED", 2026);
    const unsigned cases = environmentNumber("KORVELIAN_RASTER_CASES", 40);
    std::mt19937 random(seed);
    WideFigureRaster culled;
    WideFigureRaster plain(WideFigureRaster::Path::Plain);
    std::vector<RandomFigure> figures;
    for (unsigned i = 0; i < cases; ++i)
        figures.push_back(randomFigure(random));
    const double halfPi = 1.5707963267948966;
    figures.push_back({{2, halfPi, 2, halfPi, 179, 183}, loopEnd(32757), 441, 1, 1});
    figures.push_back({{2, halfPi, 2, halfPi, 179, 183}, loopEnd(32757), 974, 2, -1});
    figures.push_back({{1, 0, 1, 0, 32767, 1}, loopEnd(32767), 882, 2, -1});
    long left = 0;
    for (const RandomFigure& f : figures) {
        const double scale = f.side / 4.0;
        const PixelMapping transform{scale, 2 * scale, f.yScale * scale, 2 * scale};
        const std::size_t points = figureRun(f.p, f.end).count;
        DrawLimits preview;
        preview.blocks = FigureRaster::previewBlocks(points);
        if (preview.blocks == 0)
            preview.blocks = std::max<std::size_t>((points / FigureRaster::kBlock) / 8, 1);
        Screen ours(f.side);
        Screen reference(f.side);
        QVERIFY(culled.draw(ours.pixels.data(), f.side, f.side, ours.stride, f.p, f.end, transform,
                            kFigure, f.lineWidth, false, preview));
        plain.draw(reference.pixels.data(), f.side, f.side, reference.stride, f.p, f.end, transform,
                   kFigure, f.lineWidth);
        for (std::size_t i = 0; i < ours.pixels.size(); ++i) {
            if (ours.pixels[i] == kFigure && reference.pixels[i] != kFigure) {
                QFAIL(qPrintable(describe(f, seed) + QString(": the preview lights (%1, %2)")
                                                         .arg(i % ours.stride)
                                                         .arg(i / ours.stride)));
            }
            left += reference.pixels[i] == kFigure && ours.pixels[i] != kFigure;
        }
        Screen resumed(f.side);
        DrawLimits rest;
        rest.resume = true;
        QVERIFY(culled.draw(resumed.pixels.data(), f.side, f.side, resumed.stride, f.p, f.end,
                            transform, kFigure, f.lineWidth, false, rest));
        if (resumed.pixels != reference.pixels)
            QFAIL(qPrintable(describe(f, seed) + ": the exact picture after the preview differs"));
    }
    // A share, not the whole: some pixels of the figures stay dark in their previews.
    QVERIFY(left > 0);
}

void TestFigureRaster::aStoppedDrawingEndsBetweenBlocks_data()
{
    QTest::addColumn<double>("numerator");
    QTest::addColumn<double>("denominator");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<int>("blocksBeforeStop");
    // The shared lit pixels, on every core; and a figure drawn straight into lit bits.
    QTest::newRow("179 : 183, stopped after 10 blocks") << 179.0 << 183.0 << 1 << 10;
    QTest::newRow("179 : 183, 3 px, stopped at once") << 179.0 << 183.0 << 3 << 0;
    QTest::newRow("100 : 1, drawn straight, stopped after 5 blocks") << 100.0 << 1.0 << 1 << 5;
    QTest::newRow("179 : 183, never stopped") << 179.0 << 183.0 << 1 << -1;
}

// A stop polled between blocks ends the drawing there, on every core, and the drawing says
// so; one never stopped draws the exact figure.
void TestFigureRaster::aStoppedDrawingEndsBetweenBlocks()
{
    QFETCH(double, numerator);
    QFETCH(double, denominator);
    QFETCH(int, lineWidth);
    QFETCH(int, blocksBeforeStop);
    const Parameter p{2, 1.5707963267948966, 2, 1.5707963267948966, numerator, denominator};
    const double end = loopEnd(double(std::lcm(int(numerator), int(denominator))));
    const int side = 441;
    const double scale = side / 4.0;
    const PixelMapping transform{scale, 2 * scale, scale, 2 * scale};
    std::atomic<int> polls = 0;
    DrawLimits limits;
    limits.stop = [&] {
        const int polled = polls.fetch_add(1);
        return blocksBeforeStop >= 0 && polled >= blocksBeforeStop;
    };
    Screen ours(side);
    const bool whole = WideFigureRaster().draw(ours.pixels.data(), side, side, ours.stride, p, end,
                                               transform, kFigure, lineWidth, false, limits);
    QCOMPARE(whole, blocksBeforeStop < 0);
    const int blocks = int((figureRun(p, end).count - 2) / FigureRaster::kBlock + 1);
    if (!whole) {
        // Each core polls once more before it sees the stop.
        QVERIFY(polls.load() <= blocksBeforeStop + 1 + int(FigureRaster::kMostLanes));
        return;
    }
    QVERIFY(polls.load() >= blocks);
    Screen reference(side);
    WideFigureRaster(WideFigureRaster::Path::Plain)
        .draw(reference.pixels.data(), side, side, reference.stride, p, end, transform, kFigure,
              lineWidth);
    QVERIFY(ours.pixels == reference.pixels);
}

void TestFigureRaster::sharesAddUpToTheFigure_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<int>("lanes");
    const std::vector<FigureCase> cases = rasterCases();
    // One lane's figure, columns drawn straight, many blocks, beyond the area, the worst.
    for (const int i : {0, 2, 6, 12, int(cases.size()) - 1}) {
        for (const int lanes : {2, 3, 5}) {
            const std::string name = cases[i].name + " in " + std::to_string(lanes) + " shares";
            QTest::newRow(name.c_str()) << i << 1 << lanes;
        }
    }
    QTest::newRow("179 : 183 in 2 shares, 2 px") << int(cases.size()) - 1 << 2 << 2;
    QTest::newRow("100 : 1 in 2 shares, 3 px") << 2 << 3 << 2;
}

// Each share drawn by a raster of its own, as by copies of the core that share no memory:
// their bits added together are the figure's pixels.
void TestFigureRaster::sharesAddUpToTheFigure()
{
    QFETCH(int, index);
    QFETCH(int, lineWidth);
    QFETCH(int, lanes);
    const FigureCase c = rasterCases()[index];
    const int side = 441;
    const double scale = side / 4.0;
    const PixelMapping transform{scale, 2 * scale, scale, 2 * scale};
    LitRows merged;
    for (int lane = 0; lane < lanes; ++lane) {
        WideFigureRaster own(WideFigureRaster::Path::Culled, 1);
        const FigureRaster::SharedBits bits =
            own.share(side, side, c.p, c.end, transform, lineWidth, false,
                      {std::size_t(lane), std::size_t(lanes)});
        if (lane == 0)
            merged.reset(bits.lit.width(), bits.lit.height(), {0, 0, -1, -1});
        if (bits.lit.height() > 0)
            merged.addRows(bits.lit.row(0), bits.firstColumn, bits.lastColumn);
    }
    Screen ours(side);
    WideFigureRaster().paint(ours.pixels.data(), ours.stride, merged, lineWidth, kFigure);
    Screen reference(side);
    WideFigureRaster(WideFigureRaster::Path::Plain)
        .draw(reference.pixels.data(), side, side, reference.stride, c.p, c.end, transform, kFigure,
              lineWidth);
    for (std::size_t i = 0; i < ours.pixels.size(); ++i) {
        if (ours.pixels[i] != reference.pixels[i])
            QFAIL(qPrintable(
                QString("pixel (%1, %2) differs").arg(i % ours.stride).arg(i / ours.stride)));
    }
}

void TestFigureRaster::aPointGrowsToItsLineWidthAroundItself_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    // The point in the middle of the picture: 220.5 at 441 px, on the boundary 221 at 442 px.
    QTest::newRow("1 px at 441") << 441 << 1 << 220 << 220;
    QTest::newRow("2 px on a boundary") << 442 << 2 << 220 << 221;
    QTest::newRow("3 px at 441") << 441 << 3 << 219 << 221;
}

// Amplitudes 0: every point in the middle, drawn as a square of the line's width centred on
// it, neither half a pixel off nor cut.
void TestFigureRaster::aPointGrowsToItsLineWidthAroundItself()
{
    QFETCH(int, side);
    QFETCH(int, lineWidth);
    QFETCH(int, first);
    QFETCH(int, last);
    std::vector<std::uint32_t> pixels(std::size_t(side) * side, kBackground);
    const double scale = side / 4.0;
    WideFigureRaster().draw(pixels.data(), side, side, side, {0, 0, 0, 0, 3, 2}, loopEnd(6),
                            {scale, 2 * scale, scale, 2 * scale}, kFigure, lineWidth);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const bool inside = x >= first && x <= last && y >= first && y <= last;
            if ((pixels[std::size_t(y) * side + x] == kFigure) != inside)
                QFAIL(qPrintable(QString("pixel (%1, %2)").arg(x).arg(y)));
        }
    }
}

void TestFigureRaster::aGrownFigureSkipsOnlyWhatItsLineCovers_data()
{
    const double halfPi = 1.5707963267948966;
    QTest::addColumn<Parameter>("p");
    QTest::addColumn<double>("end");
    QTest::addColumn<int>("side");
    QTest::addColumn<double>("frame");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<int>("band");
    // Figures of 2^21 points, so that a first share is drawn and covered; frame: the half
    // width of the screen frame over the picture, below 2 where the figure reaches beyond it.
    QTest::newRow("179 : 183, 19 px, bands of 7")
        << Parameter{2, halfPi, 2, halfPi, 179, 183} << loopEnd(32757) << 1500 << 2.0 << 19 << 7;
    QTest::newRow("179 : 183, 2 px, bands of 64")
        << Parameter{2, halfPi, 2, halfPi, 179, 183} << loopEnd(32757) << 441 << 2.0 << 2 << 64;
    QTest::newRow("181 : 179 beyond the picture, 2 px, rows one by one")
        << Parameter{2, 0.3, 2, 1.1, 181, 179} << loopEnd(32757) << 640 << 1.75 << 2 << 1;
    QTest::newRow("32767 : 1, 9 px, bands of 128")
        << Parameter{1, 0, 1, 0, 32767, 1} << loopEnd(32767) << 300 << 2.0 << 9 << 128;
}

// Wide lines skip the segments whose grown pixels the grown pixels of those drawn before
// cover: every band of the picture painted from the grown figure has exactly the plain
// path's pixels, up to the picture's edges and across the bands' edges.
void TestFigureRaster::aGrownFigureSkipsOnlyWhatItsLineCovers()
{
    QFETCH(Parameter, p);
    QFETCH(double, end);
    QFETCH(int, side);
    QFETCH(double, frame);
    QFETCH(int, lineWidth);
    QFETCH(int, band);
    const double scale = side / (2 * frame);
    const PixelMapping transform{scale, frame * scale, scale, frame * scale};
    GrownFigure grown;
    QVERIFY(WideFigureRaster().grow(grown, side, side, p, end, transform, lineWidth));
    Screen ours(side);
    for (int top = 0; top < side; top += band)
        grown.paint(ours.pixels.data() + top * ours.stride, ours.stride, top, band, kFigure);
    Screen reference(side);
    WideFigureRaster(WideFigureRaster::Path::Plain)
        .draw(reference.pixels.data(), side, side, reference.stride, p, end, transform, kFigure,
              lineWidth);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const std::ptrdiff_t i = y * ours.stride + x;
            if (ours.pixels[i] != reference.pixels[i])
                QFAIL(qPrintable(QString("pixel (%1, %2) differs").arg(x).arg(y)));
        }
    }
}

void TestFigureRaster::coresOnlyWhereTheyPay_data()
{
    QTest::addColumn<double>("numerator");
    QTest::addColumn<double>("denominator");
    QTest::addColumn<int>("mostLanes");
    QTest::addColumn<int>("lanes");
    QTest::newRow("1 : 100, short segments") << 1.0 << 100.0 << 4 << 1;
    // Few blocks: each core computes every point for half of the columns.
    QTest::newRow("100 : 1, segments across the screen") << 100.0 << 1.0 << 4 << 2;
    QTest::newRow("100 : 1 on one core") << 100.0 << 1.0 << 1 << 1;
    QTest::newRow("1 : 6000, many blocks") << 1.0 << 6000.0 << 4 << 4;
    QTest::newRow("1 : 6000 on a machine of two cores") << 1.0 << 6000.0 << 2 << 2;
    QTest::newRow("1 : 6000 on a machine of sixteen threads") << 1.0 << 6000.0 << 16 << 4;
}

void TestFigureRaster::coresOnlyWhereTheyPay()
{
    QFETCH(double, numerator);
    QFETCH(double, denominator);
    QFETCH(int, mostLanes);
    QFETCH(int, lanes);
    FigureRaster raster(static_cast<std::size_t>(mostLanes));
    const double scale = 441 / 4.0;
    raster.rasterise(441, 441, {1, 0, 1, 0, numerator, denominator},
                     loopEnd(std::max(numerator, denominator)),
                     {scale, 2 * scale, scale, 2 * scale});
    QCOMPARE(raster.lanes(), std::size_t(lanes));
}

void TestFigureRaster::crestPlacesFindEveryNearPoint_data()
{
    QTest::addColumn<double>("offset");
    QTest::addColumn<double>("factor");
    QTest::addColumn<double>("reach");
    const double halfPi = 1.5707963267948966;
    QTest::newRow("x of 32767 : 1, a hair's reach") << 0.0 << 1.0 << 2.4e-4;
    QTest::newRow("y of 32767 : 1, a hair's reach") << halfPi << 32767.0 << 2.4e-4;
    QTest::newRow("y of 179 : 183, wide") << halfPi << 179.0 / 183 << 0.049;
    QTest::newRow("y of 1 : 32767, phase 6.28") << 6.28 << 1.0 / 32767 << 0.01;
    QTest::newRow("y of 7 : 5, phase -1") << -1.0 << 7.0 / 5 << 0.003;
    QTest::newRow("y of 32767 : 1, a zone's reach") << halfPi << 32767.0 << 0.36;
}

// Blocks spread over the loop of the largest closing count: the points that the sorted places
// mark are those that looking at every point marks, give or take points just beyond reach.
void TestFigureRaster::crestPlacesFindEveryNearPoint()
{
    QFETCH(double, offset);
    QFETCH(double, factor);
    QFETCH(double, reach);
    const std::size_t count = loopCount(loopEnd(kLargestWhole));
    // Prepared for another figure first, as the raster keeps them from one to the next: a new
    // phase takes the kept places, a new factor sorts them again.
    CrestPlaces places;
    places.prepare(offset + 1, factor * 3, count);
    places.prepare(offset - 1, factor, count);
    places.prepare(offset, factor, count);
    std::mt19937 random(23);
    std::vector<double> t(CrestPlaces::kPoints);
    int sorted = 0;
    int marked = 0;
    for (int k = 0; k < 3000; ++k) {
        const std::size_t n =
            k % 7 == 0 ? 1 + random() % CrestPlaces::kPoints : CrestPlaces::kPoints;
        const std::size_t first = random() % (count - n);
        const double centre = (k % 2 == 0 ? 1 : -1) * 1.5707963267948966;
        loopValues(first, n, t.data());
        // Every tenth block with the reach at which its nearest point only just counts as near:
        // the allowances must carry that point into the sorted places' window.
        double reachHere = reach;
        if (k % 10 == 0) {
            double low = 0;
            reachHere = 0.05;
            for (int halving = 0; halving < 60; ++halving) {
                const double middle = (low + reachHere) / 2;
                PointBits marks{};
                nearCentre(t.data(), n, offset, factor, centre, middle, marks);
                (marks != PointBits{} ? reachHere : low) = middle;
            }
        }
        PointBits near{};
        double start = 0;
        double step = 0;
        if (!loopProgression(first, n, start, step) ||
            !places.nearPoints(start, step, n, centre, reachHere, near))
            continue;
        ++sorted;
        PointBits within{};
        PointBits beyond{};
        nearCentre(t.data(), n, offset, factor, centre, reachHere, within);
        // The arguments' rounding grows with them.
        const double largest = std::abs((t[n - 1] + offset) * factor);
        nearCentre(t.data(), n, offset, factor, centre, reachHere * 1.001 + 1e-7 + largest * 4e-15,
                   beyond);
        for (std::size_t w = 0; w < near.size(); ++w) {
            marked += std::popcount(near[w]);
            if ((within[w] & ~near[w]) != 0 || (near[w] & ~beyond[w]) != 0)
                QFAIL(qPrintable(QString("block at %1 of %2 points").arg(first).arg(n)));
        }
    }
    // Nearly every block lies in one range of equal steps, and some points come near.
    QVERIFY(sorted > 2900);
    QVERIFY(marked > 0);
}

void TestFigureRaster::aCrestZoneHoldsEveryPointLandingInIt_data()
{
    QTest::addColumn<double>("amplitude");
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("offset");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("depth");
    QTest::newRow("full screen, 974 px") << 1.0 << 243.5 << 487.0 << 974 << 15;
    QTest::newRow("y upwards") << 1.0 << -243.5 << 487.0 << 974 << 15;
    QTest::newRow("edge on a pixel boundary, 440 px") << 1.0 << 110.0 << 220.0 << 440 << 6;
    QTest::newRow("amplitude 1.28, a pixel deep") << 1.28 << 110.25 << 220.5 << 441 << 1;
    QTest::newRow("beyond the picture") << 1.1 << 300.0 << 300.0 << 600 << 5;
}

// The zone is every pixel from the crest's inwards, depth of them, and a coordinate made as the
// points are made lands in it exactly where its sine lies within reach of the crest.
void TestFigureRaster::aCrestZoneHoldsEveryPointLandingInIt()
{
    QFETCH(double, amplitude);
    QFETCH(double, scale);
    QFETCH(double, offset);
    QFETCH(int, size);
    QFETCH(int, depth);
    for (const double crest : {1.0, -1.0}) {
        const Zone zone = crestZone(amplitude, crest, scale, offset, size, depth);
        QVERIFY(zone.pixel >= 0);
        const auto pixel = [&](double angle) {
            const double v =
                static_cast<float>(amplitude * crest * std::cos(angle)) * scale + offset;
            int first = 0;
            int last = 0;
            pixelSpan({v, v}, size, first, last);
            return first;
        };
        const int outer = pixel(0);
        QCOMPARE(std::abs(zone.pixel - outer) + 1, depth);
        QCOMPARE(zone.below, pixel(std::numbers::pi / 2) > outer);
        double farthest = 0;
        for (int i = 0; i <= 200000; ++i) {
            const double angle = 0.8 * i / 200000;
            const bool in = zone.below ? pixel(angle) <= zone.pixel : pixel(angle) >= zone.pixel;
            if (in)
                farthest = angle;
        }
        QVERIFY(farthest <= zone.reach);
        QVERIFY(farthest > zone.reach - 1e-5);
    }
}

void TestFigureRaster::theSecondCoreRunsAJobOrDropsIt_data()
{
    QTest::addColumn<int>("microseconds");
    QTest::addColumn<int>("rounds");
    QTest::newRow("an empty job") << 0 << 300;
    QTest::newRow("a short job") << 50 << 100;
    QTest::newRow("a job that outlasts the caller's watch") << 3000 << 6;
}

// Whether the thread has begun a job when it is withdrawn is chance; either way a withdrawn job
// never runs, and one that was not has run when wait returns, even once the caller gave up
// watching and slept.
void TestFigureRaster::theSecondCoreRunsAJobOrDropsIt()
{
    QFETCH(int, microseconds);
    QFETCH(int, rounds);
    WorkerThread worker;
    for (int round = 0; round < rounds; ++round) {
        std::atomic<int> runs = 0;
        worker.start([&runs, microseconds] {
            std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
            runs.fetch_add(1);
        });
        const bool withdrawn = round % 2 == 0 && worker.withdraw();
        if (!withdrawn)
            worker.wait();
        const int seen = runs.load();
        // The next job's end shows that a withdrawn one did not run later either.
        worker.start([] {});
        worker.wait();
        QCOMPARE(seen, withdrawn ? 0 : 1);
        QCOMPARE(runs.load(), seen);
    }
}

KORVELIAN_PLAIN_TEST(figureraster, TestFigureRaster)
#include "tst_figureraster.moc"
