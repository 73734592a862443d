#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>

#include <vector>

namespace korvelian {

// The tiles of the given side over an image, each to be looked at or not.
class TileMask
{
public:
    TileMask(QSize size, int tile);

    // Marks every tile that meets pixels.
    void mark(const QRect& pixels);
    void markAll();
    // Marks every tile marked in other, of the same size and side.
    void unite(const TileMask& other);
    bool marked(int column, int band) const
    {
        return m_marked[static_cast<std::size_t>(band) * static_cast<std::size_t>(m_columns) +
                        static_cast<std::size_t>(column)] != 0;
    }
    QSize size() const { return m_size; }
    int tile() const { return m_tile; }
    int columns() const { return m_columns; }
    int bands() const { return m_bands; }
    // The marked tiles joined into runs along each band, within the size.
    std::vector<QRect> runs() const;

private:
    QSize m_size;
    int m_tile;
    int m_columns;
    int m_bands;
    std::vector<char> m_marked;
};

// Where two images of one size and 32-bit format differ, as tiles of the given side in device
// pixels, joined into runs along each band of tiles: what a screen must send again when it
// replaces the one image by the other. Empty where they are equal; the whole image
// where they cannot be compared (another size or format). Given a mask, the tiles of each band
// from its first marked one to its last are looked at, and no band without one: where the
// caller knows the images to be equal elsewhere, the same tiles come out for less reading.
// (Skipping unmarked tiles within a band saved nothing: the rows are read whole anyway.)
std::vector<QRect> changedTiles(const QImage& before, const QImage& after, int tile);
std::vector<QRect> changedTiles(const QImage& before, const QImage& after, const TileMask& within);
// Rectangles in an image's device pixels as the region of logical pixels they lie in, for a
// widget to repaint.
QRegion logicalRegion(const std::vector<QRect>& device, qreal ratio);
// The tiles of a 32-bit image with any pixel not 0: where a layer on a transparent ground can
// change what lies beneath it. All where the image is not of 32 bits.
TileMask occupiedTiles(const QImage& image, int tile);

} // namespace korvelian
