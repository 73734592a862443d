#pragma once

#include "model/deflection.h"
#include "drawing.h"
#include "drawingrenderer.h"

#include <QImage>
#include <QStringList>

#include <vector>

class QPainter;

namespace korvelian {

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
        QString label; // rich text
    };

    // screen: the screen's drawing, whose frame, axes and figure colour each cell takes, and
    // yUp its orientation. entryAccepted: whether the ratio boxes hold the ratio in use, or a
    // refused entry.
    OverviewPlate(Form form, const Drawing& screen, bool yUp, const Parameter& inUse,
                  bool entryAccepted);

    const std::vector<Cell>& cells() const { return m_cells; }
    // The lines above the cells, as rich text.
    const QStringList& title() const { return m_title; }
    // A line for each ratio left out because its closing count is refused.
    const QStringList& notes() const { return m_notes; }
    int columns() const { return m_columns; }

    // The plate's size in pixels at a width; the height follows from the cells and texts.
    QSize size(int width) const;
    // Where a cell's figure lies on a plate this wide.
    QRect cellRect(std::size_t index, int width) const;

    // The plate as pixels: each cell drawn as the screen draws its figure.
    QImage image(int width, bool worksheet) const;
    // The plate in lines, paths and text for an SVG file, a PDF or a printer: every cell's
    // figure one path. target should have the plate's shape.
    void paint(QPainter& painter, const QRectF& target, bool worksheet) const;

private:
    struct Geometry;
    Geometry geometry(int width) const;
    RenderStyle cellStyle(const Geometry& g, bool worksheet) const;
    void paintTexts(QPainter& painter, const Geometry& g, bool worksheet) const;

    std::vector<Cell> m_cells;
    QStringList m_title;
    QStringList m_notes;
    int m_columns = 4;
    bool m_yUp = false;
};

} // namespace korvelian
