#pragma once

#include <cstdint>

#if !defined(KORVELIAN_SINGLE_THREAD)
#include <atomic>
#endif

namespace korvelian {

#if defined(KORVELIAN_SINGLE_THREAD)

// One thread draws everything (the browser edition): the words are plain.

inline std::uint64_t loadShared(const std::uint64_t& word)
{
    return word;
}

inline void orShared(std::uint64_t& word, std::uint64_t bits)
{
    word |= bits;
}

#else

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

#endif

} // namespace korvelian
