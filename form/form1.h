#pragma once

#include "event.h"
#include "handlers/figureplotter.h"
#include "handlers/formvariables.h"
#include "handlers/frequencyfactor.h"
#include "handlers/hintline.h"
#include "handlers/oscillation.h"
#include "handlers/phasedrift.h"
#include "handlers/soundcontrol.h"
#include "handlers/speedcontrol.h"

namespace korvelian {

class WindowOperations;

// The window's handlers and its window-level variables, without any toolkit: the Qt main
// window and the recording fake both deliver their events to handle().
class Form1
{
public:
    explicit Form1(WindowOperations& ops);

    void handle(Event event);

    // Before the window is first shown: the frames, the figure and the empty speed bar.
    void startUp();
    void quit();
    void showInformation();
    void showHint(Event mouseMove);
    // "Wie im Lehrbuch" on or off: the y phase bar read as the y oscillation's own phase from
    // now on, the figure drawn afresh and the sound following it.
    void setTextbook(bool on);

    FormVariables& variables() { return m_vars; }
    const Oscillation& oscillation() const { return m_oscillation; }
    PhaseDrift& drift() { return m_drift; }
    SoundControl& sound() { return m_sound; }

private:
    // A bar or a box the user set while the phase drifts ends the drift.
    void endDriftOnEntry(Event event);

    WindowOperations& m_ops;
    FormVariables m_vars;
    HintLine m_hint;
    FigurePlotter m_plotter;
    FrequencyFactor m_frequency;
    PhaseDrift m_drift;
    Oscillation m_oscillation;
    SpeedControl m_speed;
    SoundControl m_sound;
};

} // namespace korvelian
