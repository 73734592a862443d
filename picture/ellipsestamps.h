#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSizeF>

#include <map>
#include <tuple>
#include <vector>

class QPainter;

namespace korvelian {

// Many outlines of one ellipse at once, as the reading aid marks the tens of thousands of
// touch points of a figure like 32767 : 1, again for each step of a drifting phase. QPainter
// works out and strokes each outline afresh (most of a frame went there); here the outline is
// drawn once for each sixteenth of a pixel it may be shifted by, and each copy only multiplies
// what its pixels let through. The pen's colour then goes over each band of rows the batch
// reached in one image. A copy stands at most a thirty-second of a pixel from where QPainter
// puts it, and where many overlap, the edges' shades differ from QPainter's by its rounding of
// each blend: the screen only, never a copy or a file.
class EllipseStamps
{
public:
    // Whether the painter's state lets its outlines be stamped: a solid pen of some width, no
    // brush, antialiasing on, and a transform that only moves and scales alike both ways.
    static bool suits(const QPainter& painter);

    // Outlines of an ellipse of size, one at each top-left corner, with the painter's pen.
    void paint(QPainter& painter, const QSizeF& size, const std::vector<QPointF>& corners);

private:
    // What one copy lets through of what lies beneath, row by row, for one shift.
    struct Stamp
    {
        int width = 0;
        int height = 0;
        std::vector<float> through;
        // Per row, the columns from the first to the last where the copy lets less than all
        // through: the ring's corners let everything through, and multiplying by one changes
        // nothing, nor does it inside the ring, where a span of a few columns more costs less
        // than a second run.
        struct Span
        {
            int row;
            int begin;
            int end;
        };
        std::vector<Span> spans;
    };
    // The stamps of the painter's shape for every shift, made when first needed.
    void takeShape(const QPainter& painter, const QSizeF& size);
    const Stamp& stamp(const QPainter& painter, int shiftX, int shiftY);
    // The pen's colour over the device pixels of box, as much as the stamps let through, in
    // the rows and columns they reached; everything is let through there again afterwards.
    void showBatch(QPainter& painter, const QRect& box);

    struct Placed
    {
        int x;
        int y;
        const Stamp* stamp;
    };

    // The shape in device pixels; a new one drops the stamps of the old.
    std::tuple<double, double, double, int, int> m_shape{};
    std::map<std::pair<int, int>, Stamp> m_stamps;
    // Kept from one batch to the next: a drifting phase stamps tens of thousands again and
    // again. m_through lets everything through between batches; m_reached holds the columns
    // that each row of the batch's box was reached in, begin and end.
    std::vector<Placed> m_placed;
    std::vector<float> m_through;
    std::vector<std::pair<int, int>> m_reached;
    QImage m_batch;
};

} // namespace korvelian
