#pragma once

#include <array>

namespace korvelian {

// The views of the screen that its context menu switches on and off, in the menu's order and
// with its German words: what is shown beneath and over the figure, and which way y grows.
enum class ScreenView { ReadingAid, Values, Graticule, YUp };

struct ScreenViewEntry
{
    ScreenView view;
    const char* caption;
};

inline constexpr std::array<ScreenViewEntry, 4> kScreenViews{{
    {ScreenView::ReadingAid, "Ablesehilfe"},
    {ScreenView::Values, "Werte einblenden"},
    {ScreenView::Graticule, "Raster"},
    {ScreenView::YUp, "y-Achse nach oben (wie am Oszilloskop)"},
}};

// The views of the beam in motion: the time signals x(t) and y(t) with the beam's cursor, its
// afterglow over the dimmed figure, and the y phase drifting as with two slightly detuned
// generators.
enum class MotionView { TimeSignals, Afterglow, Drift };

struct MotionViewEntry
{
    MotionView view;
    const char* caption;
};

inline constexpr std::array<MotionViewEntry, 3> kMotionViews{{
    {MotionView::TimeSignals, "Zeitverläufe"},
    {MotionView::Afterglow, "Nachleuchten"},
    {MotionView::Drift, "Phase wandern lassen"},
}};

} // namespace korvelian
