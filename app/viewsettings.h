#pragma once

#include <array>

namespace korvelian {

// What "Grundfrequenz" offers: A two, three and four octaves above the lowest A of a piano.
inline constexpr std::array kBaseFrequencies{110, 220, 440};

// What the program remembers between runs: how the window is shown, never anything of the
// simulation.
class ViewSettings
{
public:
    // The zoom of the last run, 100 the first time.
    static int zoomPercent();
    static void setZoomPercent(int percent);
    // Whether the reading aid was on, off the first time.
    static bool readingAid();
    static void setReadingAid(bool on);
    // Whether the screen shows y growing upward, off the first time.
    static bool yUp();
    static void setYUp(bool on);
    // The x tone's frequency in Hz, one of kBaseFrequencies; 220 the first time.
    static int baseFrequency();
    static void setBaseFrequency(int hertz);
};

} // namespace korvelian
