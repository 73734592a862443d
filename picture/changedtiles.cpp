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

std::vector<QRect> changedTiles(const QImage& before, const QImage& after, int tile)
{
    return changedTiles(before, after, tile, QRect(QPoint(0, 0), after.size()));
}

std::vector<QRect> changedTiles(const QImage& before, const QImage& after, int tile,
                                const QRect& within)
{
    const QRect whole(QPoint(0, 0), after.size());
    if (before.size() != after.size() || before.depth() != 32 || after.depth() != 32 || tile <= 0)
        return {whole};
    const QRect looked = within & whole;
    if (looked.isEmpty())
        return {};
    // The tiles that meet the box, as a whole comparison would cut them.
    const int firstColumn = looked.left() / tile;
    const int columns = looked.right() / tile + 1;
    const int width = after.width();
    const int left = firstColumn * tile;
    const auto rowBytes = static_cast<std::size_t>(std::min(columns * tile, width) - left) * 4;
    std::vector<char> changed(static_cast<std::size_t>(columns));
    std::vector<QRect> runs;
    for (int top = looked.top() / tile * tile; top <= looked.bottom(); top += tile) {
        const int bottom = std::min(top + tile, after.height());
        std::fill(changed.begin(), changed.end(), 0);
        for (int y = top; y < bottom; ++y) {
            const auto* a = reinterpret_cast<const quint32*>(before.constScanLine(y));
            const auto* b = reinterpret_cast<const quint32*>(after.constScanLine(y));
            // A row beyond the figure's height is left as it was: one comparison, not one per
            // tile.
            if (std::memcmp(a + left, b + left, rowBytes) == 0)
                continue;
            for (int column = firstColumn; column < columns; ++column) {
                const int x = column * tile;
                char& mark = changed[static_cast<std::size_t>(column)];
                if (!mark && differ(a + x, b + x, std::min(tile, width - x)))
                    mark = 1;
            }
        }
        for (int column = firstColumn; column < columns;) {
            if (!changed[static_cast<std::size_t>(column)]) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < columns && changed[static_cast<std::size_t>(column)])
                ++column;
            runs.push_back(QRect(first * tile, top, (column - first) * tile, bottom - top) & whole);
        }
    }
    return runs;
}

} // namespace korvelian
