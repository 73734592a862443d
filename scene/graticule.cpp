#include "graticule.h"

namespace korvelian {

namespace {

// A tick reaches this share of the frame's height to each side of its axis.
constexpr double kTickReach = 0.01;

void stroke(item::Path& path, PointF from, PointF to)
{
    path.steps.push_back({true, from});
    path.steps.push_back({false, to});
}

} // namespace

Colour graticuleColour(bool worksheet, bool bright)
{
    if (worksheet)
        return palette::kWorksheetGraticule;
    return bright ? palette::kBrightGraticule : palette::kGraticule;
}

void describeGraticule(Scene& scene, const UserFrame& frame, const PixelMapping& toPixels,
                       double lineWidth, bool worksheet, bool bright)
{
    if (!frame.isSet())
        return;
    const double width = frame.x2 - frame.x1;
    const double height = frame.y2 - frame.y1;
    item::Path lines;
    // The frame's edges are the screen's own; the seven lines between them each way.
    for (int k = 1; k < kGraticuleDivisions; ++k) {
        const double x = frame.x1 + k * width / kGraticuleDivisions;
        const double y = frame.y1 + k * height / kGraticuleDivisions;
        stroke(lines, mapPoint(toPixels, x, frame.y1), mapPoint(toPixels, x, frame.y2));
        stroke(lines, mapPoint(toPixels, frame.x1, y), mapPoint(toPixels, frame.x2, y));
    }
    // The finer scale on the axes through the frame's centre.
    const double centreX = frame.x1 + width / 2;
    const double centreY = frame.y1 + height / 2;
    const int ticks = kGraticuleDivisions * kTicksPerDivision;
    for (int k = 1; k < ticks; ++k) {
        const double x = frame.x1 + k * width / ticks;
        const double y = frame.y1 + k * height / ticks;
        stroke(lines, mapPoint(toPixels, x, centreY - kTickReach * height),
               mapPoint(toPixels, x, centreY + kTickReach * height));
        stroke(lines, mapPoint(toPixels, centreX - kTickReach * width, y),
               mapPoint(toPixels, centreX + kTickReach * width, y));
    }
    scene.save();
    scene.pen(Pen{{graticuleColour(worksheet, bright)}, lineWidth, Cap::Flat});
    scene.noBrush();
    scene.add(std::move(lines));
    scene.restore();
}

} // namespace korvelian
