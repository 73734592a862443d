#pragma once

#include "model/deflection.h"

#include <optional>

namespace korvelian {

class HintLine;
class SoundOutput;
class WindowOperations;
struct RatioInUse;

// "Ton": the x oscillation on the left channel, the y oscillation on the right, for the ratio
// in use (never a refused entry). A y tone out of the audible range is said in the hint line
// instead of being played.
class SoundControl
{
public:
    static constexpr double kDefaultBaseFrequency = 220;

    SoundControl(WindowOperations& ops, const RatioInUse& ratio, HintLine& hint);

    // None where the system has no audio output.
    void setOutput(SoundOutput* output) { m_output = output; }
    bool on() const { return m_on; }
    void setOn(bool on);
    double baseFrequency() const { return m_baseFrequency; }
    void setBaseFrequency(double frequency);
    // After any change of the controls: the tone follows what the figure shows.
    void follow();
    // Parameters that do not come from the controls (a phase that drifts, say); any time.
    void follow(const Parameter& p);
    // The program ends: the tone is faded out before this returns.
    void end();

private:
    void announce(double frequencyY);

    WindowOperations& m_ops;
    const RatioInUse& m_ratio;
    HintLine& m_hint;
    SoundOutput* m_output = nullptr;
    bool m_on = false;
    double m_baseFrequency = kDefaultBaseFrequency;
    // The inaudible y frequency the hint line has been told of.
    std::optional<double> m_announced;
};

} // namespace korvelian
