#pragma once

#include <atomic>
#include <cstdint>

namespace korvelian {

// Words of lit pixels that two threads add to at once while both read them. A word read a
// little late only holds fewer lit pixels, which never skips a segment that would add one,
// so relaxed order suffices.

inline std::uint64_t loadShared(const std::uint64_t& word)
{
    return std::atomic_ref<std::uint64_t>(const_cast<std::uint64_t&>(word))
        .load(std::memory_order_relaxed);
}

inline void orShared(std::uint64_t& word, std::uint64_t bits)
{
    std::atomic_ref<std::uint64_t> shared(word);
    if ((bits & ~shared.load(std::memory_order_relaxed)) != 0)
        shared.fetch_or(bits, std::memory_order_relaxed);
}

} // namespace korvelian
