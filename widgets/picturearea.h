#pragma once

#include "asidedrawing.h"
#include "picture/drawingrenderer.h"
#include "picture/scenepainter.h"
#include "raster/drawingthread.h"
#include "readingsimages.h"
#include "scene/screenpicture.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace korvelian {

// A picture area. It keeps what was drawn since the last clearing as drawing operations, in
// its picture (a ScreenPicture, which it hands out for copies, files and prints), and makes
// its image from them when it is painted or asked for: at the device pixel ratio of the
// screen it is on, so a 1-pixel line stays one device pixel wide and a move to a screen of
// another ratio draws the same picture sharp again. Only the newest drawing is ever made, so
// a burst of redraws costs one. Coordinates are in the user frame last set by setFrame().
//
// Drawn aside, the area makes its image on a drawing thread of its own: a change only records
// what to draw, and the area goes on showing its last image, with the beam and its views over
// it, until the newest request is drawn (a large figure as a preview first, its exact picture
// once requests pause). What is asked for (image(), a grab for a copy) is made exactly at once.
class PictureArea : public QWidget
{
    Q_OBJECT

public:
    // An invalid background follows the theme's background of input areas.
    PictureArea(const QColor& background, const QColor& foreground, QWidget* parent = nullptr);
    ~PictureArea() override;

    void setDrawnAside(bool aside);
    bool drawnAside() const { return m_drawnAside; }
    // Says whether a change of the drawing made just now comes at a steady pace (a drifting
    // phase's step) rather than from input. Drawn aside, such a change is drawn exactly at
    // once, and the pass under way finishes before it: a preview would be drawn for nothing,
    // and steps faster than a pass would otherwise stop every pass before it shows.
    void setSteadyChanges(std::function<bool()> steady) { m_steady = std::move(steady); }
    // Whether the area shows a picture of its drawing as it stands, at its size: a preview or
    // the exact one; and whether the exact one.
    bool showsNewest() const { return m_imageState == currentState(); }
    bool showsExact() const;
    // How many images drawn aside the area has shown, previews and exact pictures.
    int previewsShown() const { return m_previewsShown; }
    int exactShown() const { return m_exactShown; }
    // How many of them were shown by repainting only where they differ from the image before.
    int shownByTiles() const { return m_shownByTiles; }

    void setFrame(double x1, double y1, double x2, double y2);
    virtual void clear();
    void drawSegment(double x1, double y1, double x2, double y2, const QColor& colour);
    void drawFigure(const Parameter& p, double end, const QColor& colour);
    // A filled box in the foreground colour.
    void drawBox(double x1, double y1, double x2, double y2);
    // The window's zoom: lines are drawn wider, and an area without a frame is addressed in
    // zoomed twips. The area's size is set by the window.
    void setZoom(double zoom);
    double zoom() const { return m_picture.zoom; }
    // Whether the area shows its frame's y growing upward, mirrored top to bottom as on an
    // oscilloscope; off, y grows downward as the frame is set. A view drawn through
    // toPixel(), mappingOnto() or the area's render style follows it by itself.
    void setYUp(bool yUp);
    bool yUp() const { return m_picture.yUp; }
    // Whether a figure is drawn as its fine curve ("Feine Kurve"), in copies, files and prints
    // too.
    void setFine(bool fine);
    bool fine() const { return m_picture.fine; }
    RenderStyle renderStyle() const { return m_picture.style(); }

    // Logical pixel position of a point in the user frame, where it is shown.
    QPointF toPixel(double x, double y) const;
    // A frame mapped onto target, a rectangle where the area's picture lies (on the area
    // itself, in a copy or on a page), in the area's orientation.
    PixelMapping mappingOnto(const UserFrame& frame, const QRectF& target) const;
    // The drawing as it stands, at device resolution, made at once where it is not shown yet.
    const QImage& image();
    // Its size, without making it.
    QSize imageSize() const { return currentState().deviceSize; }
    const Drawing& drawing() const { return m_picture.drawing; }
    // The user frame last set, which the next drawing operation is given in.
    const UserFrame& frame() const { return m_picture.frame; }
    QColor background() const;
    // The picture as it stands, with what is painted beneath and over the drawing: what a
    // copy, a file or a print is made from.
    const ScreenPicture& picture() const;
    // How often the readings over the drawing (the reading aid, the values) were worked out:
    // once for each figure and view, not for each frame of the beam.
    int readingsDescribed() const { return m_readingsDescribed; }

    // An image of a widget's size drawn over what is there where the region needs it; given
    // within, in device pixels, only there (where the image has nothing, it changes nothing).
    static void drawByRectangle(QPainter& painter, const QRegion& region, const QImage& image,
                                const QRegion* within = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Shapes drawn above the image, untouched by clear().
    virtual void paintOverlays(QPainter& painter);

    // The picture to change; the caller schedules the repaint that shows the change.
    ScreenPicture& changePicture()
    {
        ++m_readingsVersion;
        return m_picture;
    }
    // The beam's trace, which the readings over the picture do not depend on.
    AfterglowTrace& changeTrace() { return m_picture.trace; }
    // Schedules one repaint however many changes come before it.
    void scheduleRepaint();
    // What lies beneath the drawing or how the drawing is shown has changed: the image is
    // made afresh.
    void remakeImage();
    // The reading aid's legend where it has no room on the picture, as the readings shown
    // placed it.
    const TextLines& legendBesideReadings() const { return m_legendBeside; }

private:
    // The drawing's image as it stands, made at once.
    void render();
    // What the image is made for; a change of the drawing is scheduled once however many come.
    struct ImageState
    {
        std::uint64_t base = 0;
        std::size_t ops = 0;
        QSize deviceSize;
        qreal ratio = 0;
        bool operator==(const ImageState&) const = default;
    };
    ImageState currentState() const;
    void drawingChanged();
    // Hands the drawing as it stands to the drawing thread, unless it is drawn or asked for.
    void requestDrawing();
    // A pass drawn aside, shown unless something newer is.
    void takeDrawn(std::uint64_t number, DrawingThread::Pass pass, AsideDrawing::Pass& drawn,
                   const ImageState& state);
    // Repaints where a pass drawn aside differs from what the screen showed, where that was
    // what the pass compared with and the screen now shows the pass as drawn; else all.
    void repaintReplaced(const AsideDrawing::Pass& drawn, const ShownKeys& screenBefore,
                         const ShownKeys& passShown);
    void imageReplaced();
    // Whether the readings held are not those of the picture and none are on their way.
    bool readingsDue() const;
    // The readings over the drawing, worked out again where the picture changed.
    void describeReadings();
    // Readings a pass drew with the image now shown, where they are of the picture as it
    // stands; gives the images they replace.
    std::vector<QImage> adoptReadings(DrawnReadings& readings);
    // Whether the afterglow's trace or the beam's path lies between the drawing and the
    // readings.
    bool overDrawing() const;
    // What a paint would show beneath the beam, where it needs nothing made for it; with a
    // request coming, the readings held count as those of the picture until its pass brings
    // new ones.
    std::optional<ShownImages> shownNow(bool requestComing = false) const;
    // The image where the region needs it, and the ground where the image does not reach.
    void copyImage(QPainter& painter, const QRegion& region, const QImage& image) const;
    // The image copied into the window's own where the region needs it, while the area is
    // painted into the window; false where it is painted elsewhere or the pixels differ.
    bool copyIntoWindow(const QRegion& region, const QImage& image) const;

    QColor m_background;
    QColor m_foreground;
    // Its size and ground are brought up to date when it is read: a hidden area learns of a
    // new size only when it is shown.
    mutable ScreenPicture m_picture;
    // Texts laid out once for many paints; the reading aid's many marks stamped.
    ScenePainter m_scenePainter{ScenePainter::Repeats::Stamp};
    // m_image shows m_picture.drawing[0 .. m_imageState.ops) as it stood at base version
    // m_imageState.base, exactly or as a preview; a change of what lies beneath or of how the
    // drawing is shown counts up m_base.
    QImage m_image;
    ImageState m_imageState;
    bool m_imageExact = false;
    // The picture m_image was drawn aside from, while m_image is as drawn; else null.
    std::shared_ptr<const ScreenPicture> m_imagePicture;
    std::uint64_t m_base = 1;
    // The reading aid and the values depend on the figure, not on the beam: worked out and
    // drawn once, and copied with the drawing in every frame, or over the afterglow's trace,
    // which lies between the figure and them.
    // The readings held are of version m_readingsOf of the picture's readings at
    // m_readingsSize; the request under way brings those of m_awaitedReadings with its pass.
    std::shared_ptr<const Scene> m_readings = std::make_shared<const Scene>();
    std::uint64_t m_readingsVersion = 1;
    std::uint64_t m_readingsOf = 0;
    std::uint64_t m_awaitedReadings = 0;
    QSize m_readingsSize;
    TextLines m_legendBeside;
    int m_readingsDescribed = 0;
    ReadingsImages m_readingsImages;
    // The trace of a frame of the afterglow, its memory kept from frame to frame.
    Scene m_trace;
    DrawingRenderer m_renderer;
    bool m_repaintPending = false;
    // Drawing aside: the thread with its own renderer, what was last asked of it, and which
    // of its passes is shown.
    // Made when first drawn aside and kept: its requests' numbers go on counting up.
    std::unique_ptr<AsideDrawing> m_aside;
    bool m_drawnAside = false;
    ImageState m_requested;
    bool m_requestPending = false;
    // Whether every change since the request was last made came at a steady pace.
    bool m_requestSteady = false;
    std::function<bool()> m_steady;
    ShownPicture m_shown;
    int m_previewsShown = 0;
    int m_exactShown = 0;
    int m_shownByTiles = 0;
    // The keys of the images the screen shows wherever no repaint is pending; 0 where unknown
    // (an image made at once for a grab, which the screen does not show yet).
    ShownKeys m_screenKey;
    // The last pass shown: what it was compared with, what the screen showed of it, and
    // where, in logical pixels, the two differ.
    struct LastPass
    {
        bool compared = false;
        ShownKeys replaced;
        ShownKeys shown;
        QRegion region;
    };
    LastPass m_lastPass;
};

} // namespace korvelian
