#include "screenarea.h"

#include "form/layout.h"
#include "picture/scenepainter.h"

#include <QScreen>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace korvelian {

namespace {

QPointF twips(int x, int y)
{
    return {static_cast<double>(x) / kTwipsPerPixel, static_cast<double>(y) / kTwipsPerPixel};
}

int index(Shape shape)
{
    return static_cast<int>(shape);
}

int index(OverlayLine line)
{
    return static_cast<int>(line);
}

// The shapes come first among the overlays, in the order of Shape, then the lines in the
// order of OverlayLine.
static_assert(static_cast<int>(Overlay::BeamPoint) == static_cast<int>(Shape::BeamPoint));
static_assert(static_cast<int>(Overlay::YMarker) == static_cast<int>(Shape::YMarker));
static_assert(static_cast<int>(Overlay::XMarker) == static_cast<int>(Shape::XMarker));
constexpr int kFirstLine = static_cast<int>(Overlay::DropToXAxis);
static_assert(static_cast<int>(Overlay::DropToYAxis) ==
              kFirstLine + static_cast<int>(OverlayLine::DropToYAxis));

Overlay overlay(Shape shape)
{
    return static_cast<Overlay>(index(shape));
}

Overlay overlay(OverlayLine line)
{
    return static_cast<Overlay>(kFirstLine + index(line));
}

// The line an overlay is, or none for a shape.
std::optional<OverlayLine> lineOf(Overlay item)
{
    const int at = static_cast<int>(item);
    if (at < kFirstLine)
        return std::nullopt;
    return static_cast<OverlayLine>(at - kFirstLine);
}

Shape shapeOf(Overlay item)
{
    return static_cast<Shape>(static_cast<int>(item));
}

const int kBaseSize = screenSide();

// The side of a tile of the repaint after a frame of the afterglow, in logical pixels.
constexpr int kTile = 16;

QRegion tileRegion(const std::vector<TraceChange>& pieces, QSize size)
{
    const int columns = (size.width() + kTile - 1) / kTile;
    const int rows = (size.height() + kTile - 1) / kTile;
    if (columns <= 0 || rows <= 0)
        return {};
    std::vector<char> touched(static_cast<std::size_t>(columns * rows), 0);
    for (const TraceChange& piece : pieces) {
        const QRect r = toQt(piece.box()).toAlignedRect() & QRect(QPoint(0, 0), size);
        for (int row = r.top() / kTile; !r.isEmpty() && row <= r.bottom() / kTile; ++row) {
            for (int column = r.left() / kTile; column <= r.right() / kTile; ++column) {
                // Every pixel the tile and the box share is sent to the display again, and
                // the box of a slanting line is mostly empty.
                const RectF tile{double(column * kTile), double(row * kTile), double(kTile),
                                 double(kTile)};
                if (piece.reaches(tile))
                    touched[static_cast<std::size_t>(row * columns + column)] = 1;
            }
        }
    }
    // Runs of touched tiles, row by row: rectangles in the bands a region keeps.
    std::vector<QRect> runs;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns;) {
            if (!touched[static_cast<std::size_t>(row * columns + column)]) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < columns && touched[static_cast<std::size_t>(row * columns + column)])
                ++column;
            runs.push_back(QRect(first * kTile, row * kTile, (column - first) * kTile, kTile) &
                           QRect(QPoint(0, 0), size));
        }
    }
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

} // namespace

ScreenArea::ScreenArea(QWidget* parent)
    : PictureArea(toQColor(palette::kScreenGround), toQColor(palette::kScreenForeground), parent)
{
    for (std::size_t s = 0; s < m_shapes.size(); ++s)
        m_shapes[s] = twips(kShapeStarts[s][0], kShapeStarts[s][1]);
    for (std::size_t l = 0; l < m_lines.size(); ++l) {
        const auto& ends = kDropLineStarts[l];
        m_lines[l] = QLineF(twips(ends[0], ends[1]), twips(ends[2], ends[3]));
    }
    // The figure's drawing keeps off the event thread, so the beam and the controls go on.
    setDrawnAside(true);
}

QPointF ScreenArea::placeAtHundred(double x, double y) const
{
    const QSizeF shown =
        width() > 0 && height() > 0 ? QSizeF(size()) : QSizeF(kBaseSize, kBaseSize);
    const QPointF place =
        toQt(mapPoint(imageMapping(frame(), {shown.width(), shown.height()}, {zoom()}, 1.0), x, y));
    return {place.x() * kBaseSize / shown.width(), place.y() * kBaseSize / shown.height()};
}

PixelMapping ScreenArea::shownFromHundred() const
{
    const QSizeF shown =
        width() > 0 && height() > 0 ? QSizeF(size()) : QSizeF(kBaseSize, kBaseSize);
    return pixelMapping({0, 0, double(kBaseSize), double(kBaseSize)},
                        {shown.width(), shown.height()}, 1, yUp());
}

QRect ScreenArea::overlayBounds(Overlay item) const
{
    // A cosmetic pen reaches half its width beyond the shape or line.
    const int margin = linePixels(zoom()) + 1;
    const auto line = lineOf(item);
    const QRectF r = line ? QRectF(overlayLine(*line).p1(), overlayLine(*line).p2()).normalized()
                          : shapeRect(shapeOf(item));
    return r.toAlignedRect().adjusted(-margin, -margin, margin, margin);
}

template <typename Change> void ScreenArea::changeOverlay(Overlay item, Change change)
{
    // Only where the overlay was and where it is now: a frame of the animation moves five
    // small overlays, and copying the whole screen's picture each frame would cost a large
    // screen most of its time. Not the steps between either: a frame sets a drop line's ends
    // one after another, and the box of the slanting line between them reaches from an axis
    // to the beam.
    bool& moved = m_moved[static_cast<std::size_t>(item)];
    if (!moved) {
        update(overlayBounds(item));
        moved = true;
    }
    change();
    if (!m_markPending) {
        // Posted at normal priority, this runs in the next pump ahead of the repaint, which
        // Qt posts at low priority.
        m_markPending = true;
        QMetaObject::invokeMethod(this, &ScreenArea::markMovedOverlays, Qt::QueuedConnection);
    }
}

void ScreenArea::markMovedOverlays()
{
    m_markPending = false;
    for (std::size_t item = 0; item < m_moved.size(); ++item) {
        if (m_moved[item])
            update(overlayBounds(static_cast<Overlay>(item)));
        m_moved[item] = false;
    }
}

void ScreenArea::setShapeLeft(Shape shape, double left)
{
    if (!std::isfinite(left))
        return;
    changeOverlay(overlay(shape),
                  [&] { m_shapes[index(shape)].setX(placeAtHundred(left, 0).x()); });
}

void ScreenArea::setShapeTop(Shape shape, double top)
{
    if (!std::isfinite(top))
        return;
    changeOverlay(overlay(shape), [&] { m_shapes[index(shape)].setY(placeAtHundred(0, top).y()); });
}

void ScreenArea::bringToFront(Shape shape)
{
    changeOverlay(overlay(shape), [&] {
        const auto it = std::find(m_stacking.begin(), m_stacking.end(), overlay(shape));
        std::rotate(it, it + 1, m_stacking.end());
    });
}

void ScreenArea::setLineEnd(OverlayLine line, LineEnd end, double value)
{
    if (!std::isfinite(value))
        return;
    changeOverlay(overlay(line), [&] {
        QLineF& l = m_lines[index(line)];
        const double x = placeAtHundred(value, 0).x();
        const double y = placeAtHundred(0, value).y();
        switch (end) {
        case LineEnd::X1:
            l.setP1({x, l.y1()});
            break;
        case LineEnd::Y1:
            l.setP1({l.x1(), y});
            break;
        case LineEnd::X2:
            l.setP2({x, l.y2()});
            break;
        case LineEnd::Y2:
            l.setP2({l.x2(), y});
            break;
        }
    });
}

QRectF ScreenArea::shapeRect(Shape shape) const
{
    // A shape reaches from its corner toward growing x and y of the frame; mirrored, its
    // corner is the bottom one.
    const PixelMapping m = shownFromHundred();
    const double size = static_cast<double>(kMarkerTwips) / kTwipsPerPixel;
    const QPointF place = m_shapes[index(shape)];
    return QRectF(toQt(mapPoint(m, place.x(), place.y())),
                  toQt(mapPoint(m, place.x() + size, place.y() + size)))
        .normalized();
}

QLineF ScreenArea::overlayLine(OverlayLine line) const
{
    const PixelMapping m = shownFromHundred();
    const QLineF& l = m_lines[index(line)];
    return {toQt(mapPoint(m, l.x1(), l.y1())), toQt(mapPoint(m, l.x2(), l.y2()))};
}

void ScreenArea::setReadingAid(bool on)
{
    changePicture().readingAid = on;
    update();
}

void ScreenArea::setAfterglow(bool on)
{
    ScreenPicture& picture = changePicture();
    if (!on)
        picture.trace.clear();
    if (on != picture.afterglow) {
        // The figure is dimmed beneath the trace.
        picture.afterglow = on;
        remakeImage();
    }
    update();
}

void ScreenArea::followBeam(double t, const Parameter& p, double now)
{
    m_beamRunning = true;
    if (m_prediction.drawsPath()) {
        m_prediction.beamAt(t, p);
        showPrediction();
    }
    if (afterglow()) {
        const bool wasEmpty = picture().trace.points().empty();
        changeTrace().follow(t, p, now);
        markTraceChanged(wasEmpty);
    }
    emit beamMoved();
}

void ScreenArea::markTraceChanged(bool wasEmpty)
{
    bool whole = false;
    const std::vector<TraceChange> changed = picture().traceDamage(
        m_traceDamage, fromQt(QRectF(rect())), linePixels(zoom()), devicePixelRatioF(), whole);
    // The readings are drawn over the figure at once where there is no trace, and as a layer
    // over the trace where there is one: the two may differ in a pixel's last bit.
    if (whole || wasEmpty != picture().trace.points().empty()) {
        scheduleRepaint();
        return;
    }
    // Not the boxes themselves: a dense figure changes hundreds of them a frame. The tiles
    // they touch make few rectangles, for the repaint and for the copy to the display.
    update(tileRegion(changed, size()));
}

void ScreenArea::stopBeam()
{
    m_beamRunning = false;
}

void ScreenArea::clear()
{
    // A redraw while the beam runs (a bar moved, the phase drifting) keeps the glow, as the
    // phosphor would.
    if (!m_beamRunning)
        changePicture().trace.clear();
    if (m_prediction.mode() != Prediction::Mode::Off) {
        m_prediction.settingChanged();
        showPrediction();
    }
    PictureArea::clear();
}

void ScreenArea::setPresenting(bool on)
{
    ScreenPicture& picture = changePicture();
    picture.legendElsewhere = on;
    picture.brightGraticule = on;
    const QScreen* display = screen();
    picture.displayHeight = on && display ? display->geometry().height() : 0;
    remakeImage();
}

void ScreenArea::setPrediction(Prediction::Mode mode)
{
    m_prediction.setMode(mode);
    showPrediction();
}

void ScreenArea::resolvePrediction()
{
    m_prediction.resolve();
    showPrediction();
}

void ScreenArea::showPrediction()
{
    ScreenPicture& picture = changePicture();
    const bool hidden = !m_prediction.figureShown();
    // The beam's own path, unless its afterglow draws it, fading.
    picture.beamPath = afterglow() ? std::vector<std::vector<Point>>() : m_prediction.path();
    if (hidden != picture.figureHidden) {
        picture.figureHidden = hidden;
        remakeImage();
        emit predictionChanged();
    }
    scheduleRepaint();
}

void ScreenArea::setEntryAccepted(bool accepted)
{
    if (accepted == entryAccepted())
        return;
    changePicture().entryAccepted = accepted;
    if (readingAid() || values())
        update();
}

void ScreenArea::setValues(bool on)
{
    changePicture().values = on;
    update();
}

void ScreenArea::setGraticule(bool on)
{
    changePicture().graticule = on;
    remakeImage();
}

void ScreenArea::paintEvent(QPaintEvent* event)
{
    PictureArea::paintEvent(event);
    // The legend follows the readings: a frame of the beam reads the figure no more than they.
    if (std::exchange(m_legendReadAt, readingsDescribed()) == readingsDescribed())
        return;
    QStringList beside;
    for (const std::string& line : legendBesideReadings())
        beside << QString::fromStdString(line);
    if (beside != std::exchange(m_legendBeside, beside))
        emit legendBesideChanged();
}

void ScreenArea::paintOverlays(QPainter& painter)
{
    OverlayPlaces places;
    for (const Shape shape : {Shape::BeamPoint, Shape::YMarker, Shape::XMarker})
        places.shapes[index(shape)] = fromQt(shapeRect(shape));
    for (const OverlayLine line : {OverlayLine::DropToXAxis, OverlayLine::DropToYAxis}) {
        const QLineF l = overlayLine(line);
        places.lines[index(line)] = {fromQt(l.p1()), fromQt(l.p2())};
    }
    places.stacking = m_stacking;
    m_overlays.clear();
    describeOverlays(m_overlays, places, linePixels(zoom()));
    m_overlayPainter.paint(painter, m_overlays);
}

} // namespace korvelian
