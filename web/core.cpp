#include "core.h"

#include "model/fastsine.h"
#include "scenejson.h"

namespace korvelian {

Core& core()
{
    static Core* theCore = new Core;
    return *theCore;
}

const char* written(Json& json)
{
    return json.str().c_str();
}

const char* sceneJson(const Scene& scene)
{
    Core& c = core();
    c.json.clear();
    c.drawings.clear();
    writeScene(c.json, scene, c.drawings);
    return written(c.json);
}

} // namespace korvelian

// 1 where the figure's sines now come from the kernel with the browser's multiply-add.
KORV_EXPORT(offerFusedSines) int korvOfferFusedSines()
{
    return korvelian::offerHostSines(hostFusedSines) ? 1 : 0;
}
