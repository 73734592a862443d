#include "overviewplate.h"

#include "model/constants.h"
#include "bartexts.h"
#include "drawingrenderer.h"
#include "graticule.h"
#include "model/kgv.h"
#include "form/layout.h"
#include "handlers/messages.h"
#include "valuetext.h"

#include <QPainter>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace korvelian {

namespace {

constexpr int kLargestRatio = 4;
constexpr int kPhaseDegrees[] = {0, 45, 90, 135, 180};
const QString kSeparator = QStringLiteral(" &nbsp;·&nbsp; ");

// The screen's width at 100 %: a cell this wide draws its lines one pixel wide, as the screen
// does.
const double kScreenWidth = pixels(control("picBildschirm").width);

QColor textColour(bool worksheet)
{
    return worksheet ? QColor(Qt::black) : QColor(224, 224, 224);
}

QColor ground(bool worksheet)
{
    return worksheet ? kWorksheetBackground : QColor(Qt::black);
}

QString ratioText(double z, double n)
{
    return QStringLiteral("%1 : %2").arg(germanNumber(z), germanNumber(n));
}

QString frequencies()
{
    return QStringLiteral("%1 : %2").arg(indexed("f", "y"), indexed("f", "x"));
}

QString amplitudes(const Parameter& p)
{
    return QStringLiteral("%1 = %2%3%4 = %5")
        .arg(indexed("A", "x"), germanNumber(p.amplitudeX, 'f', 2), kSeparator, indexed("A", "y"),
             germanNumber(p.amplitudeY, 'f', 2));
}

// The screen's drawing with the figure of p up to end; a screen without a figure lends the
// plotter's own picture.
Drawing cellDrawing(const Drawing& screen, const Parameter& p, double end)
{
    if (!lastFigure(screen))
        return screenDrawing(p, end);
    Drawing drawing = screen;
    for (DrawOp& op : drawing) {
        if (op.kind == DrawOp::Kind::Figure) {
            op.parameters = p;
            op.end = end;
        }
    }
    return drawing;
}

} // namespace

struct OverviewPlate::Geometry
{
    int width = 0;
    int height = 0;
    int side = 0;
    std::vector<QRect> cells;
    std::unique_ptr<QTextDocument> title;
    QPointF titleAt;
    std::vector<std::unique_ptr<QTextDocument>> labels;
    std::vector<QPointF> labelsAt;
    std::unique_ptr<QTextDocument> notes;
    QPointF notesAt;
};

OverviewPlate::OverviewPlate(Form form, const Drawing& screen, bool yUp, const Parameter& inUse,
                             bool entryAccepted)
    : m_yUp(yUp)
{
    // One cell: its parameters, or a note why its ratio is left out.
    const auto add = [&](const Parameter& p, const QString& label) {
        const ClosingCount count = closingCount(p.numerator, p.denominator);
        if (count.fault != RatioFault::None) {
            m_notes << QStringLiteral("%1 ausgelassen: %2")
                           .arg(ratioText(p.numerator, p.denominator),
                                QString::fromUtf8(count.fault == RatioFault::TooLarge
                                                      ? kRatioTooLarge
                                                      : kRatioDomain));
            return;
        }
        m_cells.push_back({cellDrawing(screen, p, loopEnd(count.value)), label});
    };
    if (form == Form::Ratios) {
        m_columns = kLargestRatio;
        m_title << QStringLiteral("Korvelian-Figuren %1 = Zähler : Nenner").arg(frequencies())
                << QStringLiteral("Zähler 1 bis %1 nach unten, Nenner 1 bis %1 nach rechts")
                       .arg(kLargestRatio)
                << amplitudes(inUse) + kSeparator +
                       QStringLiteral("%1 = %2%3%4 = %5")
                           .arg(indexed("φ", "x"), degreesText(inUse.phaseX), kSeparator,
                                indexed("φ", "y"), degreesText(inUse.phaseY));
        // The bar's phase shifts the time before the frequency factor acts, so each cell's y
        // oscillation has a phase of its own.
        if (inUse.phaseY != 0)
            m_title << QStringLiteral("Phase der y-Schwingung in jedem Feld: %1 · Zähler : Nenner")
                           .arg(indexed("φ", "y"));
        for (int z = 1; z <= kLargestRatio; ++z) {
            for (int n = 1; n <= kLargestRatio; ++n) {
                Parameter p = inUse;
                p.numerator = z;
                p.denominator = n;
                add(p, ratioText(z, n));
            }
        }
        return;
    }
    m_columns = static_cast<int>(std::size(kPhaseDegrees));
    QString ratio = QStringLiteral("Korvelian-Figuren %1 = %2")
                        .arg(frequencies(), ratioText(inUse.numerator, inUse.denominator));
    if (!entryAccepted)
        ratio += QStringLiteral(" (zuletzt angenommen)");
    m_title << ratio
            << amplitudes(inUse) + kSeparator +
                   QStringLiteral("%1 = %2%3%4 von 0° bis 180°")
                       .arg(indexed("φ", "x"), degreesText(inUse.phaseX), kSeparator,
                            indexed("φ", "y"));
    for (const int degrees : kPhaseDegrees) {
        // The plate's phases are exact, not the bar's hundredths of a radian: it is the
        // textbook's table.
        Parameter p = inUse;
        p.phaseY = degrees * std::numbers::pi / 180;
        QString label = QStringLiteral("%1 = %2°").arg(indexed("φ", "y")).arg(degrees);
        if (p.numerator != p.denominator)
            label += QStringLiteral("<br>") +
                     yOscillationPhaseLine(p.phaseY, p.numerator, p.denominator);
        add(p, label);
    }
    if (m_cells.empty())
        m_notes = {m_notes.front()};
}

OverviewPlate::Geometry OverviewPlate::geometry(int width) const
{
    Geometry g;
    g.width = std::max(1, width);
    const int margin = std::max(2, static_cast<int>(std::lround(g.width * 0.03)));
    const int gap = std::max(2, static_cast<int>(std::lround(g.width * 0.02)));
    const int inside = std::max(1, g.width - 2 * margin);
    g.side = std::max(1, (inside - (m_columns - 1) * gap) / m_columns);

    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(g.width * 0.02))));
    g.title = richText(m_title.join(QStringLiteral("<br>")), font, inside);
    g.titleAt = QPointF(margin, margin);
    int y = margin + static_cast<int>(std::ceil(g.title->size().height())) + gap;

    QFont labelFont = font;
    labelFont.setPixelSize(std::max(1, static_cast<int>(std::lround(g.side * 0.085))));
    double labelHeight = 0;
    for (const Cell& cell : m_cells) {
        auto label = richText(cell.label, labelFont, g.side + gap);
        QTextOption centred = label->defaultTextOption();
        centred.setAlignment(Qt::AlignHCenter);
        label->setDefaultTextOption(centred);
        labelHeight = std::max(labelHeight, label->size().height());
        g.labels.push_back(std::move(label));
    }
    const int labelSpace = gap / 3;
    const int row = g.side + labelSpace + static_cast<int>(std::ceil(labelHeight));
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        const int column = static_cast<int>(i) % m_columns;
        const int top = y + static_cast<int>(i) / m_columns * (row + gap);
        const QRect cell(margin + column * (g.side + gap), top, g.side, g.side);
        g.cells.push_back(cell);
        g.labelsAt.emplace_back(cell.left() - gap / 2.0, cell.bottom() + 1 + labelSpace);
    }
    const int rows = (static_cast<int>(m_cells.size()) + m_columns - 1) / m_columns;
    y += rows * (row + gap);
    if (!m_notes.isEmpty()) {
        g.notes = richText(m_notes.join(QStringLiteral("<br>")), font, inside);
        g.notesAt = QPointF(margin, y);
        y += static_cast<int>(std::ceil(g.notes->size().height())) + gap;
    }
    g.height = y - gap + margin;
    return g;
}

RenderStyle OverviewPlate::cellStyle(const Geometry& g, bool worksheet) const
{
    return {g.side / kScreenWidth, worksheet, m_yUp};
}

QSize OverviewPlate::size(int width) const
{
    const Geometry g = geometry(width);
    return {g.width, g.height};
}

QRect OverviewPlate::cellRect(std::size_t index, int width) const
{
    return geometry(width).cells.at(index);
}

void OverviewPlate::paintTexts(QPainter& painter, const Geometry& g, bool worksheet) const
{
    const QColor colour = textColour(worksheet);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    paintRichText(painter, *g.title, g.titleAt, colour);
    for (std::size_t i = 0; i < g.labels.size(); ++i)
        paintRichText(painter, *g.labels[i], g.labelsAt[i], colour);
    if (g.notes)
        paintRichText(painter, *g.notes, g.notesAt, colour);
}

QImage OverviewPlate::image(int width, bool worksheet) const
{
    const Geometry g = geometry(width);
    QImage plate(g.width, g.height, QImage::Format_RGB32);
    plate.fill(ground(worksheet));
    QPainter painter(&plate);
    DrawingRenderer renderer;
    const RenderStyle style = cellStyle(g, worksheet);
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        QImage cell(g.side, g.side, QImage::Format_RGB32);
        cell.fill(ground(worksheet));
        renderer.render(cell, QSizeF(cell.size()), m_cells[i].drawing, style);
        painter.drawImage(g.cells[i].topLeft(), cell);
        // The frame lies around the cell, not on it.
        painter.setPen(graticuleColour(worksheet));
        painter.drawRect(g.cells[i].adjusted(-1, -1, 0, 0));
    }
    paintTexts(painter, g, worksheet);
    return plate;
}

void OverviewPlate::paint(QPainter& painter, const QRectF& target, bool worksheet) const
{
    // The geometry at the target's width in its own units; the painter's scale does the rest.
    const Geometry g = geometry(std::max(1, static_cast<int>(std::lround(target.width()))));
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / g.width, target.width() / g.width);
    painter.fillRect(QRect(0, 0, g.width, g.height), ground(worksheet));
    const RenderStyle style = cellStyle(g, worksheet);
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        const QRectF cell(g.cells[i]);
        painter.fillRect(cell, ground(worksheet));
        paintVector(painter, m_cells[i].drawing, cell, style);
        painter.setPen(QPen(graticuleColour(worksheet), std::max(1.0, style.zoom)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cell);
    }
    paintTexts(painter, g, worksheet);
    painter.restore();
}

} // namespace korvelian
