// The picture area's readings over its drawing (the reading aid, the values), worked out on the
// event thread or taken from a pass drawn aside, and the paint that shows them with the drawing.
#include "picturearea.h"

#include "focusmark.h"
#include "form/pixels.h"

#include <QBackingStore>
#include <QPaintEvent>

namespace korvelian {

bool PictureArea::readingsDue() const
{
    if (m_readingsSize != size())
        return true;
    // A pass under way brings the readings of the picture it draws, worked out there with its
    // figure; until it comes, the image shown keeps those of its own figure.
    return m_readingsOf != m_readingsVersion && m_awaitedReadings != m_readingsVersion;
}

void PictureArea::describeReadings()
{
    if (!readingsDue())
        return;
    auto readings = std::make_shared<Scene>();
    const RectF area = fromQt(QRectF(rect()));
    picture().describeReadings(*readings, qtTextMetrics(), area, linePixels(zoom()), false);
    m_legendBeside = picture().legendBeside(qtTextMetrics(), area);
    m_readings = std::move(readings);
    m_readingsOf = m_readingsVersion;
    m_readingsSize = size();
    ++m_readingsDescribed;
    m_readingsImages.outdate();
    // The screen shows other readings than these until it is painted whole.
    m_screenKey = {};
}

std::vector<QImage> PictureArea::adoptReadings(DrawnReadings& readings)
{
    // Readings of an earlier version go with the pass's image while a newer request brings the
    // next (a drifting phase asks for a figure before the last is shown); never over newer ones.
    if (!readings.scene || readings.version < m_readingsOf || readings.size != size())
        return {};
    if (m_readingsOf != readings.version || m_readingsSize != readings.size)
        ++m_readingsDescribed;
    m_readings = readings.scene;
    m_readingsOf = readings.version;
    m_readingsSize = readings.size;
    m_legendBeside = readings.beside;
    return m_readingsImages.adopt(std::move(readings.over), std::move(readings.layer),
                                  std::move(readings.layerTiles));
}

bool PictureArea::overDrawing() const
{
    return (m_picture.afterglow && !m_picture.trace.points().empty()) ||
           (m_picture.figureHidden && !m_picture.beamPath.empty());
}

std::optional<ShownImages> PictureArea::shownNow(bool requestComing) const
{
    if (m_image.isNull() || (readingsDue() && !requestComing))
        return std::nullopt;
    if (m_readings->empty())
        return ShownImages{m_image, {}, nullptr};
    if (overDrawing()) {
        if (const QImage* layer = m_readingsImages.currentLayer())
            return ShownImages{m_image, *layer, m_readingsImages.layerTiles()};
    } else if (const QImage* over = m_readingsImages.currentOver()) {
        return ShownImages{*over, {}, nullptr};
    }
    return std::nullopt;
}

void PictureArea::paintEvent(QPaintEvent* event)
{
    m_repaintPending = false;
    // Into another device than the window's (a grab, a render()): what is asked for is exact.
    QBackingStore* store = backingStore();
    const bool onScreen = store && redirected(nullptr) == store->paintDevice();
    if (!m_drawnAside || m_image.isNull() || !onScreen)
        render();
    else if (!(m_imageExact && m_imageState == currentState()))
        requestDrawing();
    describeReadings();
    QPainter painter(this);
    const QRegion& region = event->region();
    ShownImages shown;
    if (!overDrawing()) {
        shown.under = m_readingsImages.over(m_image, *m_readings, m_scenePainter);
        copyImage(painter, region, shown.under);
    } else {
        // A frame of the afterglow repaints where its trace changed: only the pieces that
        // reach there are painted, clipped to it.
        shown.under = m_image;
        copyImage(painter, region, m_image);
        m_trace.clear();
        const bool whole = region.rectCount() == 1 && region.boundingRect().contains(rect());
        picture().describeTrace(
            m_trace, fromQt(QRectF(rect())), linePixels(zoom()), false, devicePixelRatioF(),
            whole ? std::function<bool(const RectF&)>() : [&region](const RectF& box) {
                return region.intersects(toQt(box).toAlignedRect());
            });
        m_scenePainter.paint(painter, m_trace);
        if (!m_readings->empty()) {
            shown.layer = m_readingsImages.layer(m_image, *m_readings, m_scenePainter);
            // Where the layer is empty it leaves the trace as it is.
            drawByRectangle(painter, region, shown.layer,
                            m_readingsImages.layerTiles() ? &m_readingsImages.layerRegion()
                                                          : nullptr);
        }
    }
    if (onScreen && (QRegion(rect()) - region).isEmpty())
        m_screenKey = ShownKeys::of(shown);
    paintOverlays(painter);
    paintFocusMark(*this, painter, linePixels(zoom()));
}

} // namespace korvelian
