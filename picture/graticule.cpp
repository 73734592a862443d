#include "graticule.h"

#include "drawing.h"

#include <QPainter>
#include <QPainterPath>

namespace korvelian {

namespace {

// A tick reaches this share of the frame's height to each side of its axis.
constexpr double kTickReach = 0.01;

} // namespace

QColor graticuleColour(bool worksheet)
{
    // Dim enough beside the light-blue axes and the white figure that the eye goes past it;
    // on paper as light as the axes' grey is dark.
    return worksheet ? QColor(200, 200, 200) : QColor(72, 72, 96);
}

void paintGraticule(QPainter& painter, const UserFrame& frame, const PixelMapping& toPixels,
                    double lineWidth, bool worksheet)
{
    if (!frame.isSet())
        return;
    const double width = frame.x2 - frame.x1;
    const double height = frame.y2 - frame.y1;
    QPainterPath lines;
    // The frame's edges are the screen's own; the seven lines between them each way.
    for (int k = 1; k < kGraticuleDivisions; ++k) {
        const double x = frame.x1 + k * width / kGraticuleDivisions;
        const double y = frame.y1 + k * height / kGraticuleDivisions;
        lines.moveTo(mapPoint(toPixels, x, frame.y1));
        lines.lineTo(mapPoint(toPixels, x, frame.y2));
        lines.moveTo(mapPoint(toPixels, frame.x1, y));
        lines.lineTo(mapPoint(toPixels, frame.x2, y));
    }
    // The finer scale on the axes through the frame's centre.
    const double centreX = frame.x1 + width / 2;
    const double centreY = frame.y1 + height / 2;
    const int ticks = kGraticuleDivisions * kTicksPerDivision;
    for (int k = 1; k < ticks; ++k) {
        const double x = frame.x1 + k * width / ticks;
        const double y = frame.y1 + k * height / ticks;
        lines.moveTo(mapPoint(toPixels, x, centreY - kTickReach * height));
        lines.lineTo(mapPoint(toPixels, x, centreY + kTickReach * height));
        lines.moveTo(mapPoint(toPixels, centreX - kTickReach * width, y));
        lines.lineTo(mapPoint(toPixels, centreX + kTickReach * width, y));
    }
    painter.save();
    painter.setPen(QPen(graticuleColour(worksheet), lineWidth, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(lines);
    painter.restore();
}

} // namespace korvelian
