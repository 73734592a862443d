#include "overviewplate.h"

#include "form/layout.h"
#include "graticule.h"
#include "model/seededpick.h"
#include "platetext.h"
#include "textmetrics.h"

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

using platetext::amplitudes;
using platetext::frequencies;
using platetext::joined;
using platetext::kSeparator;
using platetext::ratioText;
using platetext::textColour;

// A sheet's letters are as large against the page as a 11-point font on A4.
constexpr double kSheetFont = 0.02;
constexpr double kSheetGap = 0.025;

// The drawing without its figure: the axes to draw in.
Drawing axesOnly(const Drawing& drawing)
{
    Drawing axes;
    for (const DrawOp& op : drawing) {
        if (op.kind != DrawOp::Kind::Figure)
            axes.push_back(op);
    }
    return axes;
}

// A line to write on, as long as a few letters.
std::string blank(int letters)
{
    return std::string(static_cast<std::size_t>(letters), '_');
}

// The order of the sheets of a seed; the plate's own on the plate.
std::vector<std::size_t> sheetOrder(OverviewPlate::Sheet sheet, std::uint32_t seed,
                                    std::size_t count)
{
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    if (sheet != OverviewPlate::Sheet::Plate)
        order = SeededPick(seed).order(count);
    return order;
}

struct Grid
{
    double side = 0;
    int columns = 1;
    double labelHeight = 0;
};

// As many columns as make the cells largest in the room the texts leave on the page.
Grid largestGrid(TextMetrics& metrics, const Font& font, const std::vector<std::string>& labels,
                 SizeF room, double gap)
{
    const auto count = static_cast<int>(labels.size());
    Grid grid;
    for (int c = 1; c <= std::max(1, count); ++c) {
        const int rows = (count + c - 1) / c;
        const double across = (room.width - (c - 1) * gap) / c;
        double tallest = 0;
        for (const std::string& label : labels)
            tallest = std::max(tallest, metrics.richTextSize(label, font, across).height);
        const double down = (room.height - rows * (tallest + gap)) / rows;
        const double fits = std::floor(std::min(across, down));
        if (fits > grid.side) {
            grid.side = fits;
            grid.columns = c;
            grid.labelHeight = tallest;
        }
    }
    grid.side = std::max(1.0, grid.side);
    return grid;
}

} // namespace

std::vector<std::string> OverviewPlate::sheetTitle(Sheet sheet) const
{
    const Parameter& p = m_inUse;
    const bool ratios = m_form == Form::Ratios;
    std::string setting =
        amplitudes(p) + kSeparator + indexed("φ", "x") + " = " + degreesText(p.phaseX);
    if (ratios)
        setting += kSeparator + indexed("φ", "y") + " = " + degreesText(p.phaseY);
    const std::string ratio =
        frequencies() + " = " + ratioText(p.numerator, p.denominator) + kSeparator;
    std::vector<std::string> title;
    switch (sheet) {
    case Sheet::Blank:
        title = {"Korvelian-Figuren zeichnen",
                 ratios ? "Zeichne in jedes Feld die Figur zum Frequenzverhältnis " +
                              frequencies() + ", das darunter steht."
                        : "Zeichne in jedes Feld die Figur zur Phase " + indexed("φ", "y") +
                              ", die darunter steht.",
                 (ratios ? "" : ratio) + setting};
        break;
    case Sheet::Naming:
        title = {"Korvelian-Figuren benennen",
                 ratios ? "Schreibe unter jede Figur ihr Frequenzverhältnis " + frequencies() + "."
                        : "Schreibe unter jede Figur ihr Frequenzverhältnis " + frequencies() +
                              " und die Phase " + indexed("φ", "y") + ".",
                 setting};
        break;
    case Sheet::Solutions:
    case Sheet::Plate:
        title = {"Lösungen", (ratios ? "" : ratio) + setting};
        break;
    }
    // As on the plate: each cell's y oscillation has a phase of its own.
    if (ratios && p.phaseY != 0)
        title.push_back("Phase der y-Schwingung in jedem Feld: " + indexed("φ", "y") +
                        " · Zähler : Nenner");
    return title;
}

std::string OverviewPlate::sheetLabel(Sheet sheet, std::size_t number, std::size_t cell) const
{
    const std::string numbered = std::to_string(number) + ")&nbsp; ";
    if (sheet != Sheet::Naming)
        return numbered + m_cells[cell].label;
    const std::string ratio = blank(4) + " : " + blank(4);
    if (m_form == Form::Ratios)
        return numbered + ratio;
    return numbered + ratio + "<br>" + indexed("φ", "y") + " = " + blank(6) + "°";
}

OverviewPlate::SheetLayout OverviewPlate::sheetLayout(TextMetrics& metrics, SizeF page, Sheet sheet,
                                                      std::uint32_t seed) const
{
    SheetLayout layout;
    const double unit = std::min(page.width, page.height);
    layout.font = {"Liberation Sans", true,
                   std::max(1, static_cast<int>(std::lround(unit * kSheetFont)))};
    const double gap = unit * kSheetGap;
    double y = 0;
    if (sheet == Sheet::Blank || sheet == Sheet::Naming) {
        layout.header =
            "Name: " + blank(28) + " &nbsp; Klasse: " + blank(8) + " &nbsp; Datum: " + blank(12);
        layout.headerAt = {0, 0};
        y += metrics.richTextSize(layout.header, layout.font, page.width).height + gap;
    }
    layout.title = sheetTitle(sheet);
    layout.heading = layout.title.front();
    layout.title.erase(layout.title.begin());
    layout.headingFont = layout.font;
    layout.headingFont.pixelSize = static_cast<int>(std::lround(layout.font.pixelSize * 1.4));
    layout.headingAt = {0, y};
    y += metrics.richTextSize(layout.heading, layout.headingFont, page.width).height;
    layout.titleAt = {0, y};
    y += metrics.richTextSize(joined(layout.title, "<br>"), layout.font, page.width).height + gap;
    double notes = 0;
    if (!m_notes.empty())
        notes = metrics.richTextSize(joined(m_notes, "<br>"), layout.font, page.width).height + gap;

    const std::vector<std::size_t> order = sheetOrder(sheet, seed, m_cells.size());
    std::vector<std::string> labels;
    for (std::size_t i = 0; i < order.size(); ++i)
        labels.push_back(sheetLabel(sheet, i + 1, order[i]));

    const auto count = static_cast<int>(m_cells.size());
    const auto [side, columns, labelHeight] =
        largestGrid(metrics, layout.font, labels, {page.width, page.height - y - notes}, gap);
    layout.labelWidth = side + gap;
    // Where the width decides the side, the rows spread over the height left: more room to
    // write beneath each cell.
    const int rowCount = (count + columns - 1) / columns;
    const double spare = page.height - y - notes - rowCount * (side + labelHeight + gap);
    const double pitch = side + labelHeight + gap + std::max(0.0, spare) / std::max(1, rowCount);
    const double gridWidth = columns * side + (columns - 1) * gap;
    const double left = (page.width - gridWidth) / 2;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto column = static_cast<double>(static_cast<int>(i) % columns);
        const auto row = static_cast<double>(static_cast<int>(i) / columns);
        const RectF rect{left + column * (side + gap), y + row * pitch, side, side};
        layout.places.push_back({order[i],
                                 rect,
                                 sheet != Sheet::Blank,
                                 labels[i],
                                 {rect.x - gap / 2, rect.y + rect.height + gap / 4}});
    }
    layout.notesAt = {0, y + rowCount * pitch};
    return layout;
}

double OverviewPlate::sheetCellSide(TextMetrics& metrics, SizeF page, Sheet sheet) const
{
    const SheetLayout layout = sheetLayout(metrics, page, sheet, 1);
    return layout.places.empty() ? 0 : layout.places.front().rect.width;
}

bool OverviewPlate::sheetAcross(TextMetrics& metrics, Sheet sheet) const
{
    // Laid out at one width in units, compared in millimetres on the paper.
    constexpr double kUnits = 1000;
    const auto side = [&](SizeF area) {
        return sheetCellSide(metrics, {kUnits, kUnits * area.height / area.width}, sheet) *
               area.width / kUnits;
    };
    return side({kSheetArea.height, kSheetArea.width}) > side(kSheetArea);
}

void OverviewPlate::describeSheet(Scene& scene, TextMetrics& metrics, const RectF& page,
                                  Sheet sheet, std::uint32_t seed, bool worksheet,
                                  bool vector) const
{
    const SheetLayout layout = sheetLayout(metrics, page.size(), sheet, seed);
    const Colour colour = textColour(worksheet);
    scene.save();
    scene.add(item::Translate{page.topLeft()});
    scene.add(item::FillRect{{0, 0, page.width, page.height}, {ground(worksheet)}, true});
    for (const SheetLayout::Place& place : layout.places) {
        const Cell& cell = m_cells[place.cell];
        const double zoom = place.rect.width / static_cast<double>(screenSide());
        scene.fillRect(place.rect, {ground(worksheet)});
        scene.add(item::Drawing{place.rect, place.figure ? cell.drawing : axesOnly(cell.drawing),
                                zoom, worksheet, m_yUp, ground(worksheet), vector});
        scene.pen(Pen{{graticuleColour(worksheet)}, std::max(1.0, zoom)});
        scene.noBrush();
        scene.add(item::Rect{place.rect});
    }
    scene.antialias(true);
    scene.add(item::TextAntialias{true});
    if (!layout.header.empty()) {
        scene.add(item::RichText{layout.headerAt, layout.header, layout.font, page.width, false,
                                 colour, TextRole::Title});
    }
    scene.add(item::RichText{layout.headingAt, layout.heading, layout.headingFont, page.width,
                             false, colour, TextRole::Title});
    scene.add(item::RichText{layout.titleAt, joined(layout.title, "<br>"), layout.font, page.width,
                             false, colour, TextRole::Title});
    for (const SheetLayout::Place& place : layout.places) {
        scene.add(item::RichText{place.labelAt, place.label, layout.font, layout.labelWidth, true,
                                 colour, TextRole::CellLabel});
    }
    if (!m_notes.empty()) {
        scene.add(item::RichText{layout.notesAt, joined(m_notes, "<br>"), layout.font, page.width,
                                 false, colour, TextRole::Note});
    }
    scene.restore();
}

} // namespace korvelian
