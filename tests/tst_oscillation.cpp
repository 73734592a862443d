#include "formfixture.h"

#include <QTest>

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
            f.fake.check = 1;
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
    void firstAndSecondFrame();
    void startResetsTAndDt();
    void tickInTheStartsPumpEndsBeforeTheFirstFrame();
    void nestedStartsOneTickEndsAll();
    void hammeringStartNeverFails();
    void speedChangeCountsForThatFramesAdvance();
    void redrawInAFrameSetsTheFiguresEnd();
    void quitInAFrameDrawsNothingMore();
    void positionNotFiniteMovesNothing();
    void waitSleepsAtLeastTheFramePause();
    void speedSteps_data();
    void speedSteps();
    void speedBeforeFirstStartStaysZero();
    void thousandsOfFasterPressesStayFinite();
};

void TestOscillation::frameSteps()
{
    FormFixture f;
    runUntilTickAt(f, 1);
    QStringList log;
    for (const auto& s : f.fake.log())
        log << QString::fromStdString(s);
    // clang-format off
    const QStringList expected = {
        "setCheck 0", "doEvents", "check", "doEvents", "clock 1000", "clock 1000",
        "sleep 0.01", "clock 1000.01", "scroll HScroll1", "scroll hscAmp1", "scroll hscPhase",
        "text txtZaehler", "text txtNenner", "scroll hscAmp2",
        "left Shape1 -0.0299999993", "top Shape1 -0.0299999993", "zOrder Shape1",
        "top Shape2 -0.0299999993", "left Shape2 -0.0299999993", "zOrder Shape2",
        "top Shape3 -0.0299999993", "left Shape3 -0.0299999993", "zOrder Shape3",
        "X1 Line2 0", "Y1 Line2 0", "X2 Line2 0", "Y2 Line2 0",
        "X1 Line3 0", "Y1 Line3 0", "X2 Line3 0", "Y2 Line3 0", "check"};
    // clang-format on
    QCOMPARE(log, expected);
}

void TestOscillation::firstAndSecondFrame()
{
    FormFixture f;
    runUntilTickAt(f, 2);
    QCOMPARE(f.vars().t, 0.2);
    const auto lefts = f.fake.callsOf("left");
    // Shape1, Shape2, Shape3 of frame 1, then of frame 2.
    QCOMPARE(lefts.size(), std::size_t(6));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(float(lefts[i].numbers[0]), single(-0.03));
    QCOMPARE(float(lefts[3].numbers[0]), single(std::sin(0.1) - 0.03));
    QCOMPARE(float(lefts[5].numbers[0]), single(std::sin(0.1) - 0.03));
    QCOMPARE(f.vars().x, std::sin(0.1));
    QCOMPARE(f.vars().y, std::sin(0.1));
}

void TestOscillation::startResetsTAndDt()
{
    FormFixture f;
    f.vars().t = 5;
    f.vars().dt = 0.3;
    f.fake.check = 1;
    // A speed change and a figure drawing in the start's own pump do not last.
    runUntilTickAt(f, 2, [&f](int n) {
        if (n == 0) {
            f.form.handle(Event::Command7_Click);
            f.form.handle(Event::Command1_Click);
        }
    });
    const auto lefts = f.fake.callsOf("left");
    QCOMPARE(float(lefts[0].numbers[0]), single(-0.03));
    QCOMPARE(f.vars().dt, 0.1);
    QCOMPARE(f.vars().t, 0.2);
}

void TestOscillation::tickInTheStartsPumpEndsBeforeTheFirstFrame()
{
    FormFixture f;
    f.vars().t = 3;
    runUntilTickAt(f, 0);
    QCOMPARE(f.vars().dt, 0.1);
    QCOMPARE(f.vars().t, 0.0);
    QCOMPARE(f.fake.count("left"), 0);
    QCOMPARE(f.fake.count("zOrder"), 0);
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
    QCOMPARE(f.fake.count("zOrder"), 9);
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
    QCOMPARE(f.vars().dt, 0.1);
}

void TestOscillation::speedChangeCountsForThatFramesAdvance()
{
    FormFixture f;
    runUntilTickAt(f, 1, [&f](int n) {
        if (n == 1)
            f.form.handle(Event::Command7_Click);
    });
    QCOMPARE(f.vars().dt, 0.1 * 1.1);
    QCOMPARE(f.vars().t, 0.1 * 1.1);
}

void TestOscillation::redrawInAFrameSetsTheFiguresEnd()
{
    FormFixture f;
    // A moved bar and a tick in the same pump: redrawn, the frame completes from the
    // plotter's end, then the loop ends.
    runUntilTickAt(f, 3, [&f](int n) {
        if (n == 3) {
            f.fake.setScroll(ScrollBar::Amp1, 150);
            f.form.handle(Event::hscAmp1_Change);
        }
    });
    QCOMPARE(f.fake.count("cls"), 1);
    QCOMPARE(f.vars().t, 6.399999999999993 + 0.1);
    QCOMPARE(f.vars().x, 1.5 * std::sin(6.399999999999993));
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
    QCOMPARE(f.fake.check, 1);
    QCOMPARE(f.fake.count("zOrder"), 3);
}

void TestOscillation::positionNotFiniteMovesNothing()
{
    FormFixture f;
    f.fake.texts[1] = std::string("0"); // GCC 12 warns falsely on assigning a literal
    runUntilTickAt(f, 4);
    QCOMPARE(f.fake.count("left"), 0);
    QCOMPARE(f.fake.count("X1"), 0);
    QVERIFY(std::abs(f.vars().t - 0.4) < 1e-12);
}

void TestOscillation::waitSleepsAtLeastTheFramePause()
{
    FormFixture f;
    runUntilTickAt(f, 50);
    // 50 frames, each waiting 0.01 s by sleeping, never by reading the clock in a spin.
    QCOMPARE(f.fake.count("sleep"), 50);
    QCOMPARE(f.fake.count("clock"), 3 * 50);
    QVERIFY(f.fake.now >= 1000 + 50 * 0.01 - 1e-9);
}

void TestOscillation::speedSteps_data()
{
    QTest::addColumn<QString>("presses");
    QTest::addColumn<double>("dt");
    QTest::addColumn<double>("percent");
    QTest::newRow("+") << "+" << 0.11 << 55.0;
    QTest::newRow("-") << "-" << 0.09 << 45.0;
    QTest::newRow("+++") << "+++" << 0.1331 << 66.55;
    QTest::newRow("---") << "---" << 0.0729 << 36.45;
    QTest::newRow("+-: 0.099, not 0.1") << "+-" << 0.099 << 49.5;
    QTest::newRow("seven +") << "+++++++" << 0.1948717 << 97.44;
    QTest::newRow("eight +: full bar") << "++++++++" << 0.2143589 << 100.0;
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
    QVERIFY(std::abs(f.vars().dt - dt) < 1e-6);
    const auto boxes = f.fake.callsOf("box");
    const Call& bar = boxes.back();
    QCOMPARE(bar.numbers[2], double(single(f.vars().dt)));
    QCOMPARE(bar.numbers[0], 0.0);
    QCOMPARE(bar.numbers[3], 1.0);
    QVERIFY(std::abs(std::min(bar.numbers[2] / 0.2, 1.0) * 100 - percent) < 0.01);
    // Each press clears the bar before drawing it.
    QCOMPARE(f.fake.count("cls"), int(presses.size()));
}

void TestOscillation::speedBeforeFirstStartStaysZero()
{
    FormFixture f;
    f.form.handle(Event::Form_Load);
    for (int i = 0; i < 5; ++i) {
        f.form.handle(Event::Command7_Click);
        f.form.handle(Event::Command8_Click);
    }
    QCOMPARE(f.vars().dt, 0.0);
    QCOMPARE(QString::fromStdString(f.fake.callsOf("box").back().str()), "box picVelo 0 0 0 1");
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
    QVERIFY(std::isfinite(float(f.fake.callsOf("box").back().numbers[2])));
    // The beam still moves: the last frame placed the point somewhere finite.
    QVERIFY(std::isfinite(f.fake.callsOf("left").back().numbers[0]));
}

QTEST_APPLESS_MAIN(TestOscillation)
#include "tst_oscillation.moc"
