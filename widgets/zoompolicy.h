#pragma once

#include "form/zoomsteps.h"

#include <QFont>
#include <QSize>

namespace korvelian {

// The window's zoom in whole percent: 100 to 300, in steps of 25 from the keyboard and the
// menu, to the percent when the frame is dragged or the window fills a screen. Only a screen too
// small for the window at 100 % (a laptop's at twice the scale) takes it lower, down to 50.
class ZoomPolicy
{
public:
    static constexpr int kSmallest = kZoomSmallest;
    static constexpr int kLargest = kZoomLargest;
    static constexpr int kStep = kZoomStep;
    static constexpr int kSmallestToFit = 50;

    static int clamped(int percent);
    // The next step above or below, from any percent.
    static int larger(int percent);
    static int smaller(int percent);
    // The window's client size at a zoom.
    static QSize windowSize(int percent);
    // The largest zoom whose window fits into this size, below kSmallest only where that does
    // not fit.
    static int fitting(QSize available);
    // The zoom for a frame dragged to this size: the side that moved further decides, so a
    // drag of one edge scales as well as a drag of a corner.
    static int dragged(QSize size, int current);

    // A font as large as the zoom makes it, given in points or in pixels.
    static QFont zoomed(QFont font, double zoom);
};

} // namespace korvelian
