#pragma once

#include "json.h"
#include "scene/scene.h"

#include <vector>

namespace korvelian {

// A scene as the page's painter reads it: a list of items, each a list that starts with the
// item's kind. Drawings stay in drawings, the page asks for their pixels by their place there.
void writeScene(Json& json, const Scene& scene, std::vector<item::Drawing>& drawings);

} // namespace korvelian
