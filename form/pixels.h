#pragma once

namespace korvelian {

// The window is laid out in twips, 1/1440 inch: 15 make a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

// Twips to logical pixels at 96 dots per inch and the window's zoom, to the nearest pixel.
// Everything of the window scales by the zoom here and nowhere else.
constexpr int pixels(int twips, double zoom = 1)
{
    const double exact = twips * zoom / kTwipsPerPixel;
    return static_cast<int>(exact + (exact < 0 ? -0.5 : 0.5));
}

// How many device pixels wide a line is drawn: one at 100 %, whatever the device pixel ratio,
// so that a zoomed picture looks like the 100 % one enlarged.
constexpr int linePixels(double zoom)
{
    return zoom < 1.5 ? 1 : static_cast<int>(zoom + 0.5);
}

} // namespace korvelian
