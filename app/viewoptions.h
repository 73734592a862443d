#pragma once

#include "viewsettings.h"

#include <QObject>

#include <array>
#include <vector>

class QWidget;

namespace korvelian {

class Form1;
class PhaseDrift;
class ScreenArea;
class SoundControl;
class TimeSignalView;

// The views a tick in the screen's menu turns on (reading aid, values, graticule,
// orientation, time signals, afterglow, drifting phase, fine curve, the textbook's reading),
// the drift's speed and the sound's base frequency: each applied to the screen, the time
// signals' window or the handlers, and remembered between runs once restore() has read the
// last run's. "Wie im Lehrbuch" shows y upward whatever "y-Achse nach oben" says.
class ViewOptions : public QObject
{
    Q_OBJECT

public:
    ViewOptions(QWidget& window, ScreenArea& screen, TimeSignalView& timeSignals, Form1& form);

    // Turns a view on or off; optionChanged() tells the menu when it did.
    void setOption(ViewOption option, bool on);
    bool option(ViewOption option) const { return m_on[static_cast<std::size_t>(option)]; }
    void setDriftSecondsPerTurn(double seconds);
    void setBaseFrequency(int hertz);
    // Starts with the views, the drift's speed and the base frequency of the last run and
    // remembers every choice of them from now on; the views in forThisRun (from the command
    // line) are turned on for this run without being remembered.
    void restore(const std::vector<ViewOption>& forThisRun = {});
    // Whether the screen shows y upward: by its own tick or by the textbook's.
    bool yUpShown() const { return option(ViewOption::YUp) || option(ViewOption::Textbook); }

    // The time signals ticked before the window was shown open beside it now.
    void windowShown();

signals:
    void optionChanged(ViewOption option, bool on);
    void driftSpeedChanged(double secondsPerTurn);
    void baseFrequencyChanged(int hertz);

private:
    void apply(ViewOption option, bool on);

    QWidget& m_window;
    ScreenArea& m_screen;
    TimeSignalView& m_timeSignals;
    Form1& m_form;
    PhaseDrift& m_drift;
    SoundControl& m_sound;
    std::array<bool, kViewOptions.size()> m_on{};
    bool m_timeSignalsOnShow = false;
    bool m_remember = false;
};

} // namespace korvelian
