#include "litrows.h"

#include "runbitmaps.h"
#include "sharedwords.h"

#include <algorithm>
#include <bit>

namespace korvelian {

namespace {

constexpr int kBand = 8;

// The words of a row that hold columns first .. last, and which bits of each.
struct ColumnWords
{
    std::size_t first;
    std::size_t last;
    std::uint64_t head;
    std::uint64_t tail;

    ColumnWords(int firstColumn, int lastColumn)
        : first(static_cast<std::size_t>(firstColumn) / 64),
          last(static_cast<std::size_t>(lastColumn) / 64),
          head(~std::uint64_t{0} << (firstColumn & 63)),
          tail(~std::uint64_t{0} >> (63 - (lastColumn & 63)))
    {
    }
    std::uint64_t mask(std::size_t w) const
    {
        return (w == first ? head : ~std::uint64_t{0}) & (w == last ? tail : ~std::uint64_t{0});
    }
};

} // namespace

void LitRows::reset(int width, int height, const PixelBox& within)
{
    m_width = width;
    m_height = height;
    m_rowWords = RunBitmaps::wordsPerRow(width);
    m_within = within;
    m_columnsAt = m_rowWords * static_cast<std::size_t>(height);
    m_bits.assign(m_columnsAt + RunBitmaps::wordsPerRow(height) * static_cast<std::size_t>(width),
                  0);
    const std::size_t bands =
        within.y1 < within.y0 ? 0 : static_cast<std::size_t>(within.y1 - within.y0) / kBand + 1;
    m_bands.assign(m_rowWords * bands, 0);
}

void LitRows::add(const RunBitmaps& bitmaps, const PixelBox& region)
{
    bitmaps.orRowsInto(rows(), region);
    addBands(region);
}

void LitRows::addNew(RunBitmaps& bitmaps)
{
    for (const PixelBox& tile : bitmaps.orNewInto(rows(), columns()))
        addBands(tile);
}

void LitRows::segment(double xa, double ya, double xb, double yb)
{
    RunBitmaps::light(columns(), rows(), m_width, m_height, xa, ya, xb, yb);
}

void LitRows::setColumns(int first, int last)
{
    if (first > last)
        return;
    copyColumns(nullptr, first, last);
    addBands({first, m_within.y0, last, m_within.y1});
}

void LitRows::takeColumns(const LitRows& other, int first, int last)
{
    if (first <= last)
        copyColumns(&other, first, last);
}

void LitRows::addRows(const std::uint64_t* rows, int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, m_width - 1);
    if (first > last)
        return;
    const ColumnWords words(first, last);
    for (int y = 0; y < m_height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * m_rowWords;
        for (std::size_t w = words.first; w <= words.last; ++w)
            m_bits[row + w] |= rows[row + w] & words.mask(w);
    }
}

void LitRows::copyColumns(const LitRows* from, int first, int last)
{
    constexpr std::uint64_t all = ~std::uint64_t{0};
    const std::size_t columnWords = RunBitmaps::wordsPerRow(m_height);
    const ColumnWords words(first, last);
    for (int y = 0; y < m_height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * m_rowWords;
        for (std::size_t w = words.first; w <= words.last; ++w) {
            const std::uint64_t mask = words.mask(w);
            const std::uint64_t bits = from ? from->m_bits[row + w] : all;
            m_bits[row + w] = (m_bits[row + w] & ~mask) | (bits & mask);
        }
    }
    // A column's bits lie together, with the spare word after them left as it is.
    for (int x = first; x <= last; ++x) {
        std::uint64_t* column = columns() + static_cast<std::size_t>(x) * columnWords;
        const std::uint64_t* source =
            from ? from->columns() + static_cast<std::size_t>(x) * columnWords : nullptr;
        for (std::size_t w = 0; w + 1 < columnWords; ++w)
            column[w] = source ? source[w] : all;
    }
}

void LitRows::foldColumns(int first, int last)
{
    RunBitmaps::foldColumns(columns(), rows(), m_width, m_height, first, last);
    std::fill(m_bands.begin(), m_bands.end(), 0);
}

void LitRows::addBands(const PixelBox& region)
{
    const int firstBand = std::max(region.y0 - m_within.y0, 0) / kBand;
    const int lastBand = (std::min(region.y1, m_within.y1) - m_within.y0) / kBand;
    const std::size_t firstWord = static_cast<std::size_t>(region.x0) / 64;
    const std::size_t lastWord = static_cast<std::size_t>(region.x1) / 64;
    for (int band = firstBand; band <= lastBand; ++band) {
        const int top = m_within.y0 + band * kBand;
        const int bottom = std::min(top + kBand - 1, m_within.y1);
        for (std::size_t w = firstWord; w <= lastWord; ++w) {
            std::uint64_t all = ~std::uint64_t{0};
            for (int y = top; y <= bottom; ++y)
                all &= loadShared(m_bits[static_cast<std::size_t>(y) * m_rowWords + w]);
            orShared(m_bands[static_cast<std::size_t>(band) * m_rowWords + w], all);
        }
    }
}

bool LitRows::linesLit(const std::uint64_t* lines, int first, int last, const PixelBox& box) const
{
    constexpr std::uint64_t all = ~std::uint64_t{0};
    const int firstWord = box.x0 >> 6;
    const int lastWord = box.x1 >> 6;
    const std::uint64_t head = all << (box.x0 & 63);
    const std::uint64_t tail = all >> (63 - (box.x1 & 63));
    for (int line = first; line <= last; ++line) {
        const std::uint64_t* words = lines + static_cast<std::size_t>(line) * m_rowWords;
        if (firstWord == lastWord) {
            if ((loadShared(words[firstWord]) & head & tail) != (head & tail))
                return false;
            continue;
        }
        if ((loadShared(words[firstWord]) & head) != head ||
            (loadShared(words[lastWord]) & tail) != tail)
            return false;
        for (int w = firstWord + 1; w < lastWord; ++w) {
            if (loadShared(words[w]) != all)
                return false;
        }
    }
    return true;
}

bool LitRows::allLit(const PixelBox& box) const
{
    if (box.y0 < m_within.y0 || box.y1 > m_within.y1)
        return linesLit(m_bits.data(), box.y0, box.y1, box);
    // The bands wholly inside the box, and the rows above and below them one by one.
    const int firstBand = (box.y0 - m_within.y0 + kBand - 1) / kBand;
    const int bandsEnd = box.y1 == m_within.y1 ? (box.y1 - m_within.y0) / kBand + 1
                                               : (box.y1 + 1 - m_within.y0) / kBand;
    if (firstBand >= bandsEnd)
        return linesLit(m_bits.data(), box.y0, box.y1, box);
    const int top = m_within.y0 + firstBand * kBand;
    const int bottom = std::min(m_within.y0 + bandsEnd * kBand, m_within.y1 + 1);
    return linesLit(m_bits.data(), box.y0, top - 1, box) &&
           linesLit(m_bits.data(), bottom, box.y1, box) &&
           linesLit(m_bands.data(), firstBand, bandsEnd - 1, box);
}

bool LitRows::segmentLit(double xa, double ya, double xb, double yb) const
{
    return RunBitmaps::lit(columns(), m_bits.data(), m_width, m_height, xa, ya, xb, yb);
}

void LitRows::paint(std::uint32_t* pixels, std::ptrdiff_t stride, std::uint32_t colour, int first,
                    int last) const
{
    if (first > last)
        return;
    const ColumnWords words(first, last);
    // Only lit bits are visited: a sparse figure costs little here.
    for (int y = 0; y < m_height; ++y) {
        const std::uint64_t* row = this->row(y);
        std::uint32_t* line = pixels + y * stride;
        for (std::size_t w = words.first; w <= words.last; ++w) {
            for (std::uint64_t word = row[w] & words.mask(w); word; word &= word - 1)
                line[w * 64 + std::countr_zero(word)] = colour;
        }
    }
}

} // namespace korvelian
