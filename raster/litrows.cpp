#include "litrows.h"

#include "bittranspose.h"
#include "runbitmaps.h"
#include "sharedwords.h"

#include <algorithm>
#include <array>
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

namespace {

// Bit x of the row becomes the union (or, with kAll, the intersection) of bits x .. x + span - 1
// (with kAll, x - span + 1 .. x), in steps that double what each bit holds; bits beyond the
// row's words count as unlit (with kAll, as lit).
template <bool kAll> void spreadBits(std::uint64_t* row, std::size_t words, int span)
{
    constexpr std::uint64_t all = ~std::uint64_t{0};
    for (int held = 1; held < span;) {
        const int by = std::min(held, span - held);
        const std::size_t skip = static_cast<std::size_t>(by) / 64;
        const int bit = by % 64;
        if (!kAll) {
            for (std::size_t w = 0; w < words; ++w) {
                const std::uint64_t at = w + skip < words ? row[w + skip] : 0;
                const std::uint64_t next = w + skip + 1 < words ? row[w + skip + 1] : 0;
                row[w] |= bit == 0 ? at : (at >> bit) | (next << (64 - bit));
            }
        } else {
            for (std::size_t w = words; w-- > 0;) {
                const std::uint64_t at = w >= skip ? row[w - skip] : all;
                const std::uint64_t before = w >= skip + 1 ? row[w - skip - 1] : all;
                row[w] &= bit == 0 ? at : (at << bit) | (before >> (64 - bit));
            }
        }
        held += by;
    }
}

// The same down the rows: row y becomes the union of rows y .. y + span - 1 (with kAll, the
// intersection of rows y - span + 1 .. y).
template <bool kAll> void spreadRows(std::uint64_t* rows, std::size_t words, int height, int span)
{
    for (int held = 1; held < span;) {
        const int by = std::min(held, span - held);
        if (!kAll) {
            for (int y = 0; y + by < height; ++y) {
                std::uint64_t* row = rows + static_cast<std::size_t>(y) * words;
                const std::uint64_t* from = row + static_cast<std::size_t>(by) * words;
                for (std::size_t w = 0; w < words; ++w)
                    row[w] |= from[w];
            }
        } else {
            for (int y = height - 1; y >= by; --y) {
                std::uint64_t* row = rows + static_cast<std::size_t>(y) * words;
                const std::uint64_t* from = row - static_cast<std::size_t>(by) * words;
                for (std::size_t w = 0; w < words; ++w)
                    row[w] &= from[w];
            }
        }
        held += by;
    }
}

} // namespace

void LitRows::closeGrown(int extra, std::vector<std::uint64_t>& kept)
{
    kept.assign(m_bits.begin(), m_bits.begin() + static_cast<std::ptrdiff_t>(m_columnsAt));
    if (extra <= 0 || m_width <= 0 || m_height <= 0)
        return;
    constexpr std::uint64_t all = ~std::uint64_t{0};
    const int span = extra + 1;
    const int width = m_width - extra;
    const int height = m_height - extra;
    const std::size_t words = m_rowWords;
    std::uint64_t* bits = rows();
    // The grown picture at image pixel (x, y): any of mask pixels x .. x + extra, y .. y + extra
    // lit. Pixels outside the image are never painted, so they count as lit.
    const ColumnWords beyond(std::max(width, 0), static_cast<int>(words * 64) - 1);
    for (int y = 0; y < m_height; ++y) {
        std::uint64_t* row = bits + static_cast<std::size_t>(y) * words;
        spreadBits<false>(row, words, span);
        for (std::size_t w = beyond.first; w < words; ++w)
            row[w] |= beyond.mask(w);
    }
    spreadRows<false>(bits, words, m_height, span);
    std::fill(bits + static_cast<std::size_t>(std::max(height, 0)) * words, bits + m_columnsAt,
              all);
    // A mask pixel whose square of image pixels x - extra .. x, y - extra .. y is lit all over.
    for (int y = 0; y < m_height; ++y)
        spreadBits<true>(bits + static_cast<std::size_t>(y) * words, words, span);
    spreadRows<true>(bits, words, m_height, span);
    // Nothing beyond the area, and the spare word empty, as the lit bits keep them.
    const ColumnWords outside(m_width, static_cast<int>(words * 64) - 1);
    for (int y = 0; y < m_height; ++y) {
        std::uint64_t* row = bits + static_cast<std::size_t>(y) * words;
        for (std::size_t w = outside.first; w < words; ++w)
            row[w] &= ~outside.mask(w);
    }
    // The columns turned from the rows, a square of 64 x 64 pixels at a time.
    const std::size_t columnWords = RunBitmaps::wordsPerRow(m_height);
    std::array<std::uint64_t, 64> square;
    for (int y0 = 0; y0 < m_height; y0 += 64) {
        for (int x0 = 0; x0 < m_width; x0 += 64) {
            for (int i = 0; i < 64; ++i)
                square[i] = y0 + i < m_height
                                ? bits[static_cast<std::size_t>(y0 + i) * words + x0 / 64]
                                : 0;
            transposeBits(square);
            for (int j = 0; j < 64 && x0 + j < m_width; ++j)
                columns()[static_cast<std::size_t>(x0 + j) * columnWords + y0 / 64] = square[j];
        }
    }
    std::fill(m_bands.begin(), m_bands.end(), 0);
    if (m_within.y0 <= m_within.y1)
        addBands({0, m_within.y0, m_width - 1, m_within.y1});
}

void LitRows::setRows(const std::vector<std::uint64_t>& rows)
{
    std::copy(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(m_columnsAt),
              m_bits.begin());
    std::fill(m_bits.begin() + static_cast<std::ptrdiff_t>(m_columnsAt), m_bits.end(), 0);
    std::fill(m_bands.begin(), m_bands.end(), 0);
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
