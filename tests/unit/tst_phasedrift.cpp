#include "tests/exactcompare.h"
#include "tests/formfixture.h"
#include "handlers/soundoutput.h"

#include "tests/testregistry.h"

#include <QTest>

using namespace korvelian;

namespace {

// Runs the animation with the phase drifting until Stop is ticked in pump `frames`, so that
// as many frames run, each lasting the frame pause on the fake's clock.
void runFrames(FormFixture& f, int frames, std::function<void(int)> inPump = {})
{
    f.fake.onPump = [&f, frames, inPump](int pump) {
        if (inPump)
            inPump(pump);
        if (pump == frames)
            f.fake.setCheck(1);
    };
    f.form.handle(Event::Command2_Click);
}

// What the sound was last told to play.
struct LastTone : SoundOutput
{
    ToneSettings played;
    int plays = 0;

    void play(const ToneSettings& settings) override
    {
        played = settings;
        ++plays;
    }
    void fadeOut() override {}
    void endNow() override {}
};

} // namespace

class TestPhaseDrift : public QObject
{
    Q_OBJECT

private slots:
    void aQuarterTurnMovesTheBarThroughItsHandler();
    void aBarTheUserMovesEndsTheDrift();
};

void TestPhaseDrift::aQuarterTurnMovesTheBarThroughItsHandler()
{
    FormFixture f;
    LastTone tone;
    f.form.sound().setOutput(&tone);
    f.form.sound().setOn(true);
    int changes = 0;
    f.fake.deliverTo([&](Event event) {
        changes += event == Event::hscPhase_Change;
        f.form.handle(event);
    });
    f.form.drift().setTicked(true);
    // The drift starts in the first frame; 501 frames later 5.01 s have passed, a quarter turn
    // of 20 s and a little: 628 / 4 steps.
    runFrames(f, 502);
    QCOMPARE(f.fake.shownValue(ScrollBar::PhaseY), std::int16_t(157));
    // One Change a step, as a click on the bar's arrow delivers it.
    QCOMPARE(changes, 157);
    // What stays on the screen is the figure drawn for the bar at 157.
    FormFixture plain;
    LastTone plainTone;
    plain.form.sound().setOutput(&plainTone);
    plain.form.sound().setOn(true);
    plain.fake.setScroll(ScrollBar::PhaseY, 157);
    plain.fake.fire(Event::hscPhase_Change);
    QVERIFY(plain.fake.figureSegmentCount() > 0);
    QVERIFY(f.fake.figures() == plain.fake.figures());
    // And what is heard: the sound follows the bar as it follows a user's click.
    QVERIFY(tone.plays > 157);
    QVERIFY(tone.played == plainTone.played);
    // The redraws never threw the beam back: t ran on by dt in every frame.
    double t = 0;
    for (int frame = 0; frame < 502; ++frame)
        t += 0.1;
    COMPARE_EXACT(f.vars().t, t);
    // Stop ended the drift, not the choice: the tick stays for the next run.
    QVERIFY(f.form.drift().ticked());
}

void TestPhaseDrift::aBarTheUserMovesEndsTheDrift()
{
    FormFixture f;
    std::vector<bool> told;
    f.form.drift().tickedChanged = [&](bool on) { told.push_back(on); };
    f.form.drift().setTicked(true);
    std::int16_t atTheClick = -1;
    runFrames(f, 300, [&](int pump) {
        if (pump != 200)
            return;
        atTheClick = f.fake.shownValue(ScrollBar::PhaseY);
        f.fake.setScroll(ScrollBar::AmplitudeX, 150);
        f.fake.fire(Event::hscAmp1_Change);
    });
    QVERIFY(atTheClick > 0);
    QCOMPARE(f.fake.shownValue(ScrollBar::PhaseY), atTheClick);
    QVERIFY(!f.form.drift().ticked());
    QCOMPARE(told, (std::vector<bool>{true, false}));
}

KORVELIAN_PLAIN_TEST(phasedrift, TestPhaseDrift)
#include "tst_phasedrift.moc"
