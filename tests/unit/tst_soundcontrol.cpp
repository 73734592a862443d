#include "tests/formfixture.h"
#include "form/layout.h"
#include "handlers/messages.h"
#include "handlers/soundoutput.h"

#include "tests/testregistry.h"

#include <QTest>

#include <utility>
#include <vector>

using namespace korvelian;

namespace {

// Records what the sound hands the audio output, and the order of the ends.
struct RecordingOutput : SoundOutput
{
    std::vector<ToneSettings> played;
    std::vector<std::string> calls;

    void play(const ToneSettings& settings) override
    {
        played.push_back(settings);
        calls.push_back("play");
    }
    void fadeOut() override { calls.push_back("fadeOut"); }
    void endNow() override { calls.push_back("endNow"); }
};

struct SoundFixture : FormFixture
{
    RecordingOutput output;

    SoundFixture()
    {
        form.sound().setOutput(&output);
        form.sound().setOn(true);
    }
    SoundControl& sound() { return form.sound(); }
    std::string hint() const { return fake.shownText(TextBox::Hint); }
};

using Entries = std::vector<std::pair<TextBox, std::string>>;

} // namespace

Q_DECLARE_METATYPE(Entries)
Q_DECLARE_METATYPE(korvelian::ToneSettings)

class TestSoundControl : public QObject
{
    Q_OBJECT

private slots:
    void ratioInUse_data();
    void ratioInUse();
    void bars_data();
    void bars();
    void offIsSilentAndTheEndWaitsForTheFade();
};

void TestSoundControl::ratioInUse_data()
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<double>("frequencyY");
    QTest::addColumn<double>("gainY");
    QTest::addColumn<QString>("hint"); // empty: the hint line as at start
    QTest::addColumn<double>("neverHeard");
    const QString above =
        "Ton: f_y = 22,0 kHz liegt über dem Hörbereich (bis 20 kHz), y bleibt stumm.";
    // clang-format off
    QTest::newRow("3 : 2: y at 330 Hz")
        << Entries{{TextBox::Numerator, "3"}, {TextBox::Denominator, "2"}} << 330.0 << 0.25 << "" << 0.0;
    QTest::newRow("numerator 0 refused: 3 : 2 goes on")
        << Entries{{TextBox::Numerator, "3"}, {TextBox::Denominator, "2"}, {TextBox::Numerator, "0"}}
        << 330.0 << 0.25 << kRatioDomain << 0.0;
    QTest::newRow("numerator 32768 refused, never played")
        << Entries{{TextBox::Numerator, "32768"}} << 220.0 << 0.25 << kRatioDomain
        << 220.0 * 32768;
    QTest::newRow("kgV too large refused, never played")
        << Entries{{TextBox::Denominator, "200"}, {TextBox::Numerator, "199"}} << 1.1 << 0.0
        << kRatioTooLarge << 220.0 * 199 / 200;
    QTest::newRow("100 : 1, above hearing: y silent, said")
        << Entries{{TextBox::Numerator, "100"}} << 22000.0 << 0.0 << above << 0.0;
    QTest::newRow("1 : 32, below hearing: y silent, said")
        << Entries{{TextBox::Denominator, "32"}} << 6.875 << 0.0
        << "Ton: f_y = 6,88 Hz liegt unter dem Hörbereich (ab 20 Hz), y bleibt stumm." << 0.0;
    QTest::newRow("91 : 1, just above hearing: said as above 20 kHz")
        << Entries{{TextBox::Numerator, "91"}} << 20020.0 << 0.0
        << "Ton: f_y = 20,02 kHz liegt über dem Hörbereich (bis 20 kHz), y bleibt stumm." << 0.0;
    QTest::newRow("50 : 551, just below hearing: said as below 20 Hz")
        << Entries{{TextBox::Numerator, "50"}, {TextBox::Denominator, "551"}} << 220.0 * 50 / 551 << 0.0
        << "Ton: f_y = 19,96 Hz liegt unter dem Hörbereich (ab 20 Hz), y bleibt stumm." << 0.0;
    QTest::newRow("mended by 3 : 1: the hint goes")
        << Entries{{TextBox::Numerator, "100"}, {TextBox::Numerator, "3"}} << 660.0 << 0.25 << ""
        << 0.0;
    QTest::newRow("inaudible, then refused: the ratio's message stays in view")
        << Entries{{TextBox::Numerator, "100"}, {TextBox::Denominator, "0"}} << 22000.0 << 0.0
        << kRatioDomain << 0.0;
    QTest::newRow("inaudible, refused, mended: y is still silent, said again")
        << Entries{{TextBox::Numerator, "100"}, {TextBox::Denominator, "0"}, {TextBox::Denominator, "1"}}
        << 22000.0 << 0.0 << above << 0.0;
    QTest::newRow("inaudible, read otherwise, mended: y is still silent, said again")
        << Entries{{TextBox::Numerator, "100"}, {TextBox::Denominator, "1,5"}, {TextBox::Denominator, "1"}}
        << 22000.0 << 0.0 << above << 0.0;
    QTest::newRow("inaudible, refused, then audible: neither message stays")
        << Entries{{TextBox::Numerator, "100"}, {TextBox::Denominator, "0"}, {TextBox::Denominator, "50"}}
        << 440.0 << 0.25 << "" << 0.0;
    // clang-format on
}

// The tone is always the figure's: the ratio in use, never a refused entry, and a y tone out
// of hearing is said once instead of played.
void TestSoundControl::ratioInUse()
{
    QFETCH(Entries, entries);
    QFETCH(double, frequencyY);
    QFETCH(double, gainY);
    QFETCH(QString, hint);
    QFETCH(double, neverHeard);
    SoundFixture f;
    const std::string start = f.hint();
    for (const auto& [box, text] : entries)
        f.fake.type(box, text);
    QVERIFY(!f.output.played.empty());
    const ToneSettings& last = f.output.played.back();
    QCOMPARE(last.frequencyX, 220.0);
    QCOMPARE(last.frequencyY, frequencyY);
    QCOMPARE(last.gainY, gainY);
    QCOMPARE(QString::fromStdString(f.hint()),
             hint.isEmpty() ? QString::fromStdString(start) : hint);
    for (const ToneSettings& played : f.output.played)
        QVERIFY(played.frequencyY != neverHeard);
}

void TestSoundControl::bars_data()
{
    QTest::addColumn<int>("event");
    QTest::addColumn<int>("bar");
    QTest::addColumn<int>("value");
    QTest::addColumn<ToneSettings>("expected");
    // frequencyX, frequencyY, gainX, gainY, phaseX, phaseY
    QTest::newRow("amplitude x 0: left silent")
        << int(Event::hscAmp1_Change) << int(ScrollBar::AmplitudeX) << 0
        << ToneSettings{220, 220, 0, 0.25, 0, 0};
    QTest::newRow("amplitude y 2, dragged")
        << int(Event::hscAmp2_Scroll) << int(ScrollBar::AmplitudeY) << 200
        << ToneSettings{220, 220, 0.25, 0.5, 0, 0};
    QTest::newRow("phase x 1,57") << int(Event::HScroll1_Change) << int(ScrollBar::PhaseX) << 157
                                  << ToneSettings{220, 220, 0.25, 0.25, 1.57, 0};
    QTest::newRow("phase y 3,14, dragged") << int(Event::hscPhase_Scroll) << int(ScrollBar::PhaseY)
                                           << 314 << ToneSettings{220, 220, 0.25, 0.25, 0, 3.14};
}

// Every bar is heard at once, on Change and on Scroll alike.
void TestSoundControl::bars()
{
    QFETCH(int, event);
    QFETCH(int, bar);
    QFETCH(int, value);
    QFETCH(ToneSettings, expected);
    SoundFixture f;
    const std::size_t before = f.output.played.size();
    f.fake.setScroll(static_cast<ScrollBar>(bar), static_cast<std::int16_t>(value));
    f.form.handle(static_cast<Event>(event));
    QCOMPARE(f.output.played.size(), before + 1);
    QVERIFY(f.output.played.back() == expected);
}

void TestSoundControl::offIsSilentAndTheEndWaitsForTheFade()
{
    SoundFixture f;
    f.fake.type(TextBox::Numerator, "100");
    f.sound().setOn(false);
    const std::string hintAfterOff = f.hint();
    f.fake.setScroll(ScrollBar::AmplitudeX, 50);
    f.form.handle(Event::hscAmp1_Change);
    f.sound().setBaseFrequency(440);
    QVERIFY(f.output.calls == (std::vector<std::string>{"play", "play", "fadeOut"}));
    // The message about the inaudible y tone goes with the sound.
    QCOMPARE(QString::fromStdString(hintAfterOff),
             QString::fromStdString(startTexts()[std::size_t(TextBox::Hint)]));

    f.sound().setOn(true);
    QCOMPARE(f.output.played.back().frequencyX, 440.0);
    QCOMPARE(f.output.played.back().gainX, 0.125);
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, f.form.handle(Event::Command5_Click));
    QVERIFY(f.output.calls.back() == "endNow");
}

KORVELIAN_PLAIN_TEST(soundcontrol, TestSoundControl)
#include "tst_soundcontrol.moc"
