#include "tracepainter.h"

#include "model/constants.h"
#include "drawing.h"

#include <QPainter>

#include <array>
#include <cmath>

namespace korvelian {

namespace {

// Steps of brightness the trace is drawn in: more than the eye tells apart on a fading line.
constexpr int kTraceLevels = 32;

} // namespace

void paintTrace(QPainter& painter, const PixelMapping& toPixels, const AfterglowTrace& trace,
                double width, bool worksheet)
{
    const auto& points = trace.points();
    if (points.empty())
        return;
    // Pieces of like brightness go to the painter together: a dense figure leaves thousands
    // of them a second, one pen change and one call each would cost more than the frame.
    std::array<QList<QLineF>, kTraceLevels> lines;
    std::array<QList<QPointF>, kTraceLevels> dots;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TracePoint& point = points[i];
        const int level =
            static_cast<int>(std::lround(trace.brightness(point) * (kTraceLevels - 1)));
        if (level <= 0)
            continue;
        const QPointF at = mapPoint(toPixels, point.x, point.y);
        if (point.joined && i > 0)
            lines[level].append(QLineF(mapPoint(toPixels, points[i - 1].x, points[i - 1].y), at));
        else
            dots[level].append(at);
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QColor colour = worksheet ? QColor(Qt::black) : QColor(Qt::white);
    for (int level = 1; level < kTraceLevels; ++level) {
        colour.setAlphaF(static_cast<float>(level) / (kTraceLevels - 1));
        // A piece of one point, where the beam landed after a jump, is a square dot.
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap));
        painter.drawPoints(dots[level].data(), static_cast<int>(dots[level].size()));
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLines(lines[level]);
    }
    painter.restore();
}

} // namespace korvelian
