#pragma once

#include <array>

namespace korvelian {

enum class ControlKind { Picture, Frame, Button, CheckBox, Label, TextBox, ScrollBar, Line };

// A: Times New Roman 10.2 pt, B: 10.8 pt, C: 12 pt, D: the application's default font.
enum class FontKey { None, A, B, C, D };

// One control of the main window. Positions and sizes are in twips, relative to the
// parent's top-left corner; a line's width and height are the offset of its second end.
struct ControlLayout
{
    const char* name;
    ControlKind kind;
    const char* parent; // nullptr: the window itself
    int left;
    int top;
    int width;
    int height;
    const char* caption;
    FontKey font;
    int tab; // -1: takes no focus
    int maximum = 0;
    int value = 0;
    const char* accessibleName = nullptr;
};

inline constexpr int kClientWidth = 9864;
inline constexpr int kClientHeight = 7320;
inline constexpr int kTwipsPerPixel = 15;

// Twips to logical pixels at 96 dots per inch, to the nearest pixel.
constexpr int pixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// Parents come before their children.
// clang-format off
inline constexpr auto kControls = std::to_array<ControlLayout>({
    {"picBildschirm", ControlKind::Picture, nullptr, 3120, 120, 6612, 6612, "", FontKey::None, 0},
    {"Frame1", ControlKind::Frame, nullptr, 240, 120, 2652, 1572, "x", FontKey::A, -1},
    {"Frame2", ControlKind::Frame, nullptr, 240, 1920, 2652, 2892, "y", FontKey::A, -1},
    {"Command1", ControlKind::Button, nullptr, 240, 4920, 1452, 372, "Korvelianfigur", FontKey::A, 12},
    {"Command2", ControlKind::Button, nullptr, 240, 5400, 1452, 372, "Schwingung", FontKey::A, 15},
    {"Check1", ControlKind::CheckBox, nullptr, 1800, 5400, 972, 372, "Stop", FontKey::A, 16},
    {"Label8", ControlKind::Label, nullptr, 240, 5880, 1452, 252, "Geschwindigkeit", FontKey::A, -1},
    {"Command8", ControlKind::Button, nullptr, 1800, 5880, 252, 252, "-", FontKey::D, 30},
    {"Command7", ControlKind::Button, nullptr, 2040, 5880, 252, 252, "+", FontKey::D, 29},
    {"picVelo", ControlKind::Picture, nullptr, 1800, 6120, 492, 132, "", FontKey::None, 31},
    {"Command5", ControlKind::Button, nullptr, 240, 6360, 2652, 372, "Programm beenden", FontKey::A, 20},
    {"txtHilfe", ControlKind::TextBox, nullptr, 240, 6840, 9012, 372, "Hilfe", FontKey::B, 21, 0, 0, "Hilfe"},
    {"Command6", ControlKind::Button, nullptr, 9360, 6840, 372, 372, "i", FontKey::D, 22},
    {"Label1", ControlKind::Label, "Frame1", 600, 240, 1692, 252, "Amplitude", FontKey::A, -1},
    {"hscAmp1", ControlKind::ScrollBar, "Frame1", 600, 480, 1812, 252, "", FontKey::None, 3, 200, 100, "Amplitude x"},
    {"Label5", ControlKind::Label, "Frame1", 600, 840, 1692, 252, "Phase", FontKey::A, -1},
    {"HScroll1", ControlKind::ScrollBar, "Frame1", 600, 1080, 1812, 252, "", FontKey::None, 13, 628, 0, "Phase x"},
    {"Label2", ControlKind::Label, "Frame2", 600, 360, 1692, 252, "Amplitude", FontKey::A, -1},
    {"hscAmp2", ControlKind::ScrollBar, "Frame2", 600, 600, 1812, 252, "", FontKey::None, 6, 200, 100, "Amplitude y"},
    {"Label3", ControlKind::Label, "Frame2", 600, 960, 1692, 252, "Phase", FontKey::A, -1},
    {"hscPhase", ControlKind::ScrollBar, "Frame2", 600, 1200, 1812, 252, "", FontKey::None, 8, 628, 0, "Phase y"},
    {"Command9", ControlKind::Button, "Frame2", 1440, 1560, 252, 192, "-", FontKey::D, 25},
    {"txtZaehler", ControlKind::TextBox, "Frame2", 1680, 1560, 612, 288, "1", FontKey::C, 10, 0, 0, "Zähler"},
    {"cmdplusZaehler", ControlKind::Button, "Frame2", 2280, 1560, 252, 192, "+", FontKey::D, 23},
    {"Label4", ControlKind::Label, "Frame2", 120, 1800, 1692, 252, "Frequenzfaktor", FontKey::A, -1},
    {"Line1", ControlKind::Line, "Frame2", 1680, 1920, 600, 0, "", FontKey::None, -1},
    {"Command10", ControlKind::Button, "Frame2", 1440, 2040, 252, 192, "-", FontKey::D, 26},
    {"txtNenner", ControlKind::TextBox, "Frame2", 1680, 2040, 612, 288, "1", FontKey::C, 11, 0, 0, "Nenner"},
    {"cmdplusNenner", ControlKind::Button, "Frame2", 2280, 2040, 252, 192, "+", FontKey::D, 24},
    {"Label9", ControlKind::Label, "Frame2", 1200, 2520, 372, 252, "kgV", FontKey::A, -1},
    {"txtkgV", ControlKind::TextBox, "Frame2", 1680, 2520, 612, 288, "1", FontKey::B, 32, 0, 0, "kgV"},
});
// clang-format on

} // namespace korvelian
