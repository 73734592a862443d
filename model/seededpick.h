#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace korvelian {

// Random choices that a seed repeats exactly, on every processor and with every standard
// library: the Mersenne twister's output is fixed by the standard, its distributions are not
// (std::uniform_int_distribution gives other numbers with another library), so the choice
// among n is made here, by rejection of the generator's words above the last whole multiple
// of n.
class SeededPick
{
public:
    explicit SeededPick(std::uint32_t seed) : m_engine(seed) {}

    // 0 to count - 1, each equally likely; count must be at least 1.
    std::uint32_t below(std::uint32_t count);

    // The indices 0 to count - 1 in a shuffled order (Fisher and Yates, from the back).
    std::vector<std::size_t> order(std::size_t count);

private:
    std::mt19937 m_engine;
};

} // namespace korvelian
