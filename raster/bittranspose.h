#pragma once

#include <array>
#include <cstdint>

namespace korvelian {

// A square of 64 x 64 bits turned about its diagonal: bit j of a[i] becomes bit i of a[j].
// Publishing new pixels turns every changed square of one bitmap layout into the other, so this
// runs eight words at a time where the processor has AVX-512; both ways give the same bits.
void transposeBits(std::array<std::uint64_t, 64>& a);

// The same with the words one at a time, the reference the vector ways are held to.
void transposeBitsPlain(std::array<std::uint64_t, 64>& a);

} // namespace korvelian
