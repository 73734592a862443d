#include "readingsimages.h"

#include <QPainter>

#include <cstring>
#include <utility>

namespace korvelian {

namespace {

// An image of the size and format asked for, the one kept where it fits and nothing else
// shares it.
void keepFitting(QImage& kept, const QImage& like, QImage::Format format)
{
    if (kept.size() != like.size() || kept.format() != format || !kept.isDetached())
        kept = QImage(like.size(), format);
    kept.setDevicePixelRatio(like.devicePixelRatio());
}

// As the drawing thread finds them for its layers.
constexpr int kLayerTile = 16;

} // namespace

void ReadingsImages::setLayerTiles(std::shared_ptr<const TileMask> tiles)
{
    m_layerTiles = std::move(tiles);
    m_layerRegion = QRegion();
    if (!m_layerTiles)
        return;
    const std::vector<QRect> runs = m_layerTiles->runs();
    m_layerRegion.setRects(runs.data(), static_cast<int>(runs.size()));
}

const QImage& ReadingsImages::over(const QImage& image, const Scene& readings,
                                   ScenePainter& painter)
{
    if (readings.empty())
        return image;
    if (!m_overCurrent) {
        keepFitting(m_over, image, image.format());
        if (m_over.bytesPerLine() == image.bytesPerLine())
            std::memcpy(m_over.bits(), image.constBits(),
                        static_cast<std::size_t>(image.sizeInBytes()));
        else
            m_over = image.copy();
        QPainter onImage(&m_over);
        painter.paint(onImage, readings);
        m_overCurrent = true;
    }
    return m_over;
}

const QImage& ReadingsImages::layer(const QImage& image, const Scene& readings,
                                    ScenePainter& painter)
{
    if (!m_layerCurrent) {
        keepFitting(m_layer, image, QImage::Format_ARGB32_Premultiplied);
        m_layer.fill(Qt::transparent);
        {
            QPainter onLayer(&m_layer);
            painter.paint(onLayer, readings);
        }
        setLayerTiles(std::make_shared<const TileMask>(occupiedTiles(m_layer, kLayerTile)));
        m_layerCurrent = true;
    }
    return m_layer;
}

std::vector<QImage> ReadingsImages::adopt(QImage over, QImage layer,
                                          std::shared_ptr<const TileMask> layerTiles)
{
    std::vector<QImage> replaced;
    if (!over.isNull()) {
        replaced.push_back(std::exchange(m_over, std::move(over)));
        m_overCurrent = true;
    }
    if (!layer.isNull()) {
        replaced.push_back(std::exchange(m_layer, std::move(layer)));
        setLayerTiles(std::move(layerTiles));
        m_layerCurrent = true;
    }
    return replaced;
}

} // namespace korvelian
