#pragma once

#include "figurepoints.h"
#include "segmentraster.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace korvelian {

// A picture area: its drawing is kept in an image at the screen's device pixel ratio, so
// a 1-pixel line stays one device pixel wide, and nothing is lost when the window is
// covered. Coordinates are in the user frame last set by setFrame().
class PictureArea : public QWidget
{
    Q_OBJECT

public:
    PictureArea(const QColor& background, const QColor& foreground, QWidget* parent = nullptr);

    void setFrame(double x1, double y1, double x2, double y2);
    void clear();
    void drawSegment(double x1, double y1, double x2, double y2, const QColor& colour);
    void drawPolyline(std::span<const FloatPoint> points, const QColor& colour);
    // A filled box in the foreground colour.
    void drawBox(double x1, double y1, double x2, double y2);

    // Logical pixel position of a point in the user frame.
    QPointF toPixel(double x, double y) const;
    // Logical pixel = coordinate * scale + offset in the frame last set.
    SegmentRaster::Transform frameTransform() const;
    // The drawing as it stands, at device resolution.
    const QImage& image();

protected:
    void paintEvent(QPaintEvent* event) override;
    // Shapes drawn above the retained image, untouched by clear().
    virtual void paintOverlays(QPainter& painter);
    // Schedules one repaint however many changes come before it.
    void scheduleRepaint();

private:
    void ensureImage();
    QPainter& imagePainter();
    void finishPainting();

    QColor m_background;
    QColor m_foreground;
    QImage m_image;
    QPainter m_painter;
    QColor m_penColour;
    SegmentRaster m_raster;
    // The frame starts in twips, as every area does before its frame is set.
    double m_x1 = 0;
    double m_y1 = 0;
    double m_x2 = 0;
    double m_y2 = 0;
    bool m_repaintPending = false;
};

} // namespace korvelian
