#pragma once

#include "model/constants.h"
#include "event.h"
#include "pixels.h"
#include "handlers/windowoperations.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace korvelian {

enum class ControlKind { Picture, Frame, Button, CheckBox, Label, TextBox, ScrollBar, Line };

// The fonts by what they set: captions of frames, labels, buttons and the check box in Times
// New Roman 10.2 pt; what the program writes for the user to read (the hint line and the
// closing count) in 10.8 pt; the numbers the user types (numerator, denominator) in 12 pt;
// the small buttons in the application's default font.
enum class FontRole { None, Caption, Written, Typed, Default };

// One control of the main window: where it stands, what it shows, what it tells assistive
// technology, which events it delivers, and which operand of the window operations it is.
// Positions and sizes are in twips, relative to the parent's top-left corner; a line's width
// and height are the offset of its second end.
struct ControlLayout
{
    const char* name;
    ControlKind kind;
    const char* parent = nullptr; // nullptr: the window itself
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    const char* caption = "";
    FontRole font = FontRole::None;
    bool lightYellow = false; // the background of what the program writes
    int tab = -1;             // -1: takes no focus
    int maximum = 0;
    int value = 0;
    const char* accessibleName = nullptr; // nullptr: the caption says it
    std::optional<Event> click = std::nullopt;
    std::optional<Event> change = std::nullopt;
    std::optional<Event> scroll = std::nullopt;
    std::optional<Event> mouseMove = std::nullopt;
    const char* hint = nullptr; // what the hint line shows on mouseMove
    std::optional<Picture> picture = std::nullopt;
    std::optional<TextBox> textBox = std::nullopt;
    std::optional<ScrollBar> scrollBar = std::nullopt;
};

inline constexpr int kClientWidth = 9864;
inline constexpr int kClientHeight = 7320;

// Parents come before their children.
// clang-format off
inline constexpr auto kControls = std::to_array<ControlLayout>({
    {.name = "picBildschirm", .kind = ControlKind::Picture, .left = 3120, .top = 120, .width = 6612, .height = 6612, .tab = 0, .accessibleName = "Bildschirm", .picture = Picture::Screen},
    {.name = "Frame1", .kind = ControlKind::Frame, .left = 240, .top = 120, .width = 2652, .height = 1572, .caption = "x", .font = FontRole::Caption, .accessibleName = "Schwingung x", .mouseMove = Event::Frame1_MouseMove, .hint = "Schwingung auf der x-Achse einstellen"},
    {.name = "Frame2", .kind = ControlKind::Frame, .left = 240, .top = 1920, .width = 2652, .height = 2892, .caption = "y", .font = FontRole::Caption, .accessibleName = "Schwingung y", .mouseMove = Event::Frame2_MouseMove, .hint = "Schwingung auf der y-Achse einstellen"},
    {.name = "Command1", .kind = ControlKind::Button, .left = 240, .top = 4920, .width = 1452, .height = 372, .caption = "Korvelianfigur", .font = FontRole::Caption, .tab = 12, .click = Event::Command1_Click, .mouseMove = Event::Command1_MouseMove, .hint = "Korvelian-Figur zeigen"},
    {.name = "Command2", .kind = ControlKind::Button, .left = 240, .top = 5400, .width = 1452, .height = 372, .caption = "Schwingung", .font = FontRole::Caption, .tab = 15, .click = Event::Command2_Click, .mouseMove = Event::Command2_MouseMove, .hint = "Schwingung zeigen"},
    {.name = "Check1", .kind = ControlKind::CheckBox, .left = 1800, .top = 5400, .width = 972, .height = 372, .caption = "Stop", .font = FontRole::Caption, .tab = 16},
    {.name = "Label8", .kind = ControlKind::Label, .left = 240, .top = 5880, .width = 1452, .height = 252, .caption = "Geschwindigkeit", .font = FontRole::Caption},
    {.name = "Command8", .kind = ControlKind::Button, .left = 1800, .top = 5880, .width = 252, .height = 252, .caption = "-", .font = FontRole::Default, .tab = 30, .accessibleName = "Langsamer", .click = Event::Command8_Click},
    {.name = "Command7", .kind = ControlKind::Button, .left = 2040, .top = 5880, .width = 252, .height = 252, .caption = "+", .font = FontRole::Default, .tab = 29, .accessibleName = "Schneller", .click = Event::Command7_Click},
    {.name = "picVelo", .kind = ControlKind::Picture, .left = 1800, .top = 6120, .width = 492, .height = 132, .tab = 31, .accessibleName = "Geschwindigkeit", .picture = Picture::SpeedBar},
    {.name = "Command5", .kind = ControlKind::Button, .left = 240, .top = 6360, .width = 2652, .height = 372, .caption = "Programm beenden", .font = FontRole::Caption, .tab = 20, .click = Event::Command5_Click},
    {.name = "txtHilfe", .kind = ControlKind::TextBox, .left = 240, .top = 6840, .width = 9012, .height = 372, .caption = "Hilfe", .font = FontRole::Written, .lightYellow = true, .tab = 21, .accessibleName = "Hilfe", .textBox = TextBox::Hint},
    {.name = "Command6", .kind = ControlKind::Button, .left = 9360, .top = 6840, .width = 372, .height = 372, .caption = "i", .font = FontRole::Default, .tab = 22, .accessibleName = "Information", .click = Event::Command6_Click},
    {.name = "Label1", .kind = ControlKind::Label, .parent = "Frame1", .left = 600, .top = 240, .width = 1692, .height = 252, .caption = "Amplitude", .font = FontRole::Caption},
    {.name = "hscAmp1", .kind = ControlKind::ScrollBar, .parent = "Frame1", .left = 600, .top = 480, .width = 1812, .height = 252, .tab = 3, .maximum = 200, .value = 100, .accessibleName = "Amplitude x", .change = Event::hscAmp1_Change, .scroll = Event::hscAmp1_Scroll, .scrollBar = ScrollBar::AmplitudeX},
    {.name = "Label5", .kind = ControlKind::Label, .parent = "Frame1", .left = 600, .top = 840, .width = 1692, .height = 252, .caption = "Phase", .font = FontRole::Caption},
    {.name = "HScroll1", .kind = ControlKind::ScrollBar, .parent = "Frame1", .left = 600, .top = 1080, .width = 1812, .height = 252, .tab = 13, .maximum = kPhaseSteps, .value = 0, .accessibleName = "Phase x", .change = Event::HScroll1_Change, .scroll = Event::HScroll1_Scroll, .scrollBar = ScrollBar::PhaseX},
    {.name = "Label2", .kind = ControlKind::Label, .parent = "Frame2", .left = 600, .top = 360, .width = 1692, .height = 252, .caption = "Amplitude", .font = FontRole::Caption},
    {.name = "hscAmp2", .kind = ControlKind::ScrollBar, .parent = "Frame2", .left = 600, .top = 600, .width = 1812, .height = 252, .tab = 6, .maximum = 200, .value = 100, .accessibleName = "Amplitude y", .change = Event::hscAmp2_Change, .scroll = Event::hscAmp2_Scroll, .scrollBar = ScrollBar::AmplitudeY},
    {.name = "Label3", .kind = ControlKind::Label, .parent = "Frame2", .left = 600, .top = 960, .width = 1692, .height = 252, .caption = "Phase", .font = FontRole::Caption},
    {.name = "hscPhase", .kind = ControlKind::ScrollBar, .parent = "Frame2", .left = 600, .top = 1200, .width = 1812, .height = 252, .tab = 8, .maximum = kPhaseSteps, .value = 0, .accessibleName = "Phase y", .change = Event::hscPhase_Change, .scroll = Event::hscPhase_Scroll, .scrollBar = ScrollBar::PhaseY},
    {.name = "Command9", .kind = ControlKind::Button, .parent = "Frame2", .left = 1440, .top = 1560, .width = 252, .height = 192, .caption = "-", .font = FontRole::Default, .tab = 25, .accessibleName = "Zähler verkleinern", .click = Event::Command9_Click},
    {.name = "txtZaehler", .kind = ControlKind::TextBox, .parent = "Frame2", .left = 1680, .top = 1560, .width = 612, .height = 288, .caption = "1", .font = FontRole::Typed, .tab = 10, .accessibleName = "Zähler", .change = Event::txtZaehler_Change, .textBox = TextBox::Numerator},
    {.name = "cmdplusZaehler", .kind = ControlKind::Button, .parent = "Frame2", .left = 2280, .top = 1560, .width = 252, .height = 192, .caption = "+", .font = FontRole::Default, .tab = 23, .accessibleName = "Zähler vergrößern", .click = Event::cmdplusZaehler_Click},
    {.name = "Label4", .kind = ControlKind::Label, .parent = "Frame2", .left = 120, .top = 1800, .width = 1692, .height = 252, .caption = "Frequenzfaktor", .font = FontRole::Caption, .mouseMove = Event::Label4_MouseMove, .hint = "Frequenz der y-Schwingung = Frequenzfaktor * Frequenz der x-Schwingung (als Bruch)"},
    {.name = "Line1", .kind = ControlKind::Line, .parent = "Frame2", .left = 1680, .top = 1920, .width = 600, .height = 0, .accessibleName = "Bruchstrich"},
    {.name = "Command10", .kind = ControlKind::Button, .parent = "Frame2", .left = 1440, .top = 2040, .width = 252, .height = 192, .caption = "-", .font = FontRole::Default, .tab = 26, .accessibleName = "Nenner verkleinern", .click = Event::Command10_Click},
    {.name = "txtNenner", .kind = ControlKind::TextBox, .parent = "Frame2", .left = 1680, .top = 2040, .width = 612, .height = 288, .caption = "1", .font = FontRole::Typed, .tab = 11, .accessibleName = "Nenner", .change = Event::txtNenner_Change, .textBox = TextBox::Denominator},
    {.name = "cmdplusNenner", .kind = ControlKind::Button, .parent = "Frame2", .left = 2280, .top = 2040, .width = 252, .height = 192, .caption = "+", .font = FontRole::Default, .tab = 24, .accessibleName = "Nenner vergrößern", .click = Event::cmdplusNenner_Click},
    {.name = "Label9", .kind = ControlKind::Label, .parent = "Frame2", .left = 1200, .top = 2520, .width = 372, .height = 252, .caption = "kgV", .font = FontRole::Caption},
    {.name = "txtkgV", .kind = ControlKind::TextBox, .parent = "Frame2", .left = 1680, .top = 2520, .width = 612, .height = 288, .caption = "1", .font = FontRole::Written, .lightYellow = true, .tab = 32, .accessibleName = "kgV", .textBox = TextBox::ClosingCount},
});
// clang-format on

// Where the overlays inside the screen stand before the first frame of the beam moves them, in
// twips from the screen's top-left corner: the shapes' top-left corners in the order of Shape
// (each kMarkerTwips square), the drop lines' ends (x1, y1, x2, y2) in the order of
// OverlayLine.
inline constexpr std::array<std::array<int, 2>, 3> kShapeStarts{
    {{3240, 2880}, {3720, 4200}, {2040, 3480}}};
inline constexpr std::array<std::array<int, 4>, 2> kDropLineStarts{
    {{2400, 2400, 4680, 2400}, {840, 1080, 3120, 1080}}};

// The size of a font role in points at 100 % (FontRole::Default and None: the system's own,
// 0 here).
constexpr double fontPoints(FontRole role)
{
    switch (role) {
    case FontRole::Caption:
        return 10.2;
    case FontRole::Written:
        return 10.8;
    case FontRole::Typed:
        return 12;
    case FontRole::None:
    case FontRole::Default:
        break;
    }
    return 0;
}
// The family every font role but the default names.
inline constexpr const char* kLayoutFamily = "Times New Roman";

// The row a predicate picks; every role and name the program asks for has one.
template <typename Picks> constexpr const ControlLayout& findControl(Picks picks)
{
    const auto* found = std::find_if(kControls.begin(), kControls.end(), picks);
    if (found == kControls.end())
#if defined(__cpp_exceptions)
        throw "no such control"; // in a constant expression: a compile error, never a crash
#else
        std::abort(); // the same where a build has no exceptions (WebAssembly)
#endif
    return *found;
}

// The row of the control named so. Only in a constant expression: a mistyped name does not
// compile.
consteval const ControlLayout& control(std::string_view name)
{
    return findControl([name](const ControlLayout& c) { return name == c.name; });
}

// The rows by what a control is for.
constexpr const ControlLayout& control(TextBox box)
{
    return findControl([box](const ControlLayout& c) { return c.textBox == box; });
}
constexpr const ControlLayout& control(ScrollBar bar)
{
    return findControl([bar](const ControlLayout& c) { return c.scrollBar == bar; });
}
constexpr const ControlLayout& control(Picture picture)
{
    return findControl([picture](const ControlLayout& c) { return c.picture == picture; });
}
// The button a click event belongs to.
constexpr const ControlLayout& control(Event click)
{
    return findControl([click](const ControlLayout& c) { return c.click == click; });
}

template <typename Role> constexpr const char* controlName(Role role)
{
    return control(role).name;
}

// The oscilloscope screen's side in logical pixels at a zoom (it is square): 441 at 100 %.
constexpr int screenSide(double zoom = 1)
{
    return pixels(control(Picture::Screen).width, zoom);
}

// What the boxes and the bars hold before anything is typed or moved, in the order of TextBox
// and of ScrollBar: the window and the control state (controlstate.h) start so.
inline std::array<std::string, 4> startTexts()
{
    std::array<std::string, 4> texts;
    for (const TextBox box :
         {TextBox::Numerator, TextBox::Denominator, TextBox::ClosingCount, TextBox::Hint})
        texts[static_cast<std::size_t>(box)] = control(box).caption;
    return texts;
}

constexpr std::array<std::int16_t, 4> startValues()
{
    std::array<std::int16_t, 4> values{};
    for (const ScrollBar bar :
         {ScrollBar::AmplitudeX, ScrollBar::PhaseX, ScrollBar::AmplitudeY, ScrollBar::PhaseY})
        values[static_cast<std::size_t>(bar)] = static_cast<std::int16_t>(control(bar).value);
    return values;
}

} // namespace korvelian
