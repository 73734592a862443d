#pragma once

#include "drawing.h"
#include "drawingrenderer.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace korvelian {

// A picture area. It keeps what was drawn since the last clearing as drawing operations and
// makes its image from them when it is painted or asked for: at the device pixel ratio of the
// screen it is on, so a 1-pixel line stays one device pixel wide and a move to a screen of
// another ratio draws the same picture sharp again. Only the newest drawing is ever made, so
// a burst of redraws costs one. Coordinates are in the user frame last set by setFrame().
class PictureArea : public QWidget
{
    Q_OBJECT

public:
    // An invalid background follows the theme's background of input areas.
    PictureArea(const QColor& background, const QColor& foreground, QWidget* parent = nullptr);

    void setFrame(double x1, double y1, double x2, double y2);
    virtual void clear();
    void drawSegment(double x1, double y1, double x2, double y2, const QColor& colour);
    void drawFigure(const Parameter& p, double end, const QColor& colour);
    // A filled box in the foreground colour.
    void drawBox(double x1, double y1, double x2, double y2);
    // The window's zoom: lines are drawn wider, and an area without a frame is addressed in
    // zoomed twips. The area's size is set by the window.
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }
    // Whether the area shows its frame's y growing upward, mirrored top to bottom as on an
    // oscilloscope; off, y grows downward as the frame is set. A view drawn through
    // toPixel(), mappingOnto() or the area's render style follows it by itself.
    void setYUp(bool yUp);
    bool yUp() const { return m_yUp; }
    RenderStyle renderStyle() const { return {m_zoom, false, m_yUp, m_figureDimmed}; }
    // The figure in a dimmed colour, for what is drawn over it to stand out.
    void setFigureDimmed(bool dimmed);
    bool figureDimmed() const { return m_figureDimmed; }

    // Logical pixel position of a point in the user frame, where it is shown.
    QPointF toPixel(double x, double y) const;
    // A frame mapped onto target, a rectangle where the area's picture lies (on the area
    // itself, in a copy or on a page), in the area's orientation.
    PixelMapping mappingOnto(const UserFrame& frame, const QRectF& target) const;
    // The drawing as it stands, at device resolution.
    const QImage& image();
    const Drawing& drawing() const { return m_drawing; }
    // The user frame last set, which the next drawing operation is given in.
    const UserFrame& frame() const { return m_frame; }
    QColor background() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Shapes drawn above the image, untouched by clear().
    virtual void paintOverlays(QPainter& painter);

public:
    // What is drawn over the drawing and belongs to its picture, in a copy or a print too;
    // target is where the area's picture lies, lineWidth the width of a line there.
    virtual void paintAnnotations(QPainter& painter, const QRectF& target, double lineWidth,
                                  bool worksheet) const;
    // What belongs to the picture but has no room on it, beneath a picture width pixels wide:
    // its height there (0: nothing), and painted into that band.
    virtual double beneathHeight(double width) const;
    virtual void paintBeneath(QPainter& painter, const QRectF& band, bool worksheet) const;
    // What lies beneath the drawing and belongs to its picture, as paintAnnotations.
    virtual void paintUnderlay(QPainter& painter, const QRectF& target, double lineWidth,
                               bool worksheet) const;

protected:
    // Schedules one repaint however many changes come before it.
    void scheduleRepaint();
    // What paintUnderlay draws has changed: the image is made afresh from the drawing.
    void redrawUnderlay();

private:
    void render();

    QColor m_background;
    QColor m_foreground;
    UserFrame m_frame;
    Drawing m_drawing;
    // m_image shows m_drawing[0 .. m_rendered) when m_imageCurrent is set.
    QImage m_image;
    std::size_t m_rendered = 0;
    bool m_imageCurrent = false;
    DrawingRenderer m_renderer;
    double m_zoom = 1;
    bool m_yUp = false;
    bool m_figureDimmed = false;
    bool m_repaintPending = false;
};

} // namespace korvelian
