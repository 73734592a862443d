#include "readingaid.h"

#include "bartexts.h"
#include "model/barvalues.h"
#include "model/constants.h"
#include "drawingrenderer.h"
#include "model/figurereading.h"
#include "form/layout.h"

#include <QAbstractTextDocumentLayout>
#include <QHash>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

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

enum class Mark { Touch, TouchEnd, Crossing, Top };

struct AidSize
{
    double zoom;
    double lineWidth;

    double radius() const { return 4 * zoom; }
    // How far a mark reaches from its point, its line included.
    double reach() const { return radius() + lineWidth; }
};

// The sign a legend line starts with, drawn as the mark it explains.
QString sign(Mark kind)
{
    switch (kind) {
    case Mark::Touch:
        return QStringLiteral("○");
    case Mark::TouchEnd:
        return QStringLiteral("◐");
    case Mark::Crossing:
        return QStringLiteral("◇");
    case Mark::Top:
        return QStringLiteral("△");
    }
    return {};
}

void mark(QPainter& painter, QPointF at, Mark kind, const QRectF& area, const AidSize& size,
          const QColor& colour)
{
    // Moved in from the picture's edge until it is whole.
    const double reach = size.reach();
    at.setX(std::clamp(at.x(), area.left() + reach,
                       std::max(area.left() + reach, area.right() - reach)));
    at.setY(std::clamp(at.y(), area.top() + reach,
                       std::max(area.top() + reach, area.bottom() - reach)));
    const double r = size.radius();
    painter.setPen(QPen(colour, size.lineWidth));
    painter.setBrush(Qt::NoBrush);
    switch (kind) {
    case Mark::Touch:
        painter.drawEllipse(at, r, r);
        break;
    case Mark::TouchEnd:
        painter.drawEllipse(at, r, r);
        painter.setBrush(colour);
        painter.drawPie(QRectF(at - QPointF(r, r), QSizeF(2 * r, 2 * r)), 90 * 16, 180 * 16);
        break;
    case Mark::Crossing:
        painter.drawPolygon(QPolygonF(
            {at + QPointF(0, -r), at + QPointF(r, 0), at + QPointF(0, r), at + QPointF(-r, 0)}));
        break;
    case Mark::Top:
        painter.drawPolygon(
            QPolygonF({at + QPointF(0, -r), at + QPointF(r, 0.8 * r), at + QPointF(-r, 0.8 * r)}));
        break;
    }
}

// The legend's lines laid out as one text, width pixels wide, at the picture's zoom.
void layOut(QTextDocument& text, const QStringList& lines, double width, double zoom)
{
    QFont font;
    font.setPixelSize(static_cast<int>(std::lround(12 * zoom)));
    text.setDefaultFont(font);
    text.setDocumentMargin(0);
    text.setHtml(QStringLiteral("<div>") + lines.join(QStringLiteral("</div><div>")) +
                 QStringLiteral("</div>"));
    text.setTextWidth(width);
}

double margin(double zoom)
{
    return 4 * zoom;
}

// A box holding the legend: its text inside a margin on a ground of its own. The screen asks
// at every paint, a running beam's frames included, for the same few widths: laying the text
// out once for each is enough.
double boxHeight(const QStringList& lines, double width, double zoom)
{
    static QHash<QString, double> known;
    const QString key = QStringLiteral("%1|%2|%3").arg(width).arg(zoom).arg(lines.join('\n'));
    if (const auto found = known.constFind(key); found != known.constEnd())
        return *found;
    QTextDocument text;
    layOut(text, lines, width - 2 * margin(zoom), zoom);
    const double height = text.size().height() + 2 * margin(zoom);
    constexpr qsizetype kKept = 64;
    if (known.size() >= kKept)
        known.clear();
    known.insert(key, height);
    return height;
}

void paintBox(QPainter& painter, const QRectF& box, const QStringList& lines, double zoom,
              const AidColours& colours)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.legendGround);
    painter.drawRect(box);
    QTextDocument text;
    layOut(text, lines, box.width() - 2 * margin(zoom), zoom);
    painter.translate(box.topLeft() + QPointF(margin(zoom), margin(zoom)));
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, colours.legendText);
    text.documentLayout()->draw(&painter, context);
    painter.restore();
}

} // namespace

QStringList readingAidLegend(const Parameter& p, bool entryAccepted, bool yUp)
{
    QStringList lines;
    const auto line = [&lines](Mark kind, const std::string& text) {
        lines << sign(kind) + QStringLiteral(" ") + QString::fromStdString(text);
    };
    const TouchReading touch = readTouchPoints(p, entryAccepted, yUp);
    if (touch.refusal.empty()) {
        line(Mark::Touch, touch.legend);
        if (!touch.note.empty())
            line(Mark::TouchEnd, touch.note);
    } else {
        lines << QString::fromStdString(touch.refusal);
    }
    const PhaseReading phase = readPhase(p, entryAccepted, yUp);
    if (phase.refusal.empty()) {
        lines << sign(Mark::Crossing) + QStringLiteral(" ±<i>y</i><sub>0</sub>, ") +
                     sign(Mark::Top) + QStringLiteral(" <i>y</i><sub>max</sub>: ") +
                     QString::fromStdString(phase.legend);
        if (!phase.note.empty())
            lines << QString::fromStdString(phase.note);
    } else if (phase.refusal != touch.refusal) {
        lines << QString::fromStdString(phase.refusal);
    }
    // What the y phase bar sets is not the y oscillation's own phase unless Z = N.
    if (p.numerator != p.denominator)
        lines << barText(control("hscPhase"), barValue(p.phaseY), p.numerator, p.denominator);
    return lines;
}

std::optional<QRectF> legendPlace(const QStringList& lines, const QRectF& area,
                                  const PixelMapping& toPixels, const Parameter& p, double zoom)
{
    // A mark reaches its radius and a line's width at the zoom beyond the figure's box.
    const double reach = AidSize{zoom, zoom}.reach();
    const QRectF figure = QRectF(mapPoint(toPixels, -p.amplitudeX, -p.amplitudeY),
                                 mapPoint(toPixels, p.amplitudeX, p.amplitudeY))
                              .normalized()
                              .adjusted(-reach, -reach, reach, reach);
    const double m = margin(zoom);
    // Below the figure first, where the legend has always been, then above, right and left.
    const std::array<QRectF, 4> bands = {
        QRectF(QPointF(area.left(), figure.bottom()), area.bottomRight()),
        QRectF(area.topLeft(), QPointF(area.right(), figure.top())),
        QRectF(QPointF(figure.right(), area.top()), area.bottomRight()),
        QRectF(area.topLeft(), QPointF(figure.left(), area.bottom())),
    };
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const QRectF band = bands[i].intersected(area);
        const double width = band.width() - 2 * m;
        // Narrower, it would be a column of single words.
        if (width < 80 * zoom)
            continue;
        const double height = boxHeight(lines, width, zoom);
        if (height + 2 * m > band.height())
            continue;
        const double top = i == 1 ? band.top() + m : band.bottom() - m - height;
        return QRectF(band.left() + m, top, width, height);
    }
    return std::nullopt;
}

bool paintReadingAid(QPainter& painter, const PixelMapping& toPixels, const QRectF& area,
                     const Parameter& p, bool entryAccepted, double zoom, double lineWidth,
                     bool worksheet)
{
    const AidSize size{zoom, lineWidth};
    const AidColours colours = aidColours(worksheet);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setClipRect(area);
    // The mapping says which way the frame's y is shown, and so which edge is on top.
    const bool yUp = toPixels.scaleY < 0;
    const auto put = [&](Mark kind, double x, double y) {
        mark(painter, mapPoint(toPixels, x, y), kind, area, size, colours.mark);
    };

    const TouchReading touch = readTouchPoints(p, entryAccepted, yUp);
    if (touch.refusal.empty()) {
        const double top = yUp ? p.amplitudeY : -p.amplitudeY;
        for (const TouchPoint& point : touch.top)
            put(point.end ? Mark::TouchEnd : Mark::Touch, point.position, top);
        for (const TouchPoint& point : touch.right)
            put(point.end ? Mark::TouchEnd : Mark::Touch, p.amplitudeX, point.position);
    }
    const PhaseReading phase = readPhase(p, entryAccepted, yUp);
    if (phase.refusal.empty()) {
        for (const Point& crossing : phase.crossings)
            put(Mark::Crossing, crossing.x, crossing.y);
        put(Mark::Top, phase.highest.x, phase.highest.y);
    }
    const QStringList lines = readingAidLegend(p, entryAccepted, yUp);
    const std::optional<QRectF> place = legendPlace(lines, area, toPixels, p, zoom);
    if (place)
        paintBox(painter, *place, lines, zoom, colours);
    painter.restore();
    return place.has_value();
}

double legendBandHeight(const QStringList& lines, double width, double zoom)
{
    return boxHeight(lines, width - 2 * margin(zoom), zoom) + 2 * margin(zoom);
}

void paintLegendBand(QPainter& painter, const QRectF& band, const QStringList& lines, double zoom,
                     bool worksheet)
{
    const double m = margin(zoom);
    paintBox(painter, band.adjusted(m, m, -m, -m), lines, zoom, aidColours(worksheet));
}

QImage readingAidExample(const Parameter& p, double kgv, int side, bool yUp)
{
    const QImage picture = examplePicture(p, kgv, side, {1, false, yUp});
    const PixelMapping m = pixelMapping(kExampleFrame, QSizeF(picture.size()), 1, yUp);
    const QStringList lines = readingAidLegend(p, true, yUp);
    const bool beside = legendPlace(lines, QRectF(picture.rect()), m, p, 1).has_value();
    const double band = beside ? 0 : legendBandHeight(lines, side, 1);
    QImage image(side, side + static_cast<int>(std::ceil(band)), picture.format());
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.drawImage(0, 0, picture);
    paintReadingAid(painter, m, QRectF(picture.rect()), p, true, 1, 1, false);
    if (!beside)
        paintLegendBand(painter, QRectF(0, side, side, band), lines, 1, false);
    return image;
}

} // namespace korvelian
