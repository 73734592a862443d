#include "seededpick.h"

#include <numeric>

namespace korvelian {

std::uint32_t SeededPick::below(std::uint32_t count)
{
    // Words from the largest multiple of count up would favour the small results.
    constexpr std::uint64_t kWords = std::uint64_t{1} << 32;
    const std::uint64_t limit = kWords - kWords % count;
    for (;;) {
        const std::uint64_t word = m_engine();
        if (word < limit)
            return static_cast<std::uint32_t>(word % count);
    }
}

std::vector<std::size_t> SeededPick::order(std::size_t count)
{
    std::vector<std::size_t> indices(count);
    std::iota(indices.begin(), indices.end(), std::size_t{0});
    for (std::size_t i = count; i > 1; --i)
        std::swap(indices[i - 1], indices[below(static_cast<std::uint32_t>(i))]);
    return indices;
}

} // namespace korvelian
