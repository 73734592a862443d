#include "asidedrawing.h"

#include "form/pixels.h"
#include "model/figurepoints.h"
#include "picture/changedtiles.h"
#include "raster/figureraster.h"

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <utility>

namespace korvelian {

namespace {

// The side of a tile of the screen sent again after a pass, in device pixels: a step of a
// drifting phase moves the figure's line by a pixel or two, and tiles along it are a small
// share of a large screen.
constexpr int kTile = 16;

} // namespace

ShownImages AsideDrawing::Pass::shown() const
{
    return {readings.over.isNull() ? image : readings.over, readings.layer, readings.layerTiles};
}

std::size_t AsideDrawing::previewBlocks(const Drawing& drawing, bool fine)
{
    const DrawOp* figure = lastFigure(drawing);
    return figure ? FigureRaster::previewBlocks(figurePointCount(*figure, fine)) : 0;
}

QImage AsideDrawing::take(const QSize& size, QImage::Format format)
{
    std::lock_guard lock(spareMutex);
    for (auto it = spare.begin(); it != spare.end(); ++it) {
        if (it->size() == size && it->format() == format) {
            QImage image = std::move(*it);
            spare.erase(it);
            return image;
        }
    }
    std::erase_if(spare, [&](const QImage& image) { return image.size() != size; });
    return QImage(size, format);
}

void AsideDrawing::giveBack(QImage image)
{
    // Only an image nothing else shares: drawing into it must not copy it first. The figure,
    // the readings over it and their layer of the pass shown and of the one drawn.
    constexpr std::size_t kMostSpare = 4;
    if (image.isNull() || !image.isDetached() ||
        (image.format() != QImage::Format_RGB32 &&
         image.format() != QImage::Format_ARGB32_Premultiplied))
        return;
    std::lock_guard lock(spareMutex);
    if (spare.size() < kMostSpare)
        spare.push_back(std::move(image));
}

QImage AsideDrawing::takeLayer(const QSize& size)
{
    QImage layer = take(size, QImage::Format_ARGB32_Premultiplied);
    // Any change to an image gives it a new key: one found is as this thread left it.
    const auto drawn = std::find_if(drawnLayers.begin(), drawnLayers.end(), [&](const auto& entry) {
        return entry.first == layer.cacheKey();
    });
    if (drawn == drawnLayers.end() || drawn->second->size() != layer.size()) {
        layer.fill(Qt::transparent);
        return layer;
    }
    const std::shared_ptr<const TileMask> tiles = drawn->second;
    drawnLayers.erase(drawn);
    uchar* bits = layer.bits();
    const qsizetype line = layer.bytesPerLine();
    for (const QRect& run : tiles->runs()) {
        for (int y = run.top(); y <= run.bottom(); ++y)
            std::memset(bits + y * line + run.left() * 4, 0,
                        static_cast<std::size_t>(run.width()) * 4);
    }
    return layer;
}

void AsideDrawing::drawReadings(const ScreenPicture& picture, Request& request, Pass& pass)
{
    DrawnReadings& readings = request.readings;
    const QImage& image = pass.image;
    if (!readings.scene) {
        // The touch points of a large figure are read here, on this thread, with the figure.
        auto scene = std::make_shared<Scene>();
        const RectF target{0, 0, picture.size.width, picture.size.height};
        picture.describeReadings(*scene, metrics, target, linePixels(picture.zoom), false);
        readings.beside = picture.legendBeside(metrics, target);
        readings.size = QSizeF(picture.size.width, picture.size.height).toSize();
        readings.scene = std::move(scene);
        // Over the afterglow's trace, which changes in every frame of the beam, they are a
        // layer of their own, the same for every pass of the request.
        if (picture.afterglow && !readings.scene->empty()) {
            readings.layer = takeLayer(image.size());
            readings.layer.setDevicePixelRatio(image.devicePixelRatio());
            {
                QPainter onLayer(&readings.layer);
                scenePainter.paint(onLayer, *readings.scene);
            }
            // Most of the layer is empty: the next step compares, and the screen lays over
            // its trace, only the tiles where either layer has something.
            readings.layerTiles =
                std::make_shared<const TileMask>(occupiedTiles(readings.layer, kTile));
            constexpr std::size_t kKeptLayers = 4;
            if (drawnLayers.size() >= kKeptLayers)
                drawnLayers.erase(drawnLayers.begin());
            drawnLayers.emplace_back(readings.layer.cacheKey(), readings.layerTiles);
        }
    }
    pass.readings = readings;
    if (picture.afterglow || readings.scene->empty())
        return;
    QImage& over = pass.readings.over;
    over = take(image.size());
    over.setDevicePixelRatio(image.devicePixelRatio());
    std::memcpy(over.bits(), image.constBits(), static_cast<std::size_t>(image.sizeInBytes()));
    QPainter onImage(&over);
    scenePainter.paint(onImage, *readings.scene);
}

bool AsideDrawing::draw(const std::shared_ptr<const ScreenPicture>& picture,
                        const QSize& deviceSize, qreal ratio, const DrawLimits& limits,
                        Request& request, Pass& pass)
{
    QImage image = take(deviceSize);
    image.setDevicePixelRatio(ratio);
    if (!renderAreaImage(image, *picture, renderer, scenePainter, limits)) {
        giveBack(std::move(image));
        return false;
    }
    pass.image = std::move(image);
    pass.picture = picture;
    drawReadings(*picture, request, pass);
    const bool complete = limits.blocks >= DrawLimits().blocks;
    const ShownImages shown = pass.shown();
    const ShownImages& before = request.before;
    pass.compared = !before.under.isNull() && before.under.size() == shown.under.size() &&
                    before.layer.isNull() == shown.layer.isNull();
    if (pass.compared) {
        pass.replaced = ShownKeys::of(before);
        // Readings drawn into the image compared may change anywhere with the figure; in a
        // layer of their own over the afterglow they leave the figure's image plain.
        const bool plain = request.beforePicture &&
                           shown.under.cacheKey() == pass.image.cacheKey() &&
                           before.under.devicePixelRatio() == ratio;
        const std::optional<TileMask> within =
            plain ? differingTiles(*request.beforePicture, request.beforeComplete, *picture,
                                   complete, deviceSize, ratio, kTile)
                  : std::nullopt;
        pass.changed = within ? changedTiles(before.under, shown.under, *within)
                              : changedTiles(before.under, shown.under, kTile);
        if (!shown.layer.isNull() && shown.layer.cacheKey() != before.layer.cacheKey()) {
            // Two layers differ only where either has something.
            std::optional<TileMask> occupied;
            if (before.layerTiles && shown.layerTiles) {
                occupied = *before.layerTiles;
                occupied->unite(*shown.layerTiles);
            }
            for (const QRect& tile : occupied ? changedTiles(before.layer, shown.layer, *occupied)
                                              : changedTiles(before.layer, shown.layer, kTile))
                pass.changed.push_back(tile);
        }
    }
    // Kept for the exact pass after a preview; let go once drawn, so that the screen can hand
    // the images it replaces back as spare ones.
    if (!complete) {
        request.before = shown;
        request.beforePicture = shown.under.cacheKey() == pass.image.cacheKey() ? picture : nullptr;
        request.beforeComplete = false;
    } else {
        request.before = {};
        request.beforePicture = nullptr;
        request.readings.layer = QImage();
        request.readings.layerTiles = nullptr;
    }
    return true;
}

} // namespace korvelian
