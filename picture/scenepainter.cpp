#include "scenepainter.h"

#include "drawingrenderer.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>
#include <QTextOption>

#include <type_traits>

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
    static QHash<QString, QSizeF> known;
    const QString k = key(html, font, width, false);
    if (const auto found = known.constFind(k); found != known.constEnd())
        return {found->width(), found->height()};
    const QSizeF size = layOut(html, font, width, false)->size();
    if (known.size() >= kKept)
        known.clear();
    known.insert(k, size);
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

ScenePainter::ScenePainter() = default;
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
        drawText(onto, document(label.html, label.font, -1, false),
                 box.topLeft() + QPointF(label.padding, 0), toQColor(label.colour));
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
        key(label.html, label.font, label.padding, false) + QStringLiteral("|%1|%2|%3|%4|%5|%6")
                                                                .arg(label.colour)
                                                                .arg(label.ground.rgb)
                                                                .arg(label.ground.alpha)
                                                                .arg(pixels.width())
                                                                .arg(pixels.height())
                                                                .arg(ratio);
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

void ScenePainter::paint(QPainter& painter, const Scene& scene)
{
    for (const Item& it : scene.items()) {
        std::visit(
            [&](const auto& i) {
                using T = std::decay_t<decltype(i)>;
                if constexpr (std::is_same_v<T, item::Save>) {
                    painter.save();
                } else if constexpr (std::is_same_v<T, item::Restore>) {
                    painter.restore();
                } else if constexpr (std::is_same_v<T, item::Clip>) {
                    painter.setClipRect(toQt(i.rect));
                } else if constexpr (std::is_same_v<T, item::Antialias>) {
                    painter.setRenderHint(QPainter::Antialiasing, i.on);
                } else if constexpr (std::is_same_v<T, item::TextAntialias>) {
                    painter.setRenderHint(QPainter::TextAntialiasing, i.on);
                } else if constexpr (std::is_same_v<T, item::Translate>) {
                    painter.translate(toQt(i.by));
                } else if constexpr (std::is_same_v<T, item::Scale>) {
                    painter.scale(i.x, i.y);
                } else if constexpr (std::is_same_v<T, item::SetPen>) {
                    if (i.pen)
                        painter.setPen(toQPen(*i.pen));
                    else
                        painter.setPen(Qt::NoPen);
                } else if constexpr (std::is_same_v<T, item::SetBrush>) {
                    if (i.colour)
                        painter.setBrush(toQColor(*i.colour));
                    else
                        painter.setBrush(Qt::NoBrush);
                } else if constexpr (std::is_same_v<T, item::SetFont>) {
                    painter.setFont(toQFont(i.font));
                } else if constexpr (std::is_same_v<T, item::Line>) {
                    painter.drawLine(QLineF(toQt(i.from), toQt(i.to)));
                } else if constexpr (std::is_same_v<T, item::Lines>) {
                    QList<QLineF> lines;
                    lines.reserve(static_cast<qsizetype>(i.ends.size() / 2));
                    for (std::size_t k = 0; k + 1 < i.ends.size(); k += 2)
                        lines.append(QLineF(toQt(i.ends[k]), toQt(i.ends[k + 1])));
                    painter.drawLines(lines);
                } else if constexpr (std::is_same_v<T, item::Points>) {
                    QList<QPointF> points;
                    points.reserve(static_cast<qsizetype>(i.points.size()));
                    for (const PointF& p : i.points)
                        points.append(toQt(p));
                    painter.drawPoints(points.data(), static_cast<int>(points.size()));
                } else if constexpr (std::is_same_v<T, item::Path>) {
                    if (i.stroke)
                        painter.strokePath(toPath(i), toQPen(*i.stroke));
                    else
                        painter.drawPath(toPath(i));
                } else if constexpr (std::is_same_v<T, item::Ellipse>) {
                    if (i.whole)
                        painter.drawEllipse(toQt(i.box).toRect());
                    else
                        painter.drawEllipse(toQt(i.box));
                } else if constexpr (std::is_same_v<T, item::Pie>) {
                    painter.drawPie(toQt(i.box), i.start, i.span);
                } else if constexpr (std::is_same_v<T, item::Polygon>) {
                    painter.drawPolygon(toPolygon(i.corners));
                } else if constexpr (std::is_same_v<T, item::Rect>) {
                    if (i.whole)
                        painter.drawRect(toQt(i.box).toRect());
                    else
                        painter.drawRect(toQt(i.box));
                } else if constexpr (std::is_same_v<T, item::FillRect>) {
                    if (i.whole)
                        painter.fillRect(toQt(i.box).toRect(), toQColor(i.colour));
                    else
                        painter.fillRect(toQt(i.box), toQColor(i.colour));
                } else if constexpr (std::is_same_v<T, item::Text>) {
                    painter.drawText(toQt(i.box), i.alignment, QString::fromStdString(i.text));
                } else if constexpr (std::is_same_v<T, item::RichText>) {
                    QTextDocument& text = document(i.html, i.font, i.width, i.centred);
                    if (i.ownState)
                        drawText(painter, text, toQt(i.at), toQColor(i.colour));
                    else
                        drawText(painter, text, toQColor(i.colour));
                } else if constexpr (std::is_same_v<T, item::Label>) {
                    paintLabel(painter, i);
                } else if constexpr (std::is_same_v<T, item::Drawing>) {
                    const RenderStyle style{i.zoom, i.worksheet, i.yUp, false};
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
            },
            it);
    }
}

} // namespace korvelian
