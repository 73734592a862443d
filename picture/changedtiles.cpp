#include "changedtiles.h"

#include <algorithm>
#include <cstring>

namespace korvelian {

namespace {

// Without a call and an early end, which cost more than the comparison itself for a tile's
// 64 bytes: the compiler makes this a few vector instructions.
bool differ(const quint32* a, const quint32* b, int count)
{
    quint32 difference = 0;
    for (int i = 0; i < count; ++i)
        difference |= a[i] ^ b[i];
    return difference != 0;
}

} // namespace

TileMask::TileMask(QSize size, int tile)
    : m_size(size), m_tile(std::max(tile, 1)), m_columns((size.width() + m_tile - 1) / m_tile),
      m_bands((size.height() + m_tile - 1) / m_tile),
      m_marked(static_cast<std::size_t>(std::max(m_columns, 0) * std::max(m_bands, 0)))
{
}

void TileMask::mark(const QRect& pixels)
{
    const QRect within = pixels & QRect(QPoint(0, 0), m_size);
    if (within.isEmpty())
        return;
    for (int band = within.top() / m_tile; band <= within.bottom() / m_tile; ++band) {
        char* row = m_marked.data() + static_cast<std::size_t>(band) * m_columns;
        std::fill(row + within.left() / m_tile, row + within.right() / m_tile + 1, 1);
    }
}

void TileMask::markAll()
{
    std::fill(m_marked.begin(), m_marked.end(), 1);
}

void TileMask::unite(const TileMask& other)
{
    if (other.m_size != m_size || other.m_tile != m_tile) {
        markAll();
        return;
    }
    for (std::size_t i = 0; i < m_marked.size(); ++i)
        m_marked[i] = static_cast<char>(m_marked[i] | other.m_marked[i]);
}

std::vector<QRect> TileMask::runs() const
{
    const QRect whole(QPoint(0, 0), m_size);
    std::vector<QRect> found;
    for (int band = 0; band < m_bands; ++band) {
        for (int column = 0; column < m_columns;) {
            if (!marked(column, band)) {
                ++column;
                continue;
            }
            const int from = column;
            while (column < m_columns && marked(column, band))
                ++column;
            found.push_back(QRect(from * m_tile, band * m_tile, (column - from) * m_tile, m_tile) &
                            whole);
        }
    }
    return found;
}

TileMask occupiedTiles(const QImage& image, int tile)
{
    TileMask occupied(image.size(), tile);
    if (image.depth() != 32) {
        occupied.markAll();
        return occupied;
    }
    const int side = occupied.tile();
    const int width = image.width();
    std::vector<quint32> any(static_cast<std::size_t>(occupied.columns()));
    for (int band = 0; band < occupied.bands(); ++band) {
        const int top = band * side;
        const int bottom = std::min(top + side, image.height());
        std::fill(any.begin(), any.end(), 0);
        // Row by row as the image lies in memory, each tile's pixels or'ed together.
        for (int y = top; y < bottom; ++y) {
            const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
            // A row with nothing in it, the most of a layer, in one pass the compiler makes
            // a few vector instructions of.
            quint32 all = 0;
            for (int x = 0; x < width; ++x)
                all |= row[x];
            if (all == 0)
                continue;
            for (int column = 0; column < occupied.columns(); ++column) {
                const int x = column * side;
                const int count = std::min(side, width - x);
                quint32 bits = 0;
                for (int i = 0; i < count; ++i)
                    bits |= row[x + i];
                any[static_cast<std::size_t>(column)] |= bits;
            }
        }
        for (int column = 0; column < occupied.columns(); ++column) {
            if (any[static_cast<std::size_t>(column)] != 0)
                occupied.mark(QRect(column * side, top, 1, 1));
        }
    }
    return occupied;
}

QRegion logicalRegion(const std::vector<QRect>& device, qreal ratio)
{
    QRegion region;
    for (const QRect& r : device)
        region += QRectF(QPointF(r.topLeft()) / ratio, QSizeF(r.size()) / ratio).toAlignedRect();
    return region;
}

std::vector<QRect> changedTiles(const QImage& before, const QImage& after, int tile)
{
    if (tile <= 0)
        return {QRect(QPoint(0, 0), after.size())};
    TileMask all(after.size(), tile);
    all.markAll();
    return changedTiles(before, after, all);
}

std::vector<QRect> changedTiles(const QImage& before, const QImage& after, const TileMask& within)
{
    const QRect whole(QPoint(0, 0), after.size());
    if (before.size() != after.size() || before.depth() != 32 || after.depth() != 32 ||
        within.size() != after.size())
        return {whole};
    const int tile = within.tile();
    const int columns = within.columns();
    const int width = after.width();
    std::vector<char> changed(static_cast<std::size_t>(columns));
    std::vector<QRect> runs;
    for (int band = 0; band < within.bands(); ++band) {
        int first = 0;
        while (first < columns && !within.marked(first, band))
            ++first;
        if (first == columns)
            continue;
        int last = columns - 1;
        while (!within.marked(last, band))
            --last;
        const int left = first * tile;
        const auto rowBytes =
            static_cast<std::size_t>(std::min((last + 1) * tile, width) - left) * 4;
        const int top = band * tile;
        const int bottom = std::min(top + tile, after.height());
        std::fill(changed.begin(), changed.end(), 0);
        for (int y = top; y < bottom; ++y) {
            const auto* a = reinterpret_cast<const quint32*>(before.constScanLine(y));
            const auto* b = reinterpret_cast<const quint32*>(after.constScanLine(y));
            // A row beyond the figure's height is left as it was: one comparison, not one per
            // tile.
            if (std::memcmp(a + left, b + left, rowBytes) == 0)
                continue;
            for (int column = first; column <= last; ++column) {
                const int x = column * tile;
                char& mark = changed[static_cast<std::size_t>(column)];
                if (!mark && differ(a + x, b + x, std::min(tile, width - x)))
                    mark = 1;
            }
        }
        for (int column = first; column <= last;) {
            if (!changed[static_cast<std::size_t>(column)]) {
                ++column;
                continue;
            }
            const int from = column;
            while (column <= last && changed[static_cast<std::size_t>(column)])
                ++column;
            runs.push_back(QRect(from * tile, top, (column - from) * tile, bottom - top) & whole);
        }
    }
    return runs;
}

} // namespace korvelian
