#include "bittranspose.h"

#include "model/vectorcode.h"

namespace korvelian {

void transposeBitsPlain(std::array<std::uint64_t, 64>& a)
{
    // Halves, then quarters, ... of the square swap their off-diagonal blocks.
    std::uint64_t mask = 0x00000000FFFFFFFFull;
    for (int j = 32; j != 0; j >>= 1, mask ^= mask << j) {
        for (int k = 0; k < 64; k = ((k | j) + 1) & ~j) {
            const std::uint64_t swap = ((a[k] >> j) ^ a[k | j]) & mask;
            a[k] ^= swap << j;
            a[k | j] ^= swap;
        }
    }
}

#if defined(__x86_64__)

namespace {

// The same swaps on eight words at a time: eight vectors hold the square, vector m words 8m to
// 8m + 7. Swaps between words 32, 16 or 8 apart pair whole vectors; those 4, 2 or 1 apart pair
// words within a vector, each word with the one whose index differs in that bit.
using Words = std::uint64_t __attribute__((vector_size(64)));
using Lanes = std::int64_t __attribute__((vector_size(64)));

// Written with the compiler's own vector types, so that it becomes the code of whatever
// instruction set the function it is inlined into is compiled for.
[[gnu::always_inline]] inline void transposeWords(std::array<std::uint64_t, 64>& a)
{
    Words v[8];
    __builtin_memcpy(v, a.data(), sizeof v);
    std::uint64_t mask = 0x00000000FFFFFFFFull;
    int j = 32;
    for (; j >= 8; j >>= 1, mask ^= mask << j) {
        const int apart = j / 8;
        for (int m = 0; m < 8; m = ((m | apart) + 1) & ~apart) {
            const Words swap = ((v[m] >> j) ^ v[m | apart]) & mask;
            v[m] ^= swap << j;
            v[m | apart] ^= swap;
        }
    }
    const Lanes index{0, 1, 2, 3, 4, 5, 6, 7};
    for (; j != 0; j >>= 1, mask ^= mask << j) {
        const Lanes partner = index ^ j;
        const Lanes low = (index & j) == 0;
        for (Words& w : v) {
            const Words other = __builtin_shuffle(w, partner);
            const Words swap = (low ? (w >> j) ^ other : (other >> j) ^ w) & mask;
            w ^= low ? swap << j : swap;
        }
    }
    __builtin_memcpy(a.data(), v, sizeof v);
}

KORVELIAN_VECTOR_CODE_BEGIN("avx512f")
void transposeAvx512(std::array<std::uint64_t, 64>& a)
{
    transposeWords(a);
}
KORVELIAN_VECTOR_CODE_END

} // namespace

void transposeBits(std::array<std::uint64_t, 64>& a)
{
    // Eight words a vector only: with AVX2 the compiler splits each vector in two and moves
    // words between the halves one by one, slower than the plain turn.
    static const auto way =
        __builtin_cpu_supports("avx512f") ? transposeAvx512 : transposeBitsPlain;
    way(a);
}

#else

void transposeBits(std::array<std::uint64_t, 64>& a)
{
    transposeBitsPlain(a);
}

#endif

} // namespace korvelian
