#pragma once

#include "form/screenviews.h"

#include <array>

namespace korvelian {

// The views a tick in the screen's menu turns on, remembered between runs. Fine draws the
// figure as its fine curve ("Feine Kurve"); Textbook reads the y phase bar as the textbook does
// and shows y upward ("Wie im Lehrbuch").
enum class ViewOption {
    ReadingAid,
    YUp,
    TimeSignals,
    Afterglow,
    Drift,
    Values,
    Graticule,
    Fine,
    Textbook
};
inline constexpr std::array kViewOptions{
    ViewOption::ReadingAid, ViewOption::YUp,   ViewOption::TimeSignals,
    ViewOption::Afterglow,  ViewOption::Drift, ViewOption::Values,
    ViewOption::Graticule,  ViewOption::Fine,  ViewOption::Textbook};

// What the program remembers between runs: how the window is shown, never anything of the
// simulation.
class ViewSettings
{
public:
    // The zoom of the last run, 100 the first time.
    static int zoomPercent();
    static void setZoomPercent(int percent);
    // Whether the view was on, off the first time.
    static bool option(ViewOption option);
    static void setOption(ViewOption option, bool on);
    // Seconds per turn of the drifting phase, one of the menu's choices.
    static double driftSecondsPerTurn();
    static void setDriftSecondsPerTurn(double seconds);
    // The x tone's frequency in Hz, one of kBaseFrequencies; 220 the first time.
    static int baseFrequency();
    static void setBaseFrequency(int hertz);
};

} // namespace korvelian
