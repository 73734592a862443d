#include "scenepainter.h"

#include "drawingrenderer.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>
#include <QTextOption>

namespace korvelian {

namespace {

// More distinct texts than a picture holds; past it the oldest are laid out again.
constexpr qsizetype kKept = 256;

QString key(const std::string& html, const Font& font, double width, bool centred)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(QString::fromStdString(font.family))
        .arg(font.sansSerif)
        .arg(font.pixelSize)
        .arg(width)
        .arg(centred)
        .arg(QString::fromStdString(html));
}

std::unique_ptr<QTextDocument> layOut(const std::string& html, const Font& font, double width,
                                      bool centred)
{
    auto text = std::make_unique<QTextDocument>();
    text->setDocumentMargin(0);
    text->setDefaultFont(toQFont(font));
    text->setTextWidth(width);
    text->setHtml(QString::fromStdString(html));
    if (centred) {
        QTextOption option = text->defaultTextOption();
        option.setAlignment(Qt::AlignHCenter);
        text->setDefaultTextOption(option);
    }
    return text;
}

void drawText(QPainter& painter, QTextDocument& text, const QColor& colour)
{
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, colour);
    text.documentLayout()->draw(&painter, context);
}

void drawText(QPainter& painter, QTextDocument& text, const QPointF& at, const QColor& colour)
{
    painter.save();
    painter.translate(at);
    drawText(painter, text, colour);
    painter.restore();
}

QPen toQPen(const Pen& p)
{
    static constexpr Qt::PenCapStyle caps[] = {Qt::FlatCap, Qt::SquareCap, Qt::RoundCap};
    static constexpr Qt::PenJoinStyle joins[] = {Qt::MiterJoin, Qt::BevelJoin, Qt::RoundJoin};
    static constexpr Qt::PenStyle dashes[] = {Qt::SolidLine, Qt::DotLine, Qt::DashLine};
    QPen pen(toQColor(p.colour), p.width, dashes[static_cast<int>(p.dash)],
             caps[static_cast<int>(p.cap)], joins[static_cast<int>(p.join)]);
    pen.setCosmetic(p.cosmetic);
    return pen;
}

QPainterPath toPath(const item::Path& path)
{
    QPainterPath result;
    for (const item::Path::Step& step : path.steps) {
        if (step.move)
            result.moveTo(toQt(step.at));
        else
            result.lineTo(toQt(step.at));
    }
    return result;
}

QPolygonF toPolygon(const std::vector<PointF>& points)
{
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const PointF& p : points)
        polygon << toQt(p);
    return polygon;
}

} // namespace

QFont toQFont(const Font& font)
{
    QFont f = font.family.empty() ? QFont() : QFont(QString::fromStdString(font.family));
    if (font.sansSerif)
        f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(font.pixelSize);
    return f;
}

SizeF QtTextMetrics::richTextSize(const std::string& html, const Font& font, double width)
{
    const QString k = key(html, font, width, false);
    if (const auto found = m_known.constFind(k); found != m_known.constEnd())
        return {found->width(), found->height()};
    const QSizeF size = layOut(html, font, width, false)->size();
    if (m_known.size() >= kKept)
        m_known.clear();
    m_known.insert(k, size);
    return {size.width(), size.height()};
}

double QtTextMetrics::lineHeight(const Font& font)
{
    return QFontMetricsF(toQFont(font)).height();
}

double QtTextMetrics::advance(const Font& font, const std::string& text)
{
    return QFontMetricsF(toQFont(font)).horizontalAdvance(QString::fromStdString(text));
}

double QtTextMetrics::capHeight(const Font& font)
{
    return QFontMetricsF(toQFont(font)).capHeight();
}

TextMetrics& qtTextMetrics()
{
    static QtTextMetrics metrics;
    return metrics;
}

ScenePainter::ScenePainter(Repeats repeats) : m_repeats(repeats) {}
ScenePainter::~ScenePainter() = default;

QTextDocument& ScenePainter::document(const std::string& html, const Font& font, double width,
                                      bool centred)
{
    const QString k = key(html, font, width, centred);
    if (const auto found = m_documents.constFind(k); found != m_documents.constEnd())
        return **found;
    if (m_documents.size() >= kKept)
        m_documents.clear();
    return **m_documents.insert(k,
                                std::shared_ptr<QTextDocument>(layOut(html, font, width, centred)));
}

void ScenePainter::paintLabel(QPainter& painter, const item::Label& label)
{
    const QRectF at = toQt(label.box);
    const auto render = [&](QPainter& onto, const QRectF& box) {
        onto.fillRect(box, toQColor(label.ground));
        QTextDocument& text = document(label.html, label.font, -1, false);
        const QPointF origin = box.topLeft() + QPointF(label.padding, 0);
        if (label.halo) {
            // The letters in the halo's colour around their place, then on top.
            const double w = label.haloWidth;
            for (const QPointF by :
                 {QPointF(-w, -w), QPointF(0, -w), QPointF(w, -w), QPointF(-w, 0), QPointF(w, 0),
                  QPointF(-w, w), QPointF(0, w), QPointF(w, w)})
                drawText(onto, text, origin + by, toQColor(*label.halo));
        }
        drawText(onto, text, origin, toQColor(label.colour));
    };
    // On pixels a label is drawn once into an image of its own and copied from there: the
    // screen paints its values again in every frame of the animation.
    const QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster) {
        render(painter, at);
        return;
    }
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QSize pixels = (at.size() * ratio).toSize();
    const QString k =
        key(label.html, label.font, label.padding, false) +
        QStringLiteral("|%1|%2|%3|%4|%5|%6")
            .arg(label.colour)
            .arg(label.ground.rgb)
            .arg(label.ground.alpha)
            .arg(pixels.width())
            .arg(pixels.height())
            .arg(ratio) +
        (label.halo ? QStringLiteral("|%1|%2").arg(*label.halo).arg(label.haloWidth) : QString());
    auto found = m_labels.find(k);
    if (found == m_labels.end()) {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter onImage(&image);
        onImage.setRenderHint(QPainter::Antialiasing, true);
        render(onImage, QRectF(QPointF(0, 0), at.size()));
        onImage.end();
        if (m_labels.size() >= kKept)
            m_labels.clear();
        found = m_labels.insert(k, image);
    }
    painter.drawImage(at.topLeft(), *found);
}

// One item after another, each with the painter call it stands for.
struct ScenePainter::Visitor
{
    ScenePainter& self;
    QPainter& painter;

    void operator()(const item::Save&) { painter.save(); }
    void operator()(const item::Restore&) { painter.restore(); }
    void operator()(const item::Clip& i) { painter.setClipRect(toQt(i.rect)); }
    void operator()(const item::Antialias& i)
    {
        painter.setRenderHint(QPainter::Antialiasing, i.on);
    }
    void operator()(const item::TextAntialias& i)
    {
        painter.setRenderHint(QPainter::TextAntialiasing, i.on);
    }
    void operator()(const item::Translate& i) { painter.translate(toQt(i.by)); }
    void operator()(const item::Scale& i) { painter.scale(i.x, i.y); }
    void operator()(const item::SetPen& i)
    {
        if (i.pen)
            painter.setPen(toQPen(*i.pen));
        else
            painter.setPen(Qt::NoPen);
    }
    void operator()(const item::SetBrush& i)
    {
        if (i.colour)
            painter.setBrush(toQColor(*i.colour));
        else
            painter.setBrush(Qt::NoBrush);
    }
    void operator()(const item::SetFont& i) { painter.setFont(toQFont(i.font)); }
    void operator()(const item::Line& i) { painter.drawLine(QLineF(toQt(i.from), toQt(i.to))); }
    void operator()(const item::Lines& i)
    {
        QList<QLineF> lines;
        lines.reserve(static_cast<qsizetype>(i.ends.size() / 2));
        for (std::size_t k = 0; k + 1 < i.ends.size(); k += 2)
            lines.append(QLineF(toQt(i.ends[k]), toQt(i.ends[k + 1])));
        painter.drawLines(lines);
    }
    void operator()(const item::Points& i)
    {
        const QPolygonF points = toPolygon(i.points);
        painter.drawPoints(points.data(), static_cast<int>(points.size()));
    }
    void operator()(const item::Path& i)
    {
        if (i.stroke)
            painter.strokePath(toPath(i), toQPen(*i.stroke));
        else
            painter.drawPath(toPath(i));
    }
    void operator()(const item::Ellipse& i)
    {
        if (i.whole)
            painter.drawEllipse(toQt(i.box).toRect());
        else
            painter.drawEllipse(toQt(i.box));
    }
    void operator()(const item::Pie& i) { painter.drawPie(toQt(i.box), i.start, i.span); }
    void operator()(const item::Polygon& i) { painter.drawPolygon(toPolygon(i.corners)); }
    void operator()(const item::Rect& i)
    {
        if (i.whole)
            painter.drawRect(toQt(i.box).toRect());
        else
            painter.drawRect(toQt(i.box));
    }
    void operator()(const item::FillRect& i)
    {
        if (i.whole)
            painter.fillRect(toQt(i.box).toRect(), toQColor(i.colour));
        else
            painter.fillRect(toQt(i.box), toQColor(i.colour));
    }
    void operator()(const item::Text& i)
    {
        painter.drawText(toQt(i.box), i.alignment, QString::fromStdString(i.text));
    }
    void operator()(const item::RichText& i)
    {
        QTextDocument& text = self.document(i.html, i.font, i.width, i.centred);
        if (i.ownState)
            drawText(painter, text, toQt(i.at), toQColor(i.colour));
        else
            drawText(painter, text, toQColor(i.colour));
    }
    void operator()(const item::Label& i) { self.paintLabel(painter, i); }
    void operator()(const item::Drawing& i)
    {
        const RenderStyle style{i.zoom, i.worksheet, i.yUp, false, i.fine};
        const QRectF box = toQt(i.box);
        if (i.vector) {
            paintVector(painter, i.ops, box, style);
            return;
        }
        QImage cell(box.size().toSize(), QImage::Format_RGB32);
        cell.fill(toQColor(i.ground));
        DrawingRenderer renderer;
        renderer.render(cell, QSizeF(cell.size()), i.ops, style);
        painter.drawImage(box.topLeft(), cell);
    }
};

void ScenePainter::paint(QPainter& painter, const Scene& scene)
{
    Visitor visitor{*this, painter};
    const std::vector<Item>& items = scene.items();
    for (std::size_t i = 0; i < items.size();) {
        const std::size_t stamped = m_repeats == Repeats::Stamp ? stampRun(painter, items, i) : 0;
        if (stamped > 0) {
            i += stamped;
            continue;
        }
        std::visit(visitor, items[i]);
        ++i;
    }
}

std::size_t ScenePainter::stampRun(QPainter& painter, const std::vector<Item>& items,
                                   std::size_t from)
{
    // Fewer are drawn one by one, exactly as everywhere else.
    constexpr std::size_t kLeast = 128;
    const auto* first = std::get_if<item::Ellipse>(&items[from]);
    if (!first || first->whole || !EllipseStamps::suits(painter))
        return 0;
    const QSizeF size = toQt(first->box).size();
    std::vector<QPointF>& corners = m_corners;
    corners.clear();
    std::size_t end = from;
    // The pen and brush set again between the marks, as they are, change nothing.
    for (; end < items.size(); ++end) {
        const Item& it = items[end];
        if (const auto* e = std::get_if<item::Ellipse>(&it)) {
            if (e->whole || toQt(e->box).size() != size)
                break;
            corners.push_back(toQt(e->box.topLeft()));
        } else if (const auto* pen = std::get_if<item::SetPen>(&it)) {
            if (!pen->pen || toQPen(*pen->pen) != painter.pen())
                break;
        } else if (const auto* brush = std::get_if<item::SetBrush>(&it)) {
            if (brush->colour)
                break;
        } else {
            break;
        }
    }
    if (corners.size() < kLeast)
        return 0;
    m_stamps.paint(painter, size, corners);
    return end - from;
}

} // namespace korvelian
