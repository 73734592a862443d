#include "stereotone.h"

#include "constants.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvelian {

namespace {

// Amplitude 2, the bars' largest, at half of full scale: two sine tones stay clear of
// clipping and of a loudspeaker's harshest range.
constexpr double kGainPerAmplitude = 0.25;
constexpr double kLargestAmplitude = 2;
constexpr double kFullScale = 32767;

// [0, 2π)
double wrapped(double angle)
{
    const double turned = std::fmod(angle, kTurn);
    return turned < 0 ? turned + kTurn : turned;
}

// (-π, π]: the shorter way round.
double nearest(double angle)
{
    const double turned = wrapped(angle);
    return turned > std::numbers::pi ? turned - kTurn : turned;
}

double loudness(double amplitude)
{
    return std::clamp(amplitude, 0.0, kLargestAmplitude) * kGainPerAmplitude;
}

std::int16_t sample(double value)
{
    return static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * kFullScale));
}

} // namespace

Audibility audibility(double frequency)
{
    if (!(frequency >= kLowestAudible))
        return Audibility::TooLow;
    if (frequency > kHighestAudible)
        return Audibility::TooHigh;
    return Audibility::Audible;
}

ToneSettings toneSettings(const Parameter& p, double baseFrequency)
{
    ToneSettings s;
    s.frequencyX = baseFrequency;
    // The factor as the formula applies it: times Z, then divided by N.
    s.frequencyY = baseFrequency * p.numerator / p.denominator;
    s.gainX = loudness(p.amplitudeX);
    s.gainY = audibility(s.frequencyY) == Audibility::Audible ? loudness(p.amplitudeY) : 0;
    s.phaseX = p.phaseX;
    s.phaseY = p.phaseY * p.numerator / p.denominator;
    return s;
}

StereoTone::StereoTone(double sampleRate)
    : m_rate(sampleRate),
      m_rampFrames(std::max(1, static_cast<int>(std::lround(sampleRate * kRampSeconds))))
{
}

void StereoTone::set(const ToneSettings& settings)
{
    if (settings == m_settings)
        return;
    m_settings = settings;
    const auto frame = static_cast<double>(m_frame);
    m_x.retune(settings.frequencyX, settings.gainX, settings.phaseX, m_rate, frame, m_rampFrames);
    m_y.retune(settings.frequencyY, settings.gainY, settings.phaseY, m_rate, frame, m_rampFrames);
}

void StereoTone::Oscillator::retune(double frequency, double newGain, double phase, double rate,
                                    double frame, int rampFrames)
{
    // Above half the sample rate a tone would fold back to a false pitch.
    if (!(frequency < rate / 2))
        newGain = 0;
    // A tone fading out keeps its pitch: the new one may lie where it would be heard folded.
    if (newGain > 0) {
        const double heard = angle + offset;
        const bool wasSilent = gain == 0 && gainTarget == 0;
        step = kTurn * frequency / rate;
        angle = wrapped(step * frame + phase);
        // A silent oscillator may jump: nobody hears it.
        offset = wasSilent ? 0 : nearest(heard - angle);
    }
    gainTarget = std::clamp(newGain, 0.0, 1.0);
    ramp = rampFrames;
    gainStep = (gainTarget - gain) / rampFrames;
    offsetStep = -offset / rampFrames;
}

double StereoTone::Oscillator::next()
{
    const double value = gain * std::sin(angle + offset);
    angle += step;
    if (angle >= kTurn)
        angle = wrapped(angle);
    if (ramp > 0) {
        if (--ramp == 0) {
            gain = gainTarget;
            offset = 0;
        } else {
            gain += gainStep;
            offset += offsetStep;
        }
    }
    return value;
}

void StereoTone::render(std::int16_t* frames, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        frames[2 * i] = sample(m_x.next());
        frames[2 * i + 1] = sample(m_y.next());
        ++m_frame;
    }
}

bool StereoTone::silent() const
{
    return m_x.gain == 0 && m_x.gainTarget == 0 && m_y.gain == 0 && m_y.gainTarget == 0;
}

} // namespace korvelian
