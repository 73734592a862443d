#pragma once

#include "sharedwords.h"

#include <cstdint>

namespace korvelian {

// Runs of bits from .. to in a line of 64-bit words that has one spare word at its end, as run
// bitmaps and lit rows keep each row and column of pixels: set, or looked up in words that
// other threads may add to.

inline constexpr std::uint64_t kAllBits = ~std::uint64_t{0};

// A run of at most 64 bits, from .. to, in the word that holds bit from and the one after it:
// made without a branch, which the runs of a segment, one or two words each, would mispredict.
struct ShortRun
{
    std::uint64_t first;
    std::uint64_t second;
};

[[gnu::always_inline]] inline ShortRun shortRun(int from, int to)
{
    const std::uint64_t ones = kAllBits >> (63 - (to - from));
    return {ones << (from & 63), (ones >> 1) >> (63 - (from & 63))};
}

// Sets bits from..to of a line of words that has one spare word at its end and returns the
// bits that were not set before.
[[gnu::always_inline]] inline std::uint64_t setBits(std::uint64_t* words, int from, int to)
{
    if (to - from < 64) {
        std::uint64_t* at = words + (from >> 6);
        const ShortRun run = shortRun(from, to);
        const std::uint64_t added = (run.first & ~at[0]) | (run.second & ~at[1]);
        at[0] |= run.first;
        at[1] |= run.second;
        return added;
    }
    const int first = from >> 6;
    const int last = to >> 6;
    const std::uint64_t head = kAllBits << (from & 63);
    const std::uint64_t tail = kAllBits >> (63 - (to & 63));
    std::uint64_t added = (head & ~words[first]) | (tail & ~words[last]);
    words[first] |= head;
    words[last] |= tail;
    for (int w = first + 1; w < last; ++w) {
        added |= ~words[w];
        words[w] = kAllBits;
    }
    return added;
}

inline std::uint64_t setBit(std::uint64_t* words, int index)
{
    const std::uint64_t bit = std::uint64_t{1} << (index & 63);
    const std::uint64_t added = bit & ~words[index >> 6];
    words[index >> 6] |= bit;
    return added;
}

// The bits from..to of a line of words that are not set.
[[gnu::always_inline]] inline std::uint64_t missingBits(const std::uint64_t* words, int from,
                                                        int to)
{
    if (to - from < 64) {
        const std::uint64_t* at = words + (from >> 6);
        const ShortRun run = shortRun(from, to);
        return (run.first & ~loadShared(at[0])) | (run.second & ~loadShared(at[1]));
    }
    const int first = from >> 6;
    const int last = to >> 6;
    const std::uint64_t head = kAllBits << (from & 63);
    const std::uint64_t tail = kAllBits >> (63 - (to & 63));
    std::uint64_t missing = (head & ~loadShared(words[first])) | (tail & ~loadShared(words[last]));
    for (int w = first + 1; w < last; ++w)
        missing |= ~loadShared(words[w]);
    return missing;
}

} // namespace korvelian
