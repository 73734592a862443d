#pragma once

#include "model/deflection.h"
#include "drawing.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QStringList>

#include <memory>
#include <vector>

class QPainter;
class QTextDocument;

namespace korvelian {

// The values the figure is drawn with, written on the screen large enough to read from the
// back of a classroom: the frequency ratio, both amplitudes, both phases in degrees and, where
// numerator and denominator differ, the y oscillation's own phase. They stand beside the
// figure's box, never over it, where the box leaves room.
class ScreenValues
{
public:
    ScreenValues();
    ~ScreenValues();

    // The lines as rich text, in reading order. A refused entry leaves the figure at the last
    // accepted ratio, and the ratio's line says so.
    static QStringList lines(const Parameter& p, bool entryAccepted);

    // The font for an area this high: capital letters at least 3 % of it.
    static QFont font(double areaHeight);

    struct Layout
    {
        QList<QRectF> lines;
        // No room beside the box: the lines stand over it, on a ground that dims the figure.
        bool overBox = false;
    };
    // Where lines of these sizes go in the area, outside the box when they fit anywhere
    // around it: above it one beneath the other or side by side, else left of it, never over
    // what is taken (the reading aid's legend). margin keeps them off the edges and the box.
    static Layout place(const QList<QSizeF>& sizes, const QRectF& area, const QRectF& box,
                        double margin, const QRectF& taken = {});

    // Paints the values of p over the area, beside what is taken; toPixels maps the figure's
    // frame onto it.
    void paint(QPainter& painter, const PixelMapping& toPixels, const QRectF& area,
               const Parameter& p, bool entryAccepted, const QColor& ground, bool worksheet,
               const QRectF& taken = {});

private:
    struct Line;
    // Each line laid out once, and on a raster device drawn once into an image: the screen
    // paints them again in every frame of the animation.
    std::vector<std::unique_ptr<Line>> m_lines;
};

} // namespace korvelian
