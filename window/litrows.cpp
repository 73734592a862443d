#include "litrows.h"

#include "runbitmaps.h"

#include <bit>

namespace korvelian {

void LitRows::reset(int width, int height)
{
    m_width = width;
    m_height = height;
    m_rowWords = RunBitmaps::wordsPerRow(width);
    m_words.assign(m_rowWords * static_cast<std::size_t>(height), 0);
}

void LitRows::add(const RunBitmaps& bitmaps)
{
    bitmaps.orRowsInto(m_words.data());
}

bool LitRows::allLit(const PixelBox& box) const
{
    constexpr std::uint64_t all = ~std::uint64_t{0};
    const int first = box.x0 >> 6;
    const int last = box.x1 >> 6;
    const std::uint64_t head = all << (box.x0 & 63);
    const std::uint64_t tail = all >> (63 - (box.x1 & 63));
    for (int y = box.y0; y <= box.y1; ++y) {
        const std::uint64_t* row = m_words.data() + static_cast<std::size_t>(y) * m_rowWords;
        if (first == last) {
            if ((row[first] & head & tail) != (head & tail))
                return false;
            continue;
        }
        if ((row[first] & head) != head || (row[last] & tail) != tail)
            return false;
        for (int w = first + 1; w < last; ++w) {
            if (row[w] != all)
                return false;
        }
    }
    return true;
}

void LitRows::paint(std::uint32_t* pixels, std::ptrdiff_t stride, std::uint32_t colour) const
{
    // Only lit bits are visited: a sparse figure costs little here.
    for (int y = 0; y < m_height; ++y) {
        const std::uint64_t* row = m_words.data() + static_cast<std::size_t>(y) * m_rowWords;
        std::uint32_t* line = pixels + y * stride;
        for (std::size_t w = 0; w < m_rowWords; ++w) {
            for (std::uint64_t word = row[w]; word; word &= word - 1)
                line[w * 64 + std::countr_zero(word)] = colour;
        }
    }
}

} // namespace korvelian
