#include "overviewplate.h"

#include "form/layout.h"
#include "graticule.h"
#include "platetext.h"
#include "handlers/messages.h"
#include "model/constants.h"
#include "model/kgv.h"
#include "textmetrics.h"
#include "texts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvelian {

namespace {

using platetext::amplitudes;
using platetext::frequencies;
using platetext::joined;
using platetext::kSeparator;
using platetext::ratioText;
using platetext::textColour;

constexpr int kLargestRatio = 4;
constexpr int kPhaseDegrees[] = {0, 45, 90, 135, 180};

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
    int gap = 0;
    int inside = 0;
    Font font;
    Font labelFont;
    // Cells in whole pixels, as their figures are drawn.
    std::vector<RectF> cells;
    PointF titleAt;
    std::vector<PointF> labelsAt;
    PointF notesAt;
};

Colour OverviewPlate::ground(bool worksheet)
{
    return worksheet ? palette::kWorksheetGround : palette::kBlack;
}

OverviewPlate::OverviewPlate(Form form, const Drawing& screen, bool yUp, const Parameter& inUse,
                             bool entryAccepted, bool fine)
    : m_form(form), m_inUse(inUse), m_yUp(yUp), m_fine(fine)
{
    // One cell: its parameters, or a note why its ratio is left out.
    const auto add = [&](const Parameter& p, const std::string& label) {
        const ClosingCount count = closingCount(p.numerator, p.denominator);
        if (count.fault != RatioFault::None) {
            m_notes.push_back(
                ratioText(p.numerator, p.denominator) + " ausgelassen: " +
                (count.fault == RatioFault::TooLarge ? kRatioTooLarge : kRatioDomain));
            return;
        }
        m_cells.push_back({cellDrawing(screen, p, loopEnd(count.value)), label});
    };
    if (form == Form::Ratios) {
        m_columns = kLargestRatio;
        const std::string largest = std::to_string(kLargestRatio);
        m_title = {
            "Korvelian-Figuren " + frequencies() + " = Zähler : Nenner",
            "Zähler 1 bis " + largest + " nach unten, Nenner 1 bis " + largest + " nach rechts",
            amplitudes(inUse) + kSeparator + indexed("φ", "x") + " = " + degreesText(inUse.phaseX) +
                kSeparator + indexed("φ", "y") + " = " + degreesText(shownPhaseY(inUse))};
        // The bar's phase shifts the time before the frequency factor acts, so each cell's y
        // oscillation has a phase of its own; read as the textbook reads it, every cell's is the
        // bar's.
        if (inUse.phaseY != 0 && !inUse.textbook)
            m_title.push_back("Phase der y-Schwingung in jedem Feld: " + indexed("φ", "y") +
                              " · Zähler : Nenner");
        for (int z = 1; z <= kLargestRatio; ++z) {
            for (int n = 1; n <= kLargestRatio; ++n) {
                Parameter p = inUse;
                p.numerator = z;
                p.denominator = n;
                if (inUse.textbook)
                    p.phaseY = textbookPhaseY(shownPhaseY(inUse), z, n);
                add(p, ratioText(z, n));
            }
        }
        return;
    }
    m_columns = static_cast<int>(std::size(kPhaseDegrees));
    m_reflowable = true;
    std::string ratio = "Korvelian-Figuren " + frequencies() + " = " +
                        ratioText(inUse.numerator, inUse.denominator);
    if (!entryAccepted)
        ratio += " (zuletzt angenommen)";
    m_title = {ratio, amplitudes(inUse) + kSeparator + indexed("φ", "x") + " = " +
                          degreesText(inUse.phaseX) + kSeparator + indexed("φ", "y") +
                          " von 0° bis 180°"};
    for (const int degrees : kPhaseDegrees) {
        // The plate's phases are exact, not the bar's hundredths of a radian: it is the
        // textbook's table.
        Parameter p = inUse;
        p.phaseY = degrees * std::numbers::pi / 180;
        if (p.textbook)
            p.phaseY = textbookPhaseY(p.phaseY, p.numerator, p.denominator);
        std::string label = indexed("φ", "y") + " = " + std::to_string(degrees) + "°";
        if (p.numerator != p.denominator && !p.textbook)
            label += "<br>" + yOscillationPhaseLine(p.phaseY, p.numerator, p.denominator);
        add(p, label);
    }
    if (m_cells.empty())
        m_notes = {m_notes.front()};
}

void OverviewPlate::setColumns(int columns)
{
    if (m_reflowable)
        m_columns = std::clamp(columns, 1, std::max(1, static_cast<int>(m_cells.size())));
}

OverviewPlate::Geometry OverviewPlate::geometry(TextMetrics& metrics, int width) const
{
    Geometry g;
    g.width = std::max(1, width);
    const int margin = std::max(2, static_cast<int>(std::lround(g.width * 0.03)));
    g.gap = std::max(2, static_cast<int>(std::lround(g.width * 0.02)));
    g.inside = std::max(1, g.width - 2 * margin);
    g.side = std::max(1, (g.inside - (m_columns - 1) * g.gap) / m_columns);

    g.font = {"Liberation Sans", true, std::max(1, static_cast<int>(std::lround(g.width * 0.02)))};
    g.titleAt = {static_cast<double>(margin), static_cast<double>(margin)};
    const double titleHeight =
        metrics.richTextSize(joined(m_title, "<br>"), g.font, g.inside).height;
    int y = margin + static_cast<int>(std::ceil(titleHeight)) + g.gap;

    g.labelFont = g.font;
    g.labelFont.pixelSize = std::max(1, static_cast<int>(std::lround(g.side * 0.085)));
    double labelHeight = 0;
    for (const Cell& cell : m_cells) {
        labelHeight = std::max(
            labelHeight, metrics.richTextSize(cell.label, g.labelFont, g.side + g.gap).height);
    }
    const int labelSpace = g.gap / 3;
    const int row = g.side + labelSpace + static_cast<int>(std::ceil(labelHeight));
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        const int column = static_cast<int>(i) % m_columns;
        const int top = y + static_cast<int>(i) / m_columns * (row + g.gap);
        const int left = margin + column * (g.side + g.gap);
        g.cells.push_back({static_cast<double>(left), static_cast<double>(top),
                           static_cast<double>(g.side), static_cast<double>(g.side)});
        g.labelsAt.push_back({left - g.gap / 2.0, static_cast<double>(top + g.side + labelSpace)});
    }
    const int rows = (static_cast<int>(m_cells.size()) + m_columns - 1) / m_columns;
    y += rows * (row + g.gap);
    if (!m_notes.empty()) {
        g.notesAt = {static_cast<double>(margin), static_cast<double>(y)};
        const double notesHeight =
            metrics.richTextSize(joined(m_notes, "<br>"), g.font, g.inside).height;
        y += static_cast<int>(std::ceil(notesHeight)) + g.gap;
    }
    g.height = y - g.gap + margin;
    return g;
}

RenderStyle OverviewPlate::cellStyle(const Geometry& g, bool worksheet) const
{
    // A cell as wide as the screen at 100 % draws its lines one pixel wide, as the screen does.
    return {g.side / static_cast<double>(screenSide()), worksheet, m_yUp, false, m_fine};
}

SizeF OverviewPlate::size(TextMetrics& metrics, int width) const
{
    const Geometry g = geometry(metrics, width);
    return {static_cast<double>(g.width), static_cast<double>(g.height)};
}

RectF OverviewPlate::cellRect(TextMetrics& metrics, std::size_t index, int width) const
{
    return geometry(metrics, width).cells.at(index);
}

void OverviewPlate::describeTexts(Scene& scene, const Geometry& g, bool worksheet) const
{
    const Colour colour = textColour(worksheet);
    scene.antialias(true);
    scene.add(item::TextAntialias{true});
    scene.add(item::RichText{g.titleAt, joined(m_title, "<br>"), g.font,
                             static_cast<double>(g.inside), false, colour, TextRole::Title});
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        scene.add(item::RichText{g.labelsAt[i], m_cells[i].label, g.labelFont,
                                 static_cast<double>(g.side + g.gap), true, colour,
                                 TextRole::CellLabel});
    }
    if (!m_notes.empty()) {
        scene.add(item::RichText{g.notesAt, joined(m_notes, "<br>"), g.font,
                                 static_cast<double>(g.inside), false, colour, TextRole::Note});
    }
}

void OverviewPlate::describe(Scene& scene, TextMetrics& metrics, int width, bool worksheet) const
{
    const Geometry g = geometry(metrics, width);
    const RenderStyle style = cellStyle(g, worksheet);
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        scene.add(item::Drawing{g.cells[i], m_cells[i].drawing, style.zoom, worksheet, m_yUp,
                                ground(worksheet), false, m_fine});
        // The frame lies around the cell, not on it.
        scene.pen(graticuleColour(worksheet));
        scene.add(item::Rect{g.cells[i].adjusted(-1, -1, 0, 0), true});
    }
    describeTexts(scene, g, worksheet);
}

void OverviewPlate::describeVector(Scene& scene, TextMetrics& metrics, const RectF& target,
                                   bool worksheet) const
{
    // The geometry at the target's width in its own units; the painter's scale does the rest.
    const Geometry g = geometry(metrics, std::max(1, static_cast<int>(std::lround(target.width))));
    scene.save();
    scene.add(item::Translate{target.topLeft()});
    scene.add(item::Scale{target.width / g.width, target.width / g.width});
    scene.add(item::FillRect{{0, 0, static_cast<double>(g.width), static_cast<double>(g.height)},
                             {ground(worksheet)},
                             true});
    const RenderStyle style = cellStyle(g, worksheet);
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        scene.fillRect(g.cells[i], {ground(worksheet)});
        scene.add(item::Drawing{g.cells[i], m_cells[i].drawing, style.zoom, worksheet, m_yUp,
                                ground(worksheet), true, m_fine});
        scene.pen(Pen{{graticuleColour(worksheet)}, std::max(1.0, style.zoom)});
        scene.noBrush();
        scene.add(item::Rect{g.cells[i]});
    }
    describeTexts(scene, g, worksheet);
    scene.restore();
}

} // namespace korvelian
