#include "model/constants.h"
#include "model/finecurve.h"
#include "raster/widefigureraster.h"

#include "tests/testregistry.h"

#include <QTest>

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

using namespace korvelian;

Q_DECLARE_METATYPE(korvelian::Parameter)

namespace {

struct Spot
{
    double x;
    double y;
};

constexpr std::uint32_t kFigure = 0xffffffff;
constexpr double kRightAngle = 1.57;

double endOf(const Parameter& p)
{
    return loopEnd(std::lcm(int(p.numerator), int(p.denominator)));
}

// The screen frame (-2, -2) - (2, 2) over a square picture, y downward or upward.
PixelMapping screenMapping(int side, double yScale)
{
    const double scale = side / 4.0;
    return {scale, 2 * scale, yScale * scale, 2 * scale};
}

std::vector<std::uint32_t> drawn(const Parameter& p, int side, double yScale, bool fine,
                                 WideFigureRaster::Path path = WideFigureRaster::Path::Culled,
                                 int lineWidth = 1)
{
    std::vector<std::uint32_t> pixels(std::size_t(side) * side, 0);
    WideFigureRaster raster(path);
    raster.draw(pixels.data(), side, side, side, p, endOf(p), screenMapping(side, yScale), kFigure,
                lineWidth, fine);
    return pixels;
}

// The figure once round, from the formulas with std::sin at a thousand points per pixel of the
// screen's width: where a pixel of it lies, whatever the raster does.
std::vector<Spot> trueCurve(const Parameter& p, const PixelMapping& m, int side)
{
    const double turns = p.denominator / std::gcd(int(p.numerator), int(p.denominator));
    const auto count = static_cast<std::size_t>(turns * side * 1000);
    std::vector<Spot> curve;
    for (std::size_t i = 0; i <= count; ++i) {
        const double t = kTurn * turns * double(i) / double(count);
        const double x = p.amplitudeX * std::sin(t + p.phaseX);
        const double y = p.amplitudeY * std::sin((t + p.phaseY) * p.numerator / p.denominator);
        curve.push_back({x * m.scaleX + m.offsetX, y * m.scaleY + m.offsetY});
    }
    return curve;
}

} // namespace

class TestFineCurve : public QObject
{
    Q_OBJECT

private slots:
    void stepsWithinTheBudget_data();
    void stepsWithinTheBudget();
    void liesOnTheCurveWithinHalfAPixel_data();
    void liesOnTheCurveWithinHalfAPixel();
    void culledAsEverySegment_data();
    void culledAsEverySegment();
};

void TestFineCurve::stepsWithinTheBudget_data()
{
    QTest::addColumn<Parameter>("p");
    QTest::addColumn<double>("end");
    // Radians of t the curve must cover, and whether the budget holds the step back.
    QTest::addColumn<double>("span");
    QTest::addColumn<bool>("budgetBound");
    QTest::newRow("1 : 1") << Parameter{1, 0, 1, 0, 1, 1} << loopEnd(1) << kTurn << false;
    QTest::newRow("10 : 1, once round x")
        << Parameter{1, 0, 1, 0, 10, 1} << loopEnd(10) << kTurn << false;
    QTest::newRow("2 : 4 is 1 : 2")
        << Parameter{1, 0, 1, 0, 2, 4} << loopEnd(4) << 2 * kTurn << false;
    QTest::newRow("179 : 183, once round, not 179 times")
        << Parameter{2, kRightAngle, 2, kRightAngle, 179, 183} << loopEnd(32757) << 183 * kTurn
        << false;
    QTest::newRow("32767 : 1") << Parameter{1, 0, 1, 0, 32767, 1} << loopEnd(32767) << kTurn
                               << true;
    // The loop ends 6 radians short of closing here; the curve closes.
    QTest::newRow("1 : 32767, closed")
        << Parameter{1, 0, 1, 0, 1, 32767} << loopEnd(32767) << 32767 * kTurn << true;
    QTest::newRow("a typed count smaller than the figure's: as far as the loop")
        << Parameter{1, 0, 1, 0, 1, 3} << loopEnd(1) << 6.3 << false;
    QTest::newRow("2,5 : 1, as far as the loop")
        << Parameter{1, 0, 1, 0, 2.5, 1} << loopEnd(2) << 12.6 << false;
}

void TestFineCurve::stepsWithinTheBudget()
{
    QFETCH(Parameter, p);
    QFETCH(double, end);
    QFETCH(double, span);
    QFETCH(bool, budgetBound);
    const FineCurve curve = fineCurve(p, end);
    QVERIFY(!curve.asLoop);
    QVERIFY(curve.count <= kFineBudget);
    const double last = double(curve.count - 1) * curve.steps.step;
    QVERIFY2(last >= span - 1e-9 && last < span + curve.steps.step,
             qPrintable(QString("ends at %1, not %2").arg(last).arg(span)));
    const double advance = curve.steps.step * std::max(1.0, p.numerator / p.denominator);
    if (budgetBound) {
        // The exact step is up to a 512th longer than the budget's.
        QVERIFY(double(curve.count) > double(kFineBudget) * (1 - 1.0 / 512) - 1);
        QVERIFY(curve.steps.step <= kLoopStep);
    } else {
        // A step of ten significant bits is at most a 512th longer than wanted.
        QVERIFY2(advance <= kFineAdvance * (1 + 1.0 / 512) && advance > kFineAdvance * 0.99,
                 qPrintable(QString("advance %1").arg(advance)));
    }
}

void TestFineCurve::liesOnTheCurveWithinHalfAPixel_data()
{
    QTest::addColumn<Parameter>("p");
    QTest::addColumn<int>("side");
    QTest::addColumn<double>("yScale");
    QTest::newRow("10 : 1 at 1x") << Parameter{1, 0, 1, 0, 10, 1} << 441 << 1.0;
    QTest::newRow("10 : 1 at amplitudes 2, full screen size, y upward")
        << Parameter{2, 0, 2, kRightAngle, 10, 1} << 974 << -1.0;
    QTest::newRow("3 : 2 at 300 %") << Parameter{1.5, 0.3, 1.5, 1, 3, 2} << 1323 << 1.0;
}

// Every lit pixel touches the curve within half a pixel, and the curve nowhere leaves the lit
// pixels by more: at 10 : 1 the loop's chords cut the crests 13 pixels short.
void TestFineCurve::liesOnTheCurveWithinHalfAPixel()
{
    QFETCH(Parameter, p);
    QFETCH(int, side);
    QFETCH(double, yScale);
    const std::vector<std::uint32_t> pixels = drawn(p, side, yScale, true);
    const auto lit = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < side && y < side && pixels[std::size_t(y) * side + x] != 0;
    };
    // Pixels within half a pixel of the curve: those its points, widened by half a pixel, reach.
    std::vector<bool> near(pixels.size(), false);
    for (const Spot point : trueCurve(p, screenMapping(side, yScale), side)) {
        bool reached = false;
        for (const double dx : {-0.5, 0.5}) {
            for (const double dy : {-0.5, 0.5}) {
                const int x = int(std::floor(point.x + dx));
                const int y = int(std::floor(point.y + dy));
                if (x >= 0 && y >= 0 && x < side && y < side)
                    near[std::size_t(y) * side + x] = true;
                reached = reached || lit(x, y);
            }
        }
        if (!reached) {
            QFAIL(qPrintable(QString("the curve at (%1, %2) lies off every lit pixel")
                                 .arg(point.x)
                                 .arg(point.y)));
        }
    }
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if (lit(x, y) && !near[std::size_t(y) * side + x])
                QFAIL(qPrintable(QString("pixel (%1, %2) lies off the curve").arg(x).arg(y)));
        }
    }
}

void TestFineCurve::culledAsEverySegment_data()
{
    QTest::addColumn<Parameter>("p");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("lineWidth");
    QTest::newRow("10 : 1") << Parameter{1, 0, 1, 0, 10, 1} << 441 << 1;
    QTest::newRow("179 : 183 at amplitudes 2")
        << Parameter{2, kRightAngle, 2, kRightAngle, 179, 183} << 441 << 1;
    // Two million points, the budget's: a dense band where blocks are skipped whole.
    QTest::newRow("32767 : 1") << Parameter{1, 0, 1, 0, 32767, 1} << 441 << 1;
    // The amplitude's edge on a pixel boundary, where only points at a crest light it.
    QTest::newRow("1 : 32767 at 440 px") << Parameter{1, 0, 1, 0, 1, 32767} << 440 << 1;
    QTest::newRow("7 : 5 at 200 %") << Parameter{1, 0.5, 1.25, 2, 7, 5} << 882 << 2;
}

// The fine curve goes through the culled raster too: the same pixels as every segment drawn.
void TestFineCurve::culledAsEverySegment()
{
    QFETCH(Parameter, p);
    QFETCH(int, side);
    QFETCH(int, lineWidth);
    const auto culled = drawn(p, side, 1, true, WideFigureRaster::Path::Culled, lineWidth);
    const auto plain = drawn(p, side, 1, true, WideFigureRaster::Path::Plain, lineWidth);
    QVERIFY(std::count(plain.begin(), plain.end(), kFigure) > side);
    for (std::size_t i = 0; i < culled.size(); ++i) {
        if (culled[i] != plain[i])
            QFAIL(qPrintable(QString("pixel (%1, %2) differs").arg(i % side).arg(i / side)));
    }
}

KORVELIAN_PLAIN_TEST(finecurve, TestFineCurve)
#include "tst_finecurve.moc"
