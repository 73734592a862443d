#include "scene.h"

namespace korvelian {

Scene& Scene::append(const Scene& other)
{
    m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
    return *this;
}

} // namespace korvelian
