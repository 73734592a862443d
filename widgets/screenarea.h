#pragma once

#include "handlers/windowoperations.h"
#include "lesson/prediction.h"
#include "model/afterglow.h"
#include "picturearea.h"
#include "scene/overlays.h"

#include <array>

namespace korvelian {

// The oscilloscope screen: a picture area with the beam point, the two axis markers and
// the two drop lines above its drawing. Overlays keep their physical place when the frame
// changes; only the numbers that address them do. They are kept in pixels of the screen at
// 100 % as the frame places them, and shown through a mapping as the drawing is: they grow
// with the window's zoom, their lines as wide as the figure's, and follow the orientation.
class ScreenArea : public PictureArea
{
    Q_OBJECT

public:
    explicit ScreenArea(QWidget* parent = nullptr);

    void setShapeLeft(Shape shape, double left);
    void setShapeTop(Shape shape, double top);
    void bringToFront(Shape shape);
    void setLineEnd(OverlayLine line, LineEnd end, double value);

    // Logical pixel rectangle of a shape, and the end points of a line, at the current zoom.
    QRectF shapeRect(Shape shape) const;
    QLineF overlayLine(OverlayLine line) const;
    // The overlays from the back to the front.
    std::array<Overlay, 5> stacking() const { return m_stacking; }

    // The reading aid: marks and a legend over the figure, beneath the beam.
    void setReadingAid(bool on);
    bool readingAid() const { return picture().readingAid; }
    // "Nachleuchten": the running beam leaves a fading trace over a dimmed figure.
    void setAfterglow(bool on);
    bool afterglow() const { return picture().afterglow; }
    // The beam at t in a frame at clock time now, and the end of the animation: the trace
    // fades only while the beam runs, and what it left stays until the next redraw.
    void followBeam(double t, const Parameter& p, double now);
    void stopBeam();
    void clear() override;

    // Whether the ratio boxes hold what the figure is drawn with; the aid reads nothing while
    // an entry stands refused, and the values say that the ratio is the last accepted one.
    void setEntryAccepted(bool accepted);
    // Files and pages of the picture leave the figure's numbers out (a quiz, hidden values).
    void setNumbersWithheld(bool withheld) { changePicture().numbersWithheld = withheld; }
    bool entryAccepted() const { return picture().entryAccepted; }
    // The values of the figure, written beside its box.
    void setValues(bool on);
    bool values() const { return picture().values; }
    // The graticule beneath the figure.
    void setGraticule(bool on);
    bool graticule() const { return picture().graticule; }

    // The reading aid's legend where it has no room beside the figure: beside the screen
    // (empty while the legend fits on the screen or the aid is off); a copied, saved or
    // printed picture has it beneath.
    QStringList legendBeside() const { return m_legendBeside; }

    // Presentation: the legend always beside the screen, the graticule bright.
    void setPresenting(bool on);
    // "Vorhersage": the figure hidden until it is resolved, or until the beam has drawn it
    // whole (see Prediction); a new figure is hidden again.
    void setPrediction(Prediction::Mode mode);
    const Prediction& prediction() const { return m_prediction; }
    void resolvePrediction();
    bool beamRunning() const { return m_beamRunning; }

signals:
    // After a paint that moved the legend off the screen or back.
    void legendBesideChanged();
    // The figure was hidden or shown by the prediction.
    void predictionChanged();
    // A frame of the animation put the beam somewhere.
    void beamMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintOverlays(QPainter& painter) override;

private:
    // The picture takes what the prediction hides and what the beam has drawn.
    void showPrediction();
    // Logical pixels that the overlay may paint.
    QRect overlayBounds(Overlay item) const;
    template <typename Change> void changeOverlay(Overlay item, Change change);
    // Schedules the repaint of where the overlays moved since the last call now stand.
    void markMovedOverlays();
    // Schedules the repaint of where the afterglow's trace changed in this frame.
    void markTraceChanged(bool wasEmpty);

    // Where a point of the frame lies on the screen at 100 %, y growing downward.
    QPointF placeAtHundred(double x, double y) const;
    // From pixels of the screen at 100 % to where they are shown now.
    PixelMapping shownFromHundred() const;

    std::array<QPointF, 3> m_shapes;
    std::array<QLineF, 2> m_lines;
    std::array<Overlay, 5> m_stacking{{Overlay::DropToXAxis, Overlay::DropToYAxis,
                                       Overlay::BeamPoint, Overlay::YMarker, Overlay::XMarker}};
    // Overlays whose place before their first change is marked for repainting, but not yet
    // their new place.
    std::array<bool, 5> m_moved{};
    bool m_markPending = false;
    bool m_beamRunning = false;
    TraceDamage m_traceDamage;
    QStringList m_legendBeside;
    int m_legendReadAt = -1;
    Prediction m_prediction;
    // Made anew in every frame of the beam, they would cost their allocations each time.
    Scene m_overlays;
    ScenePainter m_overlayPainter;
};

} // namespace korvelian
