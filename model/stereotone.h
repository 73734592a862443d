#pragma once

#include "deflection.h"

#include <cstddef>
#include <cstdint>

namespace korvelian {

// What the two channels play: the x oscillation on the left, the y oscillation on the right.
struct ToneSettings
{
    double frequencyX = 0; // Hz
    double frequencyY = 0;
    double gainX = 0; // share of full scale; 0 is silence
    double gainY = 0;
    double phaseX = 0; // radians at the tone's time 0
    double phaseY = 0;

    bool operator==(const ToneSettings&) const = default;
};

// What a class can hear: a y tone outside is said, not played.
inline constexpr double kLowestAudible = 20;
inline constexpr double kHighestAudible = 20000;

enum class Audibility { Audible, TooLow, TooHigh };

Audibility audibility(double frequency);

// The oscillations of p as tones, the x tone at baseFrequency. With t = 2π f_x τ the y
// deflection A2 sin((t + P2) Z / N) is a tone of f_x Z / N whose phase is P2 Z / N, the time
// shift the figure shows. Loudness follows the amplitude linearly (the oscillation's amplitude
// is the sound's), an amplitude of 2 at half of full scale; an inaudible y tone is silent.
ToneSettings toneSettings(const Parameter& p, double baseFrequency);

// Two sine oscillators rendered into interleaved 16-bit stereo frames, left first. New
// settings never jump: each oscillator glides from the angle it has reached to the angle the
// settings give at this moment, and the gain moves in a straight line, both over kRampSeconds.
// After that every sample is exactly gain × sin(2π f n / rate + phase) for frame n, so the two
// channels keep the phase relation of the formulas whatever came before.
class StereoTone
{
public:
    static constexpr double kRampSeconds = 0.005;

    explicit StereoTone(double sampleRate);

    // Heard from the next rendered frame on.
    void set(const ToneSettings& settings);
    const ToneSettings& settings() const { return m_settings; }
    void render(std::int16_t* frames, std::size_t count);
    // Both gains at 0 and no ramp left: every frame rendered from now on is 0.
    bool silent() const;
    int rampFrames() const { return m_rampFrames; }

private:
    struct Oscillator
    {
        double step = 0;   // radians per frame
        double angle = 0;  // the settings' angle at the current frame, in [0, 2π)
        double offset = 0; // how far the heard angle is ahead of it; glides to 0
        double offsetStep = 0;
        double gain = 0;
        double gainTarget = 0;
        double gainStep = 0;
        int ramp = 0; // frames of the glide left

        void retune(double frequency, double gain, double phase, double rate, double frame,
                    int rampFrames);
        double next();
    };

    double m_rate;
    int m_rampFrames;
    std::int64_t m_frame = 0;
    ToneSettings m_settings;
    Oscillator m_x;
    Oscillator m_y;
};

} // namespace korvelian
