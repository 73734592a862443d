#include "soundcontrol.h"

#include "hintline.h"
#include "parameters.h"
#include "soundoutput.h"
#include "stereotone.h"

#include <cstdio>
#include <string>

namespace korvelian {

namespace {

// A frequency in German notation: "6,88 Hz", "14417,5 kHz".
std::string frequencyText(double frequency)
{
    char text[32];
    if (frequency > kHighestAudible)
        std::snprintf(text, sizeof text, "%.1f kHz", frequency / 1000);
    else
        std::snprintf(text, sizeof text, "%.3g Hz", frequency);
    std::string written(text);
    for (char& c : written) {
        if (c == '.')
            c = ',';
    }
    return written;
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
