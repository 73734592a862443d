#include "overlays.h"

namespace korvelian {

void describeOverlays(Scene& scene, const OverlayPlaces& places, int lineWidth)
{
    scene.antialias(false);
    for (const Overlay item : places.stacking) {
        const auto at = static_cast<std::size_t>(item);
        if (at >= places.shapes.size()) {
            const auto& line = places.lines[at - places.shapes.size()];
            scene.pen(Pen{{palette::kDropLine}, static_cast<double>(lineWidth)}.asCosmetic());
            scene.line(line[0], line[1]);
            continue;
        }
        // Whole pixels, the outline inside them.
        const RectF r = places.shapes[at].toWhole().adjusted(0, 0, -1, -1);
        scene.pen(Pen{{palette::kBeamPoint}, static_cast<double>(lineWidth)}.asCosmetic());
        if (item == Overlay::BeamPoint) {
            scene.brush({palette::kBeamPoint});
            scene.add(item::Ellipse{r, true});
        } else {
            scene.brush({palette::kMarker});
            scene.add(item::Rect{r, true});
        }
    }
}

} // namespace korvelian
