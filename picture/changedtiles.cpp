#include "changedtiles.h"

#include <algorithm>
#include <cstring>

namespace korvelian {

std::vector<QRect> changedTiles(const QImage& before, const QImage& after, int tile)
{
    const QRect whole(QPoint(0, 0), after.size());
    if (before.size() != after.size() || before.depth() != 32 || after.depth() != 32 || tile <= 0)
        return {whole};
    const int columns = (after.width() + tile - 1) / tile;
    std::vector<char> changed(static_cast<std::size_t>(columns));
    std::vector<QRect> runs;
    for (int top = 0; top < after.height(); top += tile) {
        const int bottom = std::min(top + tile, after.height());
        std::fill(changed.begin(), changed.end(), 0);
        for (int y = top; y < bottom; ++y) {
            const auto* a = reinterpret_cast<const quint32*>(before.constScanLine(y));
            const auto* b = reinterpret_cast<const quint32*>(after.constScanLine(y));
            // Most rows of a drift step are equal but near the curve: one comparison of the
            // row saves one per tile.
            if (std::memcmp(a, b, static_cast<std::size_t>(after.width()) * 4) == 0)
                continue;
            for (int column = 0; column < columns; ++column) {
                const int left = column * tile;
                const int width = std::min(tile, after.width() - left);
                if (!changed[static_cast<std::size_t>(column)] &&
                    std::memcmp(a + left, b + left, static_cast<std::size_t>(width) * 4) != 0)
                    changed[static_cast<std::size_t>(column)] = 1;
            }
        }
        for (int column = 0; column < columns;) {
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
