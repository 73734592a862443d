#include "asidedrawing.h"

#include "model/figurepoints.h"
#include "picture/changedtiles.h"
#include "raster/figureraster.h"

#include <utility>

namespace korvelian {

namespace {

// The side of a tile of the screen sent again after a pass, in device pixels: a step of a
// drifting phase moves the figure's line by a pixel or two, and tiles along it are a small
// share of a large screen.
constexpr int kTile = 16;

} // namespace

std::size_t AsideDrawing::previewBlocks(const Drawing& drawing, bool fine)
{
    const DrawOp* figure = lastFigure(drawing);
    return figure ? FigureRaster::previewBlocks(figurePointCount(*figure, fine)) : 0;
}

QImage AsideDrawing::take(const QSize& size)
{
    std::lock_guard lock(spareMutex);
    for (auto it = spare.begin(); it != spare.end(); ++it) {
        if (it->size() == size) {
            QImage image = std::move(*it);
            spare.erase(it);
            return image;
        }
    }
    spare.clear();
    return QImage(size, QImage::Format_RGB32);
}

void AsideDrawing::giveBack(QImage image)
{
    // Only an image nothing else shares: drawing into it must not copy it first.
    constexpr std::size_t kMostSpare = 2;
    if (image.isNull() || !image.isDetached() || image.format() != QImage::Format_RGB32)
        return;
    std::lock_guard lock(spareMutex);
    if (spare.size() < kMostSpare)
        spare.push_back(std::move(image));
}

bool AsideDrawing::draw(const ScreenPicture& picture, const QSize& deviceSize, qreal ratio,
                        const DrawLimits& limits, QImage& before, Pass& pass)
{
    QImage image = take(deviceSize);
    image.setDevicePixelRatio(ratio);
    if (!renderAreaImage(image, picture, renderer, scenePainter, limits)) {
        giveBack(std::move(image));
        return false;
    }
    pass.compared = !before.isNull() && before.size() == image.size();
    if (pass.compared) {
        pass.replaced = before.cacheKey();
        pass.changed = changedTiles(before, image, kTile);
    }
    // Kept for the exact pass after a preview; let go once drawn, so that the screen can hand
    // the image it replaces back as a spare one.
    before = limits.blocks < DrawLimits().blocks ? image : QImage();
    pass.image = std::move(image);
    return true;
}

} // namespace korvelian
