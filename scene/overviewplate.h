#pragma once

#include "drawing.h"
#include "model/deflection.h"
#include "scene.h"

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

    std::vector<Cell> m_cells;
    std::vector<std::string> m_title;
    std::vector<std::string> m_notes;
    int m_columns = 4;
    bool m_reflowable = false;
    bool m_yUp = false;
    bool m_fine = false;
};

} // namespace korvelian
