#pragma once

#include <cstdint>

namespace korvelian {

// 24-bit 0xRRGGBB.
using Colour = std::uint32_t;

constexpr Colour rgb(int red, int green, int blue)
{
    return (static_cast<Colour>(red & 0xff) << 16) | (static_cast<Colour>(green & 0xff) << 8) |
           static_cast<Colour>(blue & 0xff);
}

// A colour that lets what lies beneath show through: alpha 0 is clear, 65535 opaque, in the
// sixteen bits a painter keeps, so that a share of brightness is handed over unrounded.
struct Rgba
{
    Colour rgb = 0;
    int alpha = 0xffff;

    friend bool operator==(const Rgba& a, const Rgba& b) = default;
};

// An alpha of 0 to 255.
constexpr Rgba translucent(Colour colour, int alpha)
{
    return {colour, alpha * 0x101};
}

constexpr int red(Colour c)
{
    return static_cast<int>((c >> 16) & 0xff);
}
constexpr int green(Colour c)
{
    return static_cast<int>((c >> 8) & 0xff);
}
constexpr int blue(Colour c)
{
    return static_cast<int>(c & 0xff);
}

// Every colour the program shows, in one place: the screen's, and the worksheet's that
// copies, files and prints take (black on white, never a black page by default).
namespace palette {

inline constexpr Colour kBlack = rgb(0, 0, 0);
inline constexpr Colour kWhite = rgb(255, 255, 255);

// The oscilloscope: a black screen, light-blue axes, a white figure; the beam a yellow point
// whose projections are red markers in a yellow outline, joined to it by light-blue lines.
inline constexpr Colour kScreenGround = kBlack;
inline constexpr Colour kScreenForeground = kWhite;
inline constexpr Colour kAxes = rgb(150, 150, 255);
inline constexpr Colour kFigure = kWhite;
inline constexpr Colour kBeamPoint = rgb(255, 255, 0);
inline constexpr Colour kMarker = rgb(255, 0, 0);
inline constexpr Colour kDropLine = rgb(128, 128, 255);
// The speed bar's red and the light yellow behind what the program writes.
inline constexpr Colour kSpeedBar = rgb(255, 0, 0);
inline constexpr Colour kWrittenGround = rgb(255, 255, 192);

// Copies, files and prints in worksheet colours.
inline constexpr Colour kWorksheetGround = kWhite;
inline constexpr Colour kWorksheetAxes = rgb(128, 128, 128);
inline constexpr Colour kWorksheetFigure = kBlack;

// The figure beneath the beam's afterglow keeps this share of its colour, on white of its
// darkness; the trace itself is white on the screen, black on a worksheet.
inline constexpr double kDimmedShare = 0.35;

// The graticule: dim enough beside the light-blue axes and the white figure that the eye goes
// past it; on paper as light as the axes' grey is dark.
inline constexpr Colour kGraticule = rgb(72, 72, 96);
// In a lit room a projector's dark greys come out as its black: there the graticule is drawn
// brighter, still below the axes' light blue.
inline constexpr Colour kBrightGraticule = rgb(128, 128, 168);
inline constexpr Colour kWorksheetGraticule = rgb(200, 200, 200);

// The values: a warm light that stands apart from the white figure, the blue axes and the
// reading aid's green; the refused ratio in the boxes' red, lightened for a black ground.
inline constexpr Colour kValues = rgb(255, 232, 150);
inline constexpr Colour kValuesRefused = rgb(255, 140, 140);
inline constexpr Colour kWorksheetValues = kBlack;
inline constexpr Colour kWorksheetValuesRefused = rgb(176, 0, 0);

// The reading aid: green stands apart from the white figure, the blue axes and the yellow and
// red beam; on a worksheet a darker green stands apart from the black figure and grey axes.
inline constexpr Colour kAidMark = rgb(0, 230, 118);
inline constexpr Rgba kAidLegendGround = translucent(kBlack, 190);
inline constexpr Colour kAidLegendText = kAidMark;
inline constexpr Colour kWorksheetAidMark = rgb(0, 128, 64);
inline constexpr Rgba kWorksheetAidLegendGround = translucent(kWhite, 220);
inline constexpr Colour kWorksheetAidLegendText = kBlack;

// The overview plate's texts.
inline constexpr Colour kPlateText = rgb(224, 224, 224);

// The time signals in the screen's colours: its axes, figure, drop lines, beam point and
// markers, with light grey text; on a worksheet black on white with darker marks.
inline constexpr Colour kSignalText = rgb(220, 220, 220);
inline constexpr Colour kWorksheetSignalCursor = rgb(0, 0, 160);
inline constexpr Colour kWorksheetSignalPoint = rgb(200, 160, 0);
inline constexpr Colour kWorksheetSignalMarker = rgb(200, 0, 0);

} // namespace palette

// The beam point and the markers are squares of this many twips, 8.8 pixels at 100 %.
inline constexpr int kMarkerTwips = 132;

} // namespace korvelian
