#pragma once

#include <cstddef>
#include <functional>
#include <limits>

namespace korvelian {

// How much of a figure is drawn: its first `blocks` blocks in the raster's spread order (a
// preview, which lights only pixels the whole figure lights), and a check polled between
// blocks that ends the drawing early (a request that a newer one made stale). The check may
// be called from every core that draws the figure at once. resume goes on from where the
// same raster's last drawing of the same figure at the same place stopped after its blocks
// (the exact picture after its preview): the lit pixels are the same either way, as they are
// whatever order the blocks come in. cores caps the cores the figure is drawn on; the pixels
// are the same on any number.
struct DrawLimits
{
    std::size_t blocks = std::numeric_limits<std::size_t>::max();
    std::function<bool()> stop;
    bool resume = false;
    std::size_t cores = std::numeric_limits<std::size_t>::max();

    bool stopped() const { return stop && stop(); }
};

} // namespace korvelian
