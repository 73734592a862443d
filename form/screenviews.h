#pragma once

#include "model/driftstep.h"

#include <array>
#include <cstddef>
#include <string>

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

// How the figure itself is read and drawn: the y phase as a textbook writes it (with y
// upward), and the curve as smooth as an oscilloscope draws it. The tooltip says what each does.
enum class FigureView { Textbook, Fine };

struct FigureViewEntry
{
    FigureView view;
    const char* caption;
    const char* tip;
};

inline constexpr std::array<FigureViewEntry, 2> kFigureViews{{
    {FigureView::Textbook, "Wie im Lehrbuch",
     "Phase y ist die Phase der y-Schwingung selbst: y = A_y · sin(Z/N · t + φ_y); y-Achse nach "
     "oben"},
    {FigureView::Fine, "Feine Kurve",
     "Die Figur so glatt, wie ein Oszilloskop sie zeichnet, statt in Schritten von 0,1"},
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

// How fast the phase drifts, as the screen's menu offers it: one turn of the bar in so many
// seconds (kDriftChoices).
inline constexpr const char* kDriftSpeedsCaption = "Wandergeschwindigkeit";
inline constexpr std::array<const char*, 5> kDriftSpeedWords{
    {"sehr langsam", "langsam", "normal", "schnell", "sehr schnell"}};
static_assert(kDriftSpeedWords.size() == kDriftChoices.size());

inline std::string driftSpeedCaption(std::size_t choice)
{
    return std::string(kDriftSpeedWords[choice]) + ": eine Umdrehung in " +
           std::to_string(static_cast<int>(kDriftChoices[choice])) + " s";
}

// What "Grundfrequenz" offers for the x tone: A two, three and four octaves above the lowest A
// of a piano.
inline constexpr const char* kBaseFrequencyCaption = "Grundfrequenz";
inline constexpr std::array kBaseFrequencies{110, 220, 440};

} // namespace korvelian
