#include "screenvalues.h"

#include "bartexts.h"
#include "drawing.h"
#include "valuetext.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace korvelian {

namespace {

constexpr double kCapShare = 0.03;

struct Colours
{
    QColor text;
    QColor refused;
};

Colours colours(bool worksheet)
{
    // The screen's values in a warm light that stands apart from the white figure, the blue
    // axes and the reading aid's green; the refused ratio in the boxes' red, lightened for a
    // black ground.
    if (worksheet)
        return {Qt::black, QColor(176, 0, 0)};
    return {QColor(255, 232, 150), QColor(255, 140, 140)};
}

// Places the sizes one beneath the other from the room's top-left corner, along apart, and in
// a new column across to the right where the room ends; gives nothing when they do not fit.
std::optional<QList<QRectF>> flow(const QList<QSizeF>& sizes, const QRectF& room, double along,
                                  double across)
{
    QList<QRectF> rects;
    double x = room.left();
    double y = room.top();
    double column = 0;
    for (const QSizeF& size : sizes) {
        if (y + size.height() > room.bottom() && y > room.top()) {
            x += column + across;
            y = room.top();
            column = 0;
        }
        if (y + size.height() > room.bottom() || x + size.width() > room.right())
            return std::nullopt;
        rects << QRectF(QPointF(x, y), size);
        y += size.height() + along;
        column = std::max(column, size.width());
    }
    return rects;
}

QRectF transposed(const QRectF& r)
{
    return {r.y(), r.x(), r.height(), r.width()};
}

// The same side by side, as many in a row as fit.
std::optional<QList<QRectF>> pack(const QList<QSizeF>& sizes, const QRectF& room, double gap)
{
    QList<QSizeF> turned;
    for (const QSizeF& size : sizes)
        turned << size.transposed();
    auto rects = flow(turned, transposed(room), gap, 0);
    if (rects) {
        for (QRectF& r : *rects)
            r = transposed(r);
    }
    return rects;
}

} // namespace

struct ScreenValues::Line
{
    QString html;
    QFont font;
    QColor colour;
    QColor ground;
    std::unique_ptr<QTextDocument> document;
    QImage image; // on a raster device, at its device pixel ratio

    void draw(QPainter& painter, const QRectF& at)
    {
        const QPaintEngine* engine = painter.paintEngine();
        const qreal ratio = painter.device()->devicePixelRatioF();
        if (!engine || engine->type() != QPaintEngine::Raster) {
            render(painter, at);
            return;
        }
        const QSize pixels = (at.size() * ratio).toSize();
        if (image.size() != pixels || image.devicePixelRatio() != ratio) {
            image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::transparent);
            QPainter onImage(&image);
            onImage.setRenderHint(QPainter::Antialiasing, true);
            render(onImage, QRectF(QPointF(0, 0), at.size()));
        }
        painter.drawImage(at.topLeft(), image);
    }

    void render(QPainter& painter, const QRectF& at)
    {
        painter.fillRect(at, ground);
        paintRichText(painter, *document, at.topLeft() + QPointF(padding(), 0), colour);
    }

    // The ground reaches a little past the text, so that no graticule line touches a letter.
    double padding() const { return font.pixelSize() * 0.2; }
    QSizeF size() { return document->size() + QSizeF(2 * padding(), 0); }
};

ScreenValues::ScreenValues() = default;
ScreenValues::~ScreenValues() = default;

QStringList ScreenValues::lines(const Parameter& p, bool entryAccepted)
{
    QString ratio = QStringLiteral("%1 : %2 = %3 : %4")
                        .arg(indexed("f", "y"), indexed("f", "x"), germanNumber(p.numerator),
                             germanNumber(p.denominator));
    if (!entryAccepted)
        ratio += QStringLiteral(" (zuletzt angenommen)");
    QStringList result{
        ratio,
        QStringLiteral("%1 = %2 &nbsp; %3 = %4")
            .arg(indexed("A", "x"), germanNumber(p.amplitudeX, 'f', 2), indexed("φ", "x"),
                 degreesText(p.phaseX)),
        QStringLiteral("%1 = %2 &nbsp; %3 = %4")
            .arg(indexed("A", "y"), germanNumber(p.amplitudeY, 'f', 2), indexed("φ", "y"),
                 degreesText(p.phaseY)),
    };
    if (p.numerator != p.denominator)
        result << yOscillationPhaseLine(p.phaseY, p.numerator, p.denominator);
    return result;
}

QFont ScreenValues::font(double areaHeight)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    // Whole pixels: the letters are drawn on the pixel grid, so a cap height of 29,2 pixels
    // would show as 29.
    const double cap = std::ceil(kCapShare * areaHeight);
    int pixels = std::max(1, static_cast<int>(std::floor(cap / 0.75)));
    font.setPixelSize(pixels);
    while (QFontMetricsF(font).capHeight() < cap)
        font.setPixelSize(++pixels);
    return font;
}

ScreenValues::Layout ScreenValues::place(const QList<QSizeF>& sizes, const QRectF& area,
                                         const QRectF& box, double margin, const QRectF& taken)
{
    const QRectF inside = area.adjusted(margin, margin, -margin, -margin);
    const QRectF clear = box.adjusted(-margin, -margin, margin, margin);
    // The box stands in the middle of the screen: below it and to its right there is no more
    // room than above it and to its left, where a reader starts.
    QRectF above = inside;
    above.setBottom(clear.top());
    QRectF left = inside;
    left.setRight(clear.left());
    // What is taken leaves the largest part of a room beside it.
    for (QRectF* room : {&above, &left}) {
        if (!taken.intersects(*room))
            continue;
        const QRectF around = taken.adjusted(-margin, -margin, margin, margin);
        const std::array parts{QRectF(room->topLeft(), QPointF(around.left(), room->bottom())),
                               QRectF(QPointF(around.right(), room->top()), room->bottomRight()),
                               QRectF(room->topLeft(), QPointF(room->right(), around.top())),
                               QRectF(QPointF(room->left(), around.bottom()), room->bottomRight())};
        const auto size = [](const QRectF& r) {
            return r.isValid() ? r.width() * r.height() : 0.0;
        };
        *room =
            *std::max_element(parts.begin(), parts.end(),
                              [&](const QRectF& a, const QRectF& b) { return size(a) < size(b); });
    }
    const double gap = 2 * margin;
    for (auto rects :
         {flow(sizes, above, 0, gap), pack(sizes, above, gap), flow(sizes, left, 0, gap)}) {
        if (rects)
            return {*rects, false};
    }
    return {flow(sizes, inside.adjusted(0, 0, 1e9, 1e9), 0, gap).value_or(QList<QRectF>()), true};
}

void ScreenValues::paint(QPainter& painter, const PixelMapping& toPixels, const QRectF& area,
                         const Parameter& p, bool entryAccepted, const QColor& ground,
                         bool worksheet, const QRectF& taken)
{
    const QStringList texts = lines(p, entryAccepted);
    const QFont font = ScreenValues::font(area.height());
    const Colours colour = colours(worksheet);
    // Over the box the ground lets the figure show through, dimmed.
    QColor lineGround = ground;
    m_lines.resize(texts.size());
    QList<QSizeF> sizes;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        auto& line = m_lines[i];
        const QColor textColour = i == 0 && !entryAccepted ? colour.refused : colour.text;
        if (!line || line->html != texts[i] || line->font != font || line->colour != textColour) {
            line = std::make_unique<Line>();
            line->html = texts[i];
            line->font = font;
            line->colour = textColour;
            line->document = richText(texts[i], font);
        }
        sizes << line->size();
    }
    const QRectF box = QRectF(mapPoint(toPixels, -std::abs(p.amplitudeX), -std::abs(p.amplitudeY)),
                              mapPoint(toPixels, std::abs(p.amplitudeX), std::abs(p.amplitudeY)))
                           .normalized();
    const Layout layout = place(sizes, area, box, font.pixelSize() * 0.3, taken);
    if (layout.overBox)
        lineGround.setAlpha(200);
    painter.save();
    painter.setClipRect(area);
    for (qsizetype i = 0; i < layout.lines.size(); ++i) {
        Line& line = *m_lines[i];
        if (line.ground != lineGround) {
            line.ground = lineGround;
            line.image = QImage();
        }
        line.draw(painter, layout.lines[i]);
    }
    painter.restore();
}

} // namespace korvelian
