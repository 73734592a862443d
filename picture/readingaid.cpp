#include "readingaid.h"

#include "bartexts.h"
#include "barvalues.h"
#include "constants.h"
#include "drawingrenderer.h"
#include "figurereading.h"
#include "layout.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>
#include <string>
#include <vector>

namespace korvelian {

namespace {

// Green stands apart from the white figure, the blue axes and the yellow and red beam; on a
// worksheet a darker green stands apart from the black figure and the grey axes.
struct AidColours
{
    QColor mark;
    QColor legendGround;
    QColor legendText;
};

AidColours aidColours(bool worksheet)
{
    if (worksheet)
        return {QColor(0, 128, 64), QColor(255, 255, 255, 220), Qt::black};
    return {QColor(0, 230, 118), QColor(0, 0, 0, 190), QColor(0, 230, 118)};
}

QPointF map(const PixelMapping& m, double x, double y)
{
    return {x * m.scaleX + m.offsetX, y * m.scaleY + m.offsetY};
}

// A ring for a point that counts whole, a half-filled ring for the end of an open figure.
struct AidSize
{
    double zoom;
    double lineWidth;
};

void mark(QPainter& painter, QPointF at, bool half, const AidSize& size, const QColor& colour)
{
    const double radius = 4 * size.zoom;
    painter.setPen(QPen(colour, size.lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, radius, radius);
    if (half) {
        painter.setBrush(colour);
        painter.drawPie(QRectF(at - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)),
                        90 * 16, 180 * 16);
    }
}

void legend(QPainter& painter, const QRectF& area, const std::vector<std::string>& lines,
            double scale, const AidColours& colours)
{
    QFont font = painter.font();
    font.setPixelSize(static_cast<int>(std::lround(12 * scale)));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const double margin = 4 * scale;
    const double lineHeight = metrics.height();
    const double width = area.width() - 2 * margin;
    QStringList texts;
    double height = margin;
    for (const std::string& line : lines) {
        const QString text = QString::fromStdString(line);
        texts << text;
        height +=
            metrics.boundingRect(QRectF(0, 0, width - 2 * margin, 1e6), Qt::TextWordWrap, text)
                .height();
    }
    height += margin;
    const QRectF box(area.left() + margin, area.bottom() - margin - height, width, height);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.legendGround);
    painter.drawRect(box);
    painter.setPen(colours.legendText);
    double y = box.top() + margin;
    for (const QString& text : texts) {
        const QRectF line(box.left() + margin, y, box.width() - 2 * margin, 1e6);
        const QRectF used = painter.boundingRect(line, Qt::TextWordWrap, text);
        painter.drawText(line, Qt::TextWordWrap, text);
        y += std::max(used.height(), lineHeight);
    }
}

} // namespace

void paintReadingAid(QPainter& painter, const PixelMapping& toPixels, const QRectF& area,
                     const Parameter& p, bool entryAccepted, double zoom, double lineWidth,
                     bool worksheet)
{
    const AidSize size{zoom, lineWidth};
    const AidColours colours = aidColours(worksheet);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setClipRect(area);
    std::vector<std::string> lines;
    // The mapping says which way the frame's y is shown, and so which edge is on top.
    const bool yUp = toPixels.scaleY < 0;

    const TouchReading touch = readTouchPoints(p, entryAccepted, yUp);
    if (touch.refusal.empty()) {
        const double top = yUp ? p.a2 : -p.a2;
        for (const TouchPoint& point : touch.top)
            mark(painter, map(toPixels, point.position, top), point.end, size, colours.mark);
        for (const TouchPoint& point : touch.right)
            mark(painter, map(toPixels, p.a1, point.position), point.end, size, colours.mark);
        lines.push_back(touch.legend);
        if (!touch.note.empty())
            lines.push_back(touch.note);
    } else {
        lines.push_back(touch.refusal);
    }

    const PhaseReading phase = readPhase(p, entryAccepted, yUp);
    if (phase.refusal.empty()) {
        for (const Point& crossing : phase.crossings)
            mark(painter, map(toPixels, crossing.x, crossing.y), false, size, colours.mark);
        mark(painter, map(toPixels, phase.highest.x, phase.highest.y), false, size, colours.mark);
        lines.push_back(phase.legend);
        if (!phase.note.empty())
            lines.push_back(phase.note);
    } else if (phase.refusal != touch.refusal) {
        lines.push_back(phase.refusal);
    }
    // What the y phase bar sets is not the y oscillation's own phase unless Z = N.
    if (p.z != p.n)
        lines.push_back(barText(control("hscPhase"), barValue(p.p2), p.z, p.n).toStdString());
    legend(painter, area, lines, zoom, colours);
    painter.restore();
}

QImage readingAidExample(const Parameter& p, double kgv, int side, bool yUp)
{
    QImage image = examplePicture(p, kgv, side, {1, false, yUp});
    QPainter painter(&image);
    paintReadingAid(painter, pixelMapping(kExampleFrame, QSizeF(image.size()), 1, yUp),
                    QRectF(image.rect()), p, true, 1, 1, false);
    return image;
}

} // namespace korvelian
