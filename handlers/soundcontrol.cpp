#include "soundcontrol.h"

#include "hintline.h"
#include "parameters.h"
#include "soundoutput.h"
#include "model/numbertext.h"
#include "model/stereotone.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace korvelian {

namespace {

// The most decimals a frequency is written with; whole numerators and denominators never need
// more than three.
constexpr int kMostDecimals = 6;

// A frequency in German notation, "6,88 Hz", "22,0 kHz", with as many decimals as it takes to
// stand on its side of the limit it passed: 20 020 Hz is "20,02 kHz", never "20,0 kHz", which
// would contradict "bis 20 kHz" in the same sentence.
std::string frequencyText(double frequency)
{
    const bool high = frequency > kHighestAudible;
    const double value = high ? frequency / 1000 : frequency;
    const double limit = high ? kHighestAudible / 1000 : kLowestAudible;
    // Three significant digits below the range, one decimal of kHz above it, to begin with.
    int decimals =
        high || !(value > 0) ? 1 : std::max(0, 2 - static_cast<int>(std::floor(std::log10(value))));
    auto rounded = [value](int places) {
        const double scale = std::pow(10.0, places);
        return std::round(value * scale) / scale;
    };
    while (decimals < kMostDecimals &&
           (high ? rounded(decimals) <= limit : rounded(decimals) >= limit))
        ++decimals;
    return germanNumber(value, 'f', decimals) + (high ? " kHz" : " Hz");
}

std::string inaudibleMessage(double frequency)
{
    const bool high = audibility(frequency) == Audibility::TooHigh;
    return "Ton: f_y = " + frequencyText(frequency) + " liegt " +
           (high ? "über dem Hörbereich (bis 20 kHz)" : "unter dem Hörbereich (ab 20 Hz)") +
           ", y bleibt stumm.";
}

} // namespace

SoundControl::SoundControl(WindowOperations& ops, const RatioInUse& ratio, HintLine& hint)
    : m_ops(ops), m_ratio(ratio), m_hint(hint)
{
}

void SoundControl::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    if (on) {
        follow();
        return;
    }
    if (m_output)
        m_output->fadeOut();
    m_announced.reset();
    m_hint.mend(HintLine::Cause::Sound);
}

void SoundControl::setBaseFrequency(double frequency)
{
    m_baseFrequency = frequency;
    follow();
}

void SoundControl::follow()
{
    if (m_on && m_output)
        follow(readParameters(m_ops, m_ratio));
}

void SoundControl::follow(const Parameter& p)
{
    if (!m_on || !m_output)
        return;
    const ToneSettings settings = toneSettings(p, m_baseFrequency);
    announce(settings.frequencyY);
    m_output->play(settings);
}

void SoundControl::announce(double frequencyY)
{
    if (audibility(frequencyY) == Audibility::Audible) {
        if (m_announced)
            m_hint.mend(HintLine::Cause::Sound);
        m_announced.reset();
        return;
    }
    // Said once per frequency: a message about the ratio that comes later stays in view.
    if (m_announced == frequencyY)
        return;
    m_announced = frequencyY;
    m_hint.show(HintLine::Cause::Sound, inaudibleMessage(frequencyY));
}

void SoundControl::end()
{
    if (m_on && m_output)
        m_output->endNow();
}

} // namespace korvelian
