#pragma once

#include "drawing.h"
#include "model/deflection.h"
#include "scene.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvelian {

class TextMetrics;

// The plate of figures that every textbook has, for a worksheet or a slide: a table of
// ratios or of phases, each cell labelled beneath. A cell is the screen's own drawing with
// the cell's parameters, so that it shows what the screen would show at that size.
class OverviewPlate
{
public:
    enum class Form {
        // Numerators 1 to 4 down, denominators 1 to 4 across, at the amplitudes and phases in
        // use.
        Ratios,
        // The ratio in use at y phases of 0°, 45°, 90°, 135° and 180°.
        Phases,
    };

    struct Cell
    {
        Drawing drawing;
        std::string label; // rich text
    };

    // What the plate is printed as: the plate itself, or a worksheet made of it. The
    // worksheets fill a page, with a line for name, class and date; their cells are shuffled
    // by a seed, the same order on all three sheets of a seed, so that a sheet cannot be
    // solved by the plate's pattern and the solution page fits it.
    enum class Sheet {
        Plate,
        // Empty cells with their axes to draw in, each labelled with what to draw.
        Blank,
        // The figures, numbered, with blanks for their ratio (and phase) to name.
        Naming,
        // The figures in the sheets' order with their labels.
        Solutions,
    };

    // A worksheet on a page of a size, in the page's units.
    struct SheetLayout
    {
        Font font;
        // Where the line for name, class and date stands (none on the solution page), and the
        // lines beneath it.
        std::string header;
        PointF headerAt;
        // What the sheet is, in a larger font, and what to do on it.
        std::string heading;
        Font headingFont;
        PointF headingAt;
        std::vector<std::string> title;
        PointF titleAt;
        struct Place
        {
            std::size_t cell = 0; // into cells()
            RectF rect;
            bool figure = true; // false: the axes alone, to draw in
            std::string label;  // rich text
            PointF labelAt;
        };
        std::vector<Place> places;
        double labelWidth = 0;
        PointF notesAt;
    };
    SheetLayout sheetLayout(TextMetrics& metrics, SizeF page, Sheet sheet,
                            std::uint32_t seed) const;
    // The side of a sheet's cells on a page of this size: what a page's orientation is chosen
    // by.
    double sheetCellSide(TextMetrics& metrics, SizeF page, Sheet sheet) const;
    // A worksheet's page: A4 with 15 mm margins, its printable area upright in millimetres;
    // turned across where that gives the cells more room.
    static constexpr SizeF kSheetArea{180, 267};
    bool sheetAcross(TextMetrics& metrics, Sheet sheet) const;
    // The worksheet onto page; in lines, paths and text where vector is set (a PDF, an SVG, a
    // printer), else its figures as pixels.
    void describeSheet(Scene& scene, TextMetrics& metrics, const RectF& page, Sheet sheet,
                       std::uint32_t seed, bool worksheet, bool vector) const;

    // screen: the screen's drawing, whose frame, axes and figure colour each cell takes, and
    // yUp its orientation. entryAccepted: whether the ratio boxes hold the ratio in use, or a
    // refused entry. fine: every cell's figure drawn as its fine curve.
    OverviewPlate(Form form, const Drawing& screen, bool yUp, const Parameter& inUse,
                  bool entryAccepted, bool fine = false);

    const std::vector<Cell>& cells() const { return m_cells; }
    // The lines above the cells, as rich text.
    const std::vector<std::string>& title() const { return m_title; }
    // A line for each ratio left out because its closing count is refused.
    const std::vector<std::string>& notes() const { return m_notes; }
    int columns() const { return m_columns; }
    // A page of another shape than the screen's plate may take the phases in more rows; the
    // ratios keep their square, whose rows and columns are numerator and denominator.
    bool reflowable() const { return m_reflowable; }
    void setColumns(int columns);

    // The plate's size in whole pixels at a width; the height follows from the cells and
    // texts.
    SizeF size(TextMetrics& metrics, int width) const;
    // Where a cell's figure lies on a plate this wide.
    RectF cellRect(TextMetrics& metrics, std::size_t index, int width) const;

    // The plate width pixels wide, each cell drawn as the screen draws its figure; as pixels,
    // or for a vector picture (an SVG file, a PDF, a printer) in lines, paths and text, every
    // cell's figure one path, onto target, which should have the plate's shape.
    void describe(Scene& scene, TextMetrics& metrics, int width, bool worksheet) const;
    void describeVector(Scene& scene, TextMetrics& metrics, const RectF& target,
                        bool worksheet) const;

    // The ground a plate lies on.
    static Colour ground(bool worksheet);

private:
    struct Geometry;
    Geometry geometry(TextMetrics& metrics, int width) const;
    RenderStyle cellStyle(const Geometry& g, bool worksheet) const;
    void describeTexts(Scene& scene, const Geometry& g, bool worksheet) const;

    std::vector<std::string> sheetTitle(Sheet sheet) const;
    std::string sheetLabel(Sheet sheet, std::size_t number, std::size_t cell) const;

    std::vector<Cell> m_cells;
    std::vector<std::string> m_title;
    Form m_form = Form::Ratios;
    Parameter m_inUse;
    std::vector<std::string> m_notes;
    int m_columns = 4;
    bool m_reflowable = false;
    bool m_yUp = false;
    bool m_fine = false;
};

} // namespace korvelian
