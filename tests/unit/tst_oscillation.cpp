#include "tests/exactcompare.h"
#include "tests/formfixture.h"
#include "handlers/overlayupdate.h"

#include "tests/testregistry.h"

#include <QTest>

#include <algorithm>
#include <cfloat>
#include <cmath>

using namespace korvelian;

namespace {

// Runs the animation, ticking Stop inside the given pump (0 is the start's own pump).
void runUntilTickAt(FormFixture& f, int pump, std::function<void(int)> also = {})
{
    f.fake.onPump = [&f, pump, also](int n) {
        if (also)
            also(n);
        if (n == pump)
            f.fake.setCheck(1);
    };
    f.form.handle(Event::Command2_Click);
}

float single(double value)
{
    return static_cast<float>(value);
}

} // namespace

class TestOscillation : public QObject
{
    Q_OBJECT

private slots:
    void frameSteps();
    void overlayValues_data();
    void overlayValues();
    void firstAndSecondFrame();
    void startResetsTAndDt();
    void tickInTheStartsPumpEndsBeforeTheFirstFrame();
    void nestedStartsOneTickEndsAll();
    void hammeringStartNeverFails();
    void speedChangeCountsForThatFramesAdvance();
    void redrawInAFrameSetsTheFiguresEnd();
    void quitInAFrameDrawsNothingMore();
    void positionNotFiniteMovesNothing();
    void aFrameWaitsTheFramePause();
    void speedSteps_data();
    void speedSteps();
    void speedBeforeFirstStartStaysZero();
    void thousandsOfFasterPressesStayFinite();
};

void TestOscillation::frameSteps()
{
    FormFixture f;
    runUntilTickAt(f, 1);
    // How often the clock is read while waiting out the pause is the wait's own affair (its
    // length is checked on its own below); the order of everything else is what a frame is.
    QStringList log;
    for (const auto& s : f.fake.log()) {
        if (!s.starts_with("clock") && !s.starts_with("sleep"))
            log << QString::fromStdString(s);
    }
    // clang-format off
    const QStringList expected = {
        "setCheck 0", "doEvents", "clear picVelo", "drawBox picVelo 0 0 0.100000001 1",
        "check", "doEvents", "scroll HScroll1", "scroll hscAmp1", "scroll hscPhase",
        "text txtZaehler", "text txtNenner", "scroll hscAmp2",
        "left Shape1 -0.0299999993", "top Shape1 -0.0299999993", "bringToFront Shape1",
        "top Shape2 -0.0299999993", "left Shape2 -0.0299999993", "bringToFront Shape2",
        "top Shape3 -0.0299999993", "left Shape3 -0.0299999993", "bringToFront Shape3",
        "X1 Line2 0", "Y1 Line2 0", "X2 Line2 0", "Y2 Line2 0",
        "X1 Line3 0", "Y1 Line3 0", "X2 Line3 0", "Y2 Line3 0", "beamAt 0", "check",
        "beamStopped"};
    // clang-format on
    QCOMPARE(log, expected);
}

void TestOscillation::overlayValues_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::newRow("right of and below the centre") << 0.75 << 1.25;
    QTest::newRow("left of and above the centre") << 1.7 << -0.6;
    // Here x - 0.03 taken in single precision would differ in the last bit.
    QTest::newRow("offset subtracted in double") << -1.2935 << 0.55;
}

void TestOscillation::overlayValues()
{
    QFETCH(double, x);
    QFETCH(double, y);
    FakeWindow fake;
    for (const OverlayUpdate& update : overlayUpdates(x, y))
        apply(fake, update);
    QStringList log;
    for (const auto& s : fake.log())
        log << QString::fromStdString(s);
    // Nine digits tell every single-precision number apart.
    auto n = [](double v) { return QString::asprintf("%.9g", double(float(v))); };
    const QString left = n(x - 0.03);
    const QString top = n(y - 0.03);
    const QString axis = n(-0.03);
    const QStringList expected = {
        "left Shape1 " + left, "top Shape1 " + top,   "bringToFront Shape1", "top Shape2 " + top,
        "left Shape2 " + axis, "bringToFront Shape2", "top Shape3 " + axis,  "left Shape3 " + left,
        "bringToFront Shape3", "X1 Line2 " + n(x),    "Y1 Line2 " + n(y),    "X2 Line2 " + n(x),
        "Y2 Line2 0",          "X1 Line3 " + n(x),    "Y1 Line3 " + n(y),    "X2 Line3 0",
        "Y2 Line3 " + n(y)};
    QCOMPARE(log, expected);
}

void TestOscillation::firstAndSecondFrame()
{
    FormFixture f;
    f.fake.setScroll(ScrollBar::AmplitudeX, 150);
    f.fake.setScroll(ScrollBar::AmplitudeY, 50);
    runUntilTickAt(f, 2);
    COMPARE_EXACT(f.vars().t, 0.1 + 0.1);
    // The second frame, at t = 0.1, from the beam's own x and y.
    COMPARE_EXACT(f.vars().x, 1.5 * std::sin(0.1));
    COMPARE_EXACT(f.vars().y, 0.5 * std::sin(0.1));
    const auto lefts = f.fake.callsOf("left");
    const auto tops = f.fake.callsOf("top");
    QCOMPARE(lefts.size(), std::size_t(6));
    COMPARE_EXACT(float(lefts[3].numbers[0]), single(1.5 * std::sin(0.1) - 0.03));
    COMPARE_EXACT(float(tops[4].numbers[0]), single(0.5 * std::sin(0.1) - 0.03));
    COMPARE_EXACT(float(f.fake.callsOf("Y1").back().numbers[0]), single(0.5 * std::sin(0.1)));
}

void TestOscillation::startResetsTAndDt()
{
    FormFixture f;
    f.vars().t = 5;
    f.vars().dt = 0.3;
    f.fake.setCheck(1);
    // A speed change and a figure drawing in the start's own pump do not last.
    runUntilTickAt(f, 2, [&f](int n) {
        if (n == 0) {
            f.form.handle(Event::Command7_Click);
            f.form.handle(Event::Command1_Click);
        }
    });
    const auto lefts = f.fake.callsOf("left");
    QCOMPARE(float(lefts[0].numbers[0]), single(-0.03));
    COMPARE_EXACT(f.vars().dt, 0.1);
    COMPARE_EXACT(f.vars().t, 0.1 + 0.1);
}

void TestOscillation::tickInTheStartsPumpEndsBeforeTheFirstFrame()
{
    FormFixture f;
    f.vars().t = 3;
    runUntilTickAt(f, 0);
    COMPARE_EXACT(f.vars().dt, 0.1);
    COMPARE_EXACT(f.vars().t, 0.0);
    QCOMPARE(f.fake.count("left"), 0);
    QCOMPARE(f.fake.count("bringToFront"), 0);
}

void TestOscillation::nestedStartsOneTickEndsAll()
{
    FormFixture f;
    // Pump 1 is run 1's first frame, pump 2 run 2's start, pump 3 its first frame, pump 4
    // run 3's start, pump 5 its first frame: the tick there ends all three.
    runUntilTickAt(f, 5, [&f](int n) {
        if (n == 1 || n == 3)
            f.form.handle(Event::Command2_Click);
    });
    QCOMPARE(f.fake.pumps, 6);
    // One frame for the innermost run, one more for each suspended run.
    QCOMPARE(f.fake.count("bringToFront"), 9);
    QCOMPARE(f.fake.count("check"), 6);
    QCOMPARE(f.form.oscillation().runs(), 0);
}

void TestOscillation::hammeringStartNeverFails()
{
    FormFixture f;
    int deepest = 0;
    runUntilTickAt(f, 500, [&f, &deepest](int n) {
        deepest = std::max(deepest, f.form.oscillation().runs());
        if (n < 400)
            f.form.handle(Event::Command2_Click);
    });
    QCOMPARE(deepest, Oscillation::kMaxRuns);
    QCOMPARE(f.form.oscillation().runs(), 0);
    COMPARE_EXACT(f.vars().dt, 0.1);
}

void TestOscillation::speedChangeCountsForThatFramesAdvance()
{
    FormFixture f;
    runUntilTickAt(f, 1, [&f](int n) {
        if (n == 1)
            f.form.handle(Event::Command7_Click);
    });
    COMPARE_EXACT(f.vars().dt, 0.1 * 1.1);
    COMPARE_EXACT(f.vars().t, 0.1 * 1.1);
}

void TestOscillation::redrawInAFrameSetsTheFiguresEnd()
{
    FormFixture f;
    // A moved bar and a tick in the same pump: redrawn, the frame completes from the
    // plotter's end, then the loop ends.
    runUntilTickAt(f, 3, [&f](int n) {
        if (n == 3) {
            f.fake.setScroll(ScrollBar::AmplitudeX, 150);
            f.form.handle(Event::hscAmp1_Change);
        }
    });
    const auto cleared = f.fake.callsOf("clear");
    QCOMPARE(std::count_if(cleared.begin(), cleared.end(),
                           [](const Call& c) { return c.target == "picBildschirm"; }),
             1);
    COMPARE_EXACT(f.vars().t, 6.399999999999993 + 0.1);
    COMPARE_EXACT(f.vars().x, 1.5 * std::sin(6.399999999999993));
}

void TestOscillation::quitInAFrameDrawsNothingMore()
{
    FormFixture f;
    f.fake.onPump = [&f](int n) {
        if (n == 2)
            f.form.handle(Event::Command5_Click);
    };
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, f.form.handle(Event::Command2_Click));
    QCOMPARE(QString::fromStdString(f.fake.calls.back().str()), "endProgram");
    QCOMPARE(f.fake.shownCheck(), 1);
    QCOMPARE(f.fake.count("bringToFront"), 3);
}

void TestOscillation::positionNotFiniteMovesNothing()
{
    FormFixture f;
    f.fake.putText(TextBox::Denominator, "0");
    runUntilTickAt(f, 4);
    QCOMPARE(f.fake.count("left"), 0);
    QCOMPARE(f.fake.count("X1"), 0);
    QVERIFY(std::abs(f.vars().t - 0.4) < 1e-12);
}

void TestOscillation::aFrameWaitsTheFramePause()
{
    FormFixture f;
    f.fake.sleepAtMost = 0.003;
    runUntilTickAt(f, 50);
    // T0 is the clock reading right after a frame's pump; the beam is placed only once the
    // clock has read T0 + 0.01, however short each sleep. The fake's clock moves only while
    // the program sleeps.
    double t0 = -1;
    double lastReading = -1;
    bool pumped = false;
    int frames = 0;
    for (const Call& call : f.fake.calls) {
        if (call.op == "doEvents") {
            pumped = true;
        } else if (call.op == "clock") {
            lastReading = call.numbers[0];
            if (pumped)
                t0 = lastReading;
            pumped = false;
        } else if (call.op == "left" && call.target == "Shape1") {
            ++frames;
            QVERIFY2(
                lastReading >= t0 + 0.01,
                qPrintable(
                    QString("frame %1 placed at %2, T0 %3").arg(frames).arg(lastReading).arg(t0)));
        }
    }
    QCOMPARE(frames, 50);
}

void TestOscillation::speedSteps_data()
{
    QTest::addColumn<QString>("presses");
    QTest::addColumn<double>("dt");
    QTest::addColumn<double>("percent");
    QTest::newRow("+") << "+" << 0.1 * 1.1 << 55.0;
    QTest::newRow("-") << "-" << 0.1 * 0.9 << 45.0;
    QTest::newRow("+++: 0.1331") << "+++" << 0.1 * 1.1 * 1.1 * 1.1 << 66.55;
    QTest::newRow("---: 0.0729") << "---" << 0.1 * 0.9 * 0.9 * 0.9 << 36.45;
    QTest::newRow("+-: 0.099, not 0.1") << "+-" << 0.1 * 1.1 * 0.9 << 49.5;
    QTest::newRow("seven +: 0.1949")
        << "+++++++" << 0.1 * 1.1 * 1.1 * 1.1 * 1.1 * 1.1 * 1.1 * 1.1 << 97.44;
    QTest::newRow("eight +: 0.2144, a full bar")
        << "++++++++" << 0.1 * 1.1 * 1.1 * 1.1 * 1.1 * 1.1 * 1.1 * 1.1 * 1.1 << 100.0;
}

void TestOscillation::speedSteps()
{
    QFETCH(QString, presses);
    QFETCH(double, dt);
    QFETCH(double, percent);
    FormFixture f;
    runUntilTickAt(f, 0);
    for (const QChar c : presses)
        f.form.handle(c == '+' ? Event::Command7_Click : Event::Command8_Click);
    COMPARE_EXACT(f.vars().dt, dt);
    const Call bar = f.fake.callsOf("drawBox").back();
    COMPARE_EXACT(bar.numbers[2], double(single(dt)));
    COMPARE_EXACT(bar.numbers[0], 0.0);
    COMPARE_EXACT(bar.numbers[1], 0.0);
    COMPARE_EXACT(bar.numbers[3], 1.0);
    QVERIFY(std::abs(std::min(bar.numbers[2] / 0.2, 1.0) * 100 - percent) < 0.01);
    // The start and each press clear the bar before drawing it.
    QCOMPARE(f.fake.count("clear"), int(presses.size()) + 1);
}

void TestOscillation::speedBeforeFirstStartStaysZero()
{
    FormFixture f;
    f.form.handle(Event::Form_Load);
    for (int i = 0; i < 5; ++i) {
        f.form.handle(Event::Command7_Click);
        f.form.handle(Event::Command8_Click);
    }
    COMPARE_EXACT(f.vars().dt, 0.0);
    QCOMPARE(QString::fromStdString(f.fake.callsOf("drawBox").back().str()),
             "drawBox picVelo 0 0 0 1");
}

void TestOscillation::thousandsOfFasterPressesStayFinite()
{
    FormFixture f;
    runUntilTickAt(f, 3, [&f](int n) {
        if (n == 1) {
            for (int i = 0; i < 10000; ++i)
                f.form.handle(Event::Command7_Click);
        }
    });
    QVERIFY(std::isfinite(f.vars().dt));
    QVERIFY(f.vars().dt <= FLT_MAX);
    QVERIFY(f.vars().dt > 1e37);
    QVERIFY(std::isfinite(f.vars().t));
    QVERIFY(std::isfinite(float(f.fake.callsOf("drawBox").back().numbers[2])));
    // The beam still moves: the last frame placed the point somewhere finite.
    QVERIFY(std::isfinite(f.fake.callsOf("left").back().numbers[0]));
}

KORVELIAN_PLAIN_TEST(oscillation, TestOscillation)
#include "tst_oscillation.moc"
