#pragma once

#include "picture/changedtiles.h"
#include "picture/scenepainter.h"
#include "scene/scene.h"

#include <QImage>
#include <QRegion>

#include <memory>
#include <vector>

namespace korvelian {

// The readings over a picture area's drawing (the reading aid, the values) made into pixels:
// over a copy of the drawing's image, or into a layer of their own that lies over the
// afterglow's trace. They depend on the figure, not on the beam, so each is painted once for
// each change of the drawing's image or of the readings. Both images keep their memory from
// one figure to the next: a drifting phase makes a new figure at every step, and a fresh image
// of a large screen cost the faults of all its pages each time.
class ReadingsImages
{
public:
    // The image or the readings changed: both are painted again when next asked for.
    void outdate()
    {
        m_overCurrent = false;
        m_layerCurrent = false;
    }
    // The image with the readings over it; the image itself where there are none.
    const QImage& over(const QImage& image, const Scene& readings, ScenePainter& painter);
    // The readings alone on a transparent ground of the image's size.
    const QImage& layer(const QImage& image, const Scene& readings, ScenePainter& painter);
    // The two images as painted elsewhere for the image now shown and the readings now held
    // (null: not painted there), with the layer's tiles that have anything in them (null: not
    // known); gives the images they replace.
    std::vector<QImage> adopt(QImage over, QImage layer,
                              std::shared_ptr<const TileMask> layerTiles);
    // The images as they stand where they are painted, else null.
    const QImage* currentOver() const { return m_overCurrent ? &m_over : nullptr; }
    const QImage* currentLayer() const { return m_layerCurrent ? &m_layer : nullptr; }
    // The layer's tiles with anything in them, as tiles and as a region in device pixels.
    const std::shared_ptr<const TileMask>& layerTiles() const { return m_layerTiles; }
    const QRegion& layerRegion() const { return m_layerRegion; }

private:
    QImage m_over;
    bool m_overCurrent = false;
    QImage m_layer;
    bool m_layerCurrent = false;
    std::shared_ptr<const TileMask> m_layerTiles;
    QRegion m_layerRegion;
    void setLayerTiles(std::shared_ptr<const TileMask> tiles);
};

} // namespace korvelian
