#pragma once

#include "picture/changedtiles.h"
#include "picture/drawingrenderer.h"
#include "picture/scenepainter.h"
#include "raster/drawingthread.h"
#include "scene/screenpicture.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace korvelian {

// What the screen shows of a picture beneath the beam and its trace: the image it copies, and
// the readings' own layer over the afterglow's trace (null without one).
struct ShownImages
{
    QImage under;
    QImage layer;
    // The layer's tiles with anything in them, in device pixels; null where not known.
    std::shared_ptr<const TileMask> layerTiles;
};

// The keys of the images the screen shows (0 for none); all 0 where unknown.
struct ShownKeys
{
    qint64 under = 0;
    qint64 layer = 0;
    static ShownKeys of(const ShownImages& shown)
    {
        return {shown.under.cacheKey(), shown.layer.isNull() ? 0 : shown.layer.cacheKey()};
    }
    bool operator==(const ShownKeys&) const = default;
};

// The readings over a picture (the reading aid, the values) as a pass drew them with its
// figure: described, and painted over a copy of the drawing's image, or into a layer of their
// own where the afterglow's trace lies between them; with the legend's lines that have no room
// on the picture.
struct DrawnReadings
{
    // The version of the picture's readings that the pass drew.
    std::uint64_t version = 0;
    // Logical pixels the readings were placed in.
    QSize size;
    std::shared_ptr<const Scene> scene;
    QImage over;
    QImage layer;
    std::shared_ptr<const TileMask> layerTiles;
    TextLines beside;
};

// What a picture area draws aside with: the drawing thread with a renderer and a painter of
// its own, and the images it draws into.
struct AsideDrawing
{
    // A pass drawn, with the tiles, in device pixels, where what the screen shows of it differs
    // from what it showed of the pass it replaces (the one shown when it was asked for, or the
    // request's preview).
    struct Pass
    {
        QImage image;
        DrawnReadings readings;
        // Whether changed tells where it differs from what showed the images of keys replaced.
        bool compared = false;
        ShownKeys replaced;
        std::vector<QRect> changed;
        // The picture drawn, which a later request compares with while the screen shows it.
        std::shared_ptr<const ScreenPicture> picture;

        // What the screen shows of the pass beneath the beam.
        ShownImages shown() const;
    };

    // What the passes of one request share: what the screen showed before each (the images
    // shown when it was asked for, then its preview's), and the readings the first drew.
    struct Request
    {
        ShownImages before;
        // The picture that before.under is the plain image of (no readings over it), and
        // whether drawn whole: then only where the pictures differ is compared. Null: all.
        std::shared_ptr<const ScreenPicture> beforePicture;
        bool beforeComplete = false;
        DrawnReadings readings;
    };

    // The blocks of a preview of the drawing's figure, 0 where it is drawn whole at once.
    static std::size_t previewBlocks(const Drawing& drawing, bool fine);
    // An image of the size and format to draw into: one the screen no longer shows, or a new
    // one, and then spare ones of another size go.
    QImage take(const QSize& size, QImage::Format format = QImage::Format_RGB32);
    // An image no longer shown nor drawn into.
    void giveBack(QImage image);
    // Draws one pass of picture into a spare image, with its readings of the request's version
    // (described by its first pass), compared with what the screen showed before; false where
    // stop ended it.
    bool draw(const std::shared_ptr<const ScreenPicture>& picture, const QSize& deviceSize,
              qreal ratio, const DrawLimits& limits, Request& request, Pass& pass);

    DrawingRenderer renderer;
    // The screen's painter: the reading aid's many marks stamped, as on the event thread.
    ScenePainter scenePainter{ScenePainter::Repeats::Stamp};
    QtTextMetrics metrics;
    // A new image of a large screen for each pass would cost its pages' faults, and their
    // return to the system, on both threads in every frame of a drifting phase.
    std::mutex spareMutex;
    std::vector<QImage> spare;
    // The tiles with anything in them of the layers this thread drew last, by the key each had
    // once drawn: one of them taken again unchanged needs clearing only there.
    std::vector<std::pair<qint64, std::shared_ptr<const TileMask>>> drawnLayers;
    // Last: it ends before what its jobs use.
    DrawingThread thread;

private:
    // The readings of picture with the pass's image, the scene and layer of the request's
    // first pass kept.
    void drawReadings(const ScreenPicture& picture, Request& request, Pass& pass);
    // A layer of the size asked for, all transparent.
    QImage takeLayer(const QSize& size);
};

} // namespace korvelian
