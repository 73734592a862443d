#include "model/afterglow.h"
#include "model/driftstep.h"
#include "model/timesignals.h"

#include "tests/testregistry.h"

#include <QTest>

#include <cmath>
#include <numbers>

using namespace korvelian;

namespace {

constexpr double kPi = std::numbers::pi;

} // namespace

// The time signals, the afterglow's decay and the drift's step: what the three views beside
// the figure are made of.
class TestTimeSignals : public QObject
{
    Q_OBJECT

private slots:
    void closingPeriods_data();
    void closingPeriods();
    void signalRange_data();
    void signalRange();
    void cursorTime_data();
    void cursorTime();
    void afterglowIsTheSameAtTwoFrameRates();
    void afterglowStartsAPieceAfterAJump();
    void driftedPhase_data();
    void driftedPhase();
};

void TestTimeSignals::closingPeriods_data()
{
    QTest::addColumn<double>("z");
    QTest::addColumn<double>("n");
    QTest::addColumn<double>("kgv");
    QTest::addColumn<double>("periods");
    QTest::newRow("1 : 1") << 1.0 << 1.0 << 1.0 << 1.0;
    QTest::newRow("3 : 2 closes after 2 x periods, not kgV 6") << 3.0 << 2.0 << 6.0 << 2.0;
    QTest::newRow("1 : 2") << 1.0 << 2.0 << 2.0 << 2.0;
    QTest::newRow("6 : 4 is 3 : 2") << 6.0 << 4.0 << 12.0 << 2.0;
    QTest::newRow("2.5 : 1 does not close: the closing count drawn") << 2.5 << 1.0 << 2.0 << 2.0;
}

void TestTimeSignals::closingPeriods()
{
    QFETCH(double, z);
    QFETCH(double, n);
    QFETCH(double, kgv);
    QFETCH(double, periods);
    QCOMPARE(korvelian::closingPeriods({1, 0, 1, 0, z, n}, kgv), periods);
}

void TestTimeSignals::signalRange_data()
{
    QTest::addColumn<bool>("y");
    QTest::addColumn<double>("z");
    QTest::addColumn<double>("n");
    QTest::addColumn<double>("p1");
    QTest::addColumn<double>("p2");
    QTest::addColumn<double>("t0");
    QTest::addColumn<double>("t1");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    // Amplitudes 1.5 for x and 0.5 for y throughout.
    QTest::newRow("1 : 1, x at t = 0")
        << false << 1.0 << 1.0 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("1 : 1, x a quarter period on")
        << false << 1.0 << 1.0 << 0.0 << 0.0 << kPi / 2 << kPi / 2 << 1.5 << 1.5;
    QTest::newRow("1 : 1, x phase 90°, x at t = 0")
        << false << 1.0 << 1.0 << 1.57 << 0.0 << 0.0 << 0.0 << 1.5 * std::sin(1.57)
        << 1.5 * std::sin(1.57);
    QTest::newRow("1 : 1, y phase 90°, y a quarter period on")
        << true << 1.0 << 1.0 << 0.0 << 1.57 << kPi / 2 << kPi / 2
        << 0.5 * std::sin(3.1407963267948966) << 0.5 * std::sin(3.1407963267948966);
    QTest::newRow("3 : 2, y phase 1, y at t = 0: the phase is 1.5")
        << true << 3.0 << 2.0 << 0.0 << 1.0 << 0.0 << 0.0 << 0.5 * std::sin(1.5)
        << 0.5 * std::sin(1.5);
    QTest::newRow("3 : 2, y a quarter x period on: three eighths of a turn")
        << true << 3.0 << 2.0 << 0.0 << 0.0 << kPi / 2 << kPi / 2 << 0.5 * std::sin(3 * kPi / 4)
        << 0.5 * std::sin(3 * kPi / 4);
    QTest::newRow("3 : 2, x a quarter period on: y's ratio leaves x alone")
        << false << 3.0 << 2.0 << 0.0 << 0.0 << kPi / 2 << kPi / 2 << 1.5 << 1.5;
    QTest::newRow("a crest between the ends")
        << false << 1.0 << 1.0 << 0.0 << 0.0 << 1.0 << 2.0 << 1.5 * std::sin(1.0) << 1.5;
    QTest::newRow("a trough between the ends")
        << true << 1.0 << 1.0 << 0.0 << 0.0 << 4.0 << 5.0 << -0.5 << 0.5 * std::sin(4.0);
    QTest::newRow("32767 : 1 turns more than once in a thousandth")
        << true << 32767.0 << 1.0 << 0.0 << 0.0 << 0.0 << 0.001 << -0.5 << 0.5;
}

void TestTimeSignals::signalRange()
{
    QFETCH(bool, y);
    QFETCH(double, z);
    QFETCH(double, n);
    QFETCH(double, p1);
    QFETCH(double, p2);
    QFETCH(double, t0);
    QFETCH(double, t1);
    QFETCH(double, low);
    QFETCH(double, high);
    const ValueRange r =
        korvelian::signalRange(y ? Signal::Y : Signal::X, t0, t1, {1.5, p1, 0.5, p2, z, n});
    QCOMPARE(r.low, low);
    QCOMPARE(r.high, high);
}

void TestTimeSignals::cursorTime_data()
{
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("span");
    QTest::addColumn<double>("cursor");
    QTest::newRow("within the span") << 3.0 << 4 * kPi << 3.0;
    QTest::newRow("starts again after it") << 15.0 << 4 * kPi << 15.0 - 4 * kPi;
    QTest::newRow("no span yet") << 15.0 << 0.0 << 0.0;
}

void TestTimeSignals::cursorTime()
{
    QFETCH(double, t);
    QFETCH(double, span);
    QFETCH(double, cursor);
    QCOMPARE(korvelian::cursorTime(t, span), cursor);
}

void TestTimeSignals::afterglowIsTheSameAtTwoFrameRates()
{
    const Parameter p{1, 0, 1, 0, 3, 2};
    for (const int rate : {50, 100}) {
        AfterglowTrace trace;
        // 0.6 s of frames, the beam a quarter as fast at 50 frames a second as at 100.
        for (int frame = 0; frame <= rate * 6 / 10; ++frame)
            trace.follow(frame * 5.0 / rate, p, frame / double(rate));
        const auto& points = trace.points();
        const auto laidAt = std::find_if(points.begin(), points.end(),
                                         [](const TracePoint& point) { return point.time == 0.2; });
        QVERIFY(laidAt != points.end());
        // (e^(-0.4 / 0.5) - e^-2) / (1 - e^-2): 0.4 s old, fading to nothing in a second.
        QCOMPARE(trace.brightness(*laidAt), 0.3631392316503325);
        QCOMPARE(trace.brightness(points.back()), 1.0);
    }
}

void TestTimeSignals::afterglowStartsAPieceAfterAJump()
{
    const Parameter p{1, 0, 1, 0, 1, 1};
    AfterglowTrace trace;
    trace.follow(1.0, p, 0.0);
    trace.follow(1.1, p, 0.01);
    QVERIFY(trace.points().back().joined);
    // A redraw set t to the figure's end.
    trace.follow(6.4, p, 0.02);
    QVERIFY(!trace.points().back().joined);
    // Whatever lies more than a second back is gone.
    trace.follow(6.5, p, 1.015);
    QCOMPARE(trace.points().size(), std::size_t(2));
    QCOMPARE(trace.points().front().time, 0.02);
}

void TestTimeSignals::driftedPhase_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<double>("secondsPerTurn");
    QTest::addColumn<int>("value");
    QTest::newRow("a quarter turn from 0: 157 steps") << 0 << 5.005 << 20.0 << 157;
    QTest::newRow("not yet a step") << 200 << 0.03 << 20.0 << 200;
    QTest::newRow("the first step") << 200 << 0.032 << 20.0 << 201;
    QTest::newRow("past the end it goes on from 1") << 600 << 5.005 << 20.0 << 129;
    QTest::newRow("from the end, a step on is 1") << 628 << 0.032 << 20.0 << 1;
    QTest::newRow("slower: a quarter turn in 20 s") << 0 << 20.02 << 80.0 << 157;
    QTest::newRow("clock not yet on") << 300 << 0.0 << 20.0 << 300;
}

void TestTimeSignals::driftedPhase()
{
    QFETCH(int, start);
    QFETCH(double, elapsed);
    QFETCH(double, secondsPerTurn);
    QFETCH(int, value);
    QCOMPARE(korvelian::driftedPhase(start, elapsed, secondsPerTurn), value);
}

KORVELIAN_PLAIN_TEST(timesignals, TestTimeSignals)
#include "tst_timesignals.moc"
