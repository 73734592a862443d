#include "model/stereotone.h"

#include "tests/testregistry.h"

#include <QTest>

#include <cmath>
#include <numbers>
#include <vector>

using namespace korvelian;

Q_DECLARE_METATYPE(korvelian::Parameter)

namespace {

constexpr double kRate = 48000;
constexpr double kFull = 32767;
constexpr int kRamp = 240; // 5 ms

std::vector<std::int16_t> render(StereoTone& tone, int frames)
{
    std::vector<std::int16_t> samples(2 * static_cast<std::size_t>(frames));
    tone.render(samples.data(), static_cast<std::size_t>(frames));
    return samples;
}

// The deflections as sound, written from the formulas: x = A1 sin(t + P1) and
// y = A2 sin((t + P2) Z / N) with t = 2π f_x n / rate at frame n, amplitude 2 at half scale.
double expectedX(const Parameter& p, double base, std::int64_t frame)
{
    const double t = 2 * std::numbers::pi * base * static_cast<double>(frame) / kRate;
    return p.amplitudeX / 4 * kFull * std::sin(t + p.phaseX);
}

double expectedY(const Parameter& p, double base, std::int64_t frame)
{
    const double t = 2 * std::numbers::pi * base * static_cast<double>(frame) / kRate;
    return p.amplitudeY / 4 * kFull * std::sin((t + p.phaseY) * p.numerator / p.denominator);
}

// Every frame from `from` on against the formulas, to the 16-bit sample: the first that
// differs, or nothing.
QString differenceFromFormulas(const std::vector<std::int16_t>& samples, std::int64_t first,
                               std::int64_t from, const Parameter& p, double base)
{
    for (std::int64_t frame = from; frame < first + std::int64_t(samples.size() / 2); ++frame) {
        const auto i = static_cast<std::size_t>(frame - first);
        const double x = expectedX(p, base, frame);
        const double y = expectedY(p, base, frame);
        if (std::abs(samples[2 * i] - x) > 1 || std::abs(samples[2 * i + 1] - y) > 1) {
            return QStringLiteral("frame %1: %2 %3, expected %4 %5")
                .arg(frame)
                .arg(samples[2 * i])
                .arg(samples[2 * i + 1])
                .arg(x)
                .arg(y);
        }
    }
    return {};
}

int largestStep(const std::vector<std::int16_t>& samples, int channel)
{
    int largest = 0;
    for (std::size_t i = 2 + channel; i < samples.size(); i += 2)
        largest = std::max(largest, std::abs(samples[i] - samples[i - 2]));
    return largest;
}

// What the ramp lets one sample differ from the next: the faster sine at the larger gain,
// the phase's glide of up to half a turn, the gain's step, rounding.
double stepAllowed(double frequency, double gainBefore, double gainAfter)
{
    const double gain = std::max(gainBefore, gainAfter) * kFull;
    return gain * (2 * std::numbers::pi * frequency / kRate + std::numbers::pi / kRamp) +
           std::abs(gainAfter - gainBefore) * kFull / kRamp + 2;
}

} // namespace

class TestStereoTone : public QObject
{
    Q_OBJECT

private slots:
    void channels_data();
    void channels();
    void changes_data();
    void changes();
    void rampIsAStraightLine();
    void silence_data();
    void silence();
    void audibleRange_data();
    void audibleRange();
};

void TestStereoTone::channels_data()
{
    QTest::addColumn<Parameter>("p");
    QTest::addColumn<double>("base");
    // a1, p1, a2, p2, z, n
    QTest::newRow("1 : 1 at 220 Hz") << Parameter{1, 0, 1, 0, 1, 1} << 220.0;
    QTest::newRow("3 : 2 at 220 Hz, phase y 90°: y 330 Hz, shifted 1,57 · 3/2")
        << Parameter{0.5, 0, 2, 1.57, 3, 2} << 220.0;
    QTest::newRow("1 : 2 at 440 Hz, phase x 45°, phase y 1: y 220 Hz, shifted 0,5")
        << Parameter{1.5, 0.79, 1, 1, 1, 2} << 440.0;
    QTest::newRow("numerator 2.5 at 110 Hz, as the formula reads it")
        << Parameter{1, 3.14, 0.25, 6.28, 2.5, 1} << 110.0;
}

// Left is x, right is y: frequencies, amplitudes and phases exactly as the figure's formulas
// give them once the fade in is over.
void TestStereoTone::channels()
{
    QFETCH(Parameter, p);
    QFETCH(double, base);
    StereoTone tone(kRate);
    tone.set(toneSettings(p, base));
    const QString difference = differenceFromFormulas(render(tone, 4800), 0, kRamp, p, base);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestStereoTone::changes_data()
{
    QTest::addColumn<Parameter>("before");
    QTest::addColumn<Parameter>("after");
    QTest::addColumn<double>("baseAfter");
    QTest::newRow("amplitude y 1 to 2")
        << Parameter{1, 0, 1, 0, 3, 2} << Parameter{1, 0, 2, 0, 3, 2} << 220.0;
    QTest::newRow("ratio 3 : 2 to 5 : 4")
        << Parameter{1, 0, 1, 0.5, 3, 2} << Parameter{1, 0, 1, 0.5, 5, 4} << 220.0;
    QTest::newRow("ratio 1 : 1 to 7 : 1")
        << Parameter{2, 0, 2, 0, 1, 1} << Parameter{2, 0, 2, 0, 7, 1} << 220.0;
    QTest::newRow("phase y 0 to half a turn")
        << Parameter{1, 0, 1, 0, 1, 1} << Parameter{1, 0, 1, 3.14, 1, 1} << 220.0;
    QTest::newRow("phase x 6,28 to 0")
        << Parameter{1, 6.28, 1, 0, 2, 1} << Parameter{1, 0, 1, 0, 2, 1} << 220.0;
    QTest::newRow("base 220 to 440 Hz")
        << Parameter{1, 0, 1, 0, 3, 2} << Parameter{1, 0, 1, 0, 3, 2} << 440.0;
}

// A change never jumps: each channel glides to where the new settings put it by the common
// clock, and from then on plays them exactly, the phase relation of the formulas included.
void TestStereoTone::changes()
{
    QFETCH(Parameter, before);
    QFETCH(Parameter, after);
    QFETCH(double, baseAfter);
    StereoTone tone(kRate);
    tone.set(toneSettings(before, 220));
    const std::vector<std::int16_t> first = render(tone, 3001);
    tone.set(toneSettings(after, baseAfter));
    const std::vector<std::int16_t> second = render(tone, 4800);
    std::vector<std::int16_t> across(first.end() - 2 * kRamp, first.end());
    across.insert(across.end(), second.begin(), second.begin() + 4 * kRamp);

    const double largestY = std::max(220 * before.numerator / before.denominator,
                                     baseAfter * after.numerator / after.denominator);
    QVERIFY(largestStep(across, 0) <=
            stepAllowed(baseAfter, before.amplitudeX / 4, after.amplitudeX / 4));
    QVERIFY(largestStep(across, 1) <=
            stepAllowed(largestY, before.amplitudeY / 4, after.amplitudeY / 4));
    const QString difference = differenceFromFormulas(second, 3001, 3001 + kRamp, after, baseAfter);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

// Louder or softer in a straight line over 5 ms, the pitch going on undisturbed.
void TestStereoTone::rampIsAStraightLine()
{
    const Parameter soft{1, 0, 1, 0, 3, 2};
    const Parameter loud{0, 0, 2, 0, 3, 2};
    StereoTone tone(kRate);
    tone.set(toneSettings(soft, 220));
    render(tone, 1000);
    tone.set(toneSettings(loud, 220));
    const std::vector<std::int16_t> samples = render(tone, kRamp + 10);
    for (int i = 0; i <= kRamp + 9; ++i) {
        const double share = std::min(i, kRamp) / double(kRamp);
        const double x = (1 - share) * expectedX(soft, 220, 1000 + i);
        const double y = (1 + share) * expectedY(soft, 220, 1000 + i);
        QVERIFY2(std::abs(samples[2 * i] - x) <= 1 && std::abs(samples[2 * i + 1] - y) <= 1,
                 qPrintable(QString::number(i)));
    }
}

void TestStereoTone::silence_data()
{
    QTest::addColumn<Parameter>("p");
    QTest::addColumn<bool>("leftSilent");
    QTest::addColumn<bool>("rightSilent");
    QTest::newRow("amplitude x 0") << Parameter{0, 0.5, 1, 0, 1, 1} << true << false;
    QTest::newRow("amplitude y 0") << Parameter{1, 0, 0, 0.5, 3, 2} << false << true;
    QTest::newRow("both amplitudes 0") << Parameter{0, 0, 0, 0, 3, 2} << true << true;
    QTest::newRow("100 : 1, y at 22 kHz") << Parameter{1, 0, 1, 0, 100, 1} << false << true;
    QTest::newRow("1 : 32, y at 6,9 Hz") << Parameter{1, 0, 1, 0, 1, 32} << false << true;
    QTest::newRow("32767 : 1, y far above half the rate")
        << Parameter{1, 0, 1, 0, 32767, 1} << false << true;
}

// Amplitude 0, or a y tone nobody would hear, is exact silence after the fade, not noise.
void TestStereoTone::silence()
{
    QFETCH(Parameter, p);
    QFETCH(bool, leftSilent);
    QFETCH(bool, rightSilent);
    StereoTone tone(kRate);
    tone.set(toneSettings({1, 0, 1, 0, 1, 1}, 220));
    render(tone, 1000);
    tone.set(toneSettings(p, 220));
    const std::vector<std::int16_t> samples = render(tone, 4800);
    const std::vector<std::int16_t> settled(samples.begin() + 2 * kRamp, samples.end());
    QCOMPARE(largestStep(settled, 0) == 0 && settled[0] == 0, leftSilent);
    QCOMPARE(largestStep(settled, 1) == 0 && settled[1] == 0, rightSilent);
    QCOMPARE(tone.silent(), leftSilent && rightSilent);
    QVERIFY(largestStep(samples, 1) <= stepAllowed(220, 0.25, 0.25));
}

void TestStereoTone::audibleRange_data()
{
    QTest::addColumn<double>("frequency");
    QTest::addColumn<int>("audibility");
    QTest::newRow("19,99 Hz") << 19.99 << int(Audibility::TooLow);
    QTest::newRow("20 Hz") << 20.0 << int(Audibility::Audible);
    QTest::newRow("20 kHz") << 20000.0 << int(Audibility::Audible);
    QTest::newRow("20000,01 Hz") << 20000.01 << int(Audibility::TooHigh);
}

void TestStereoTone::audibleRange()
{
    QFETCH(double, frequency);
    QFETCH(int, audibility);
    QCOMPARE(int(korvelian::audibility(frequency)), audibility);
}

KORVELIAN_PLAIN_TEST(stereotone, TestStereoTone)
#include "tst_stereotone.moc"
