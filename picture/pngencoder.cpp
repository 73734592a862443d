#include "pngencoder.h"

#include <QImage>

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <future>
#include <system_error>
#include <vector>

namespace korvelian {

namespace {

void append(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}

void flush(png_structp) {}

int colourType(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Grayscale8:
        return PNG_COLOR_TYPE_GRAY;
    case QImage::Format_Indexed8:
        return PNG_COLOR_TYPE_PALETTE;
    default:
        return PNG_COLOR_TYPE_RGB;
    }
}

// A file being written row by row.
struct PngFile
{
    QSize size;
    int type = PNG_COLOR_TYPE_RGB;
    QSize dotsPerMeter;
    std::vector<png_color> palette = {};
    png_structp png = nullptr;
    png_infop info = nullptr;
    QByteArray bytes = {};
    bool failed = false;
};

// libpng reports a failure by jumping back to setjmp: nothing with a destructor may live in
// the functions that call it.
bool writeHeader(PngFile& file)
{
    png_structp png = file.png;
    png_infop info = file.info;
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &file.bytes, append, flush);
    const int type = file.type;
    png_set_IHDR(png, info, static_cast<png_uint_32>(file.size.width()),
                 static_cast<png_uint_32>(file.size.height()), 8, type, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    // A table's indices and greys of flat grounds pack best unfiltered; colours from the
    // pixel to the left.
    png_set_filter(png, PNG_FILTER_TYPE_BASE,
                   type == PNG_COLOR_TYPE_RGB ? PNG_FILTER_SUB : PNG_FILTER_NONE);
    if (type == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, file.palette.data(), static_cast<int>(file.palette.size()));
    png_set_pHYs(png, info, static_cast<png_uint_32>(file.dotsPerMeter.width()),
                 static_cast<png_uint_32>(file.dotsPerMeter.height()), PNG_RESOLUTION_METER);
    png_write_info(png, info);
    if (type == PNG_COLOR_TYPE_RGB) {
        // 32-bit pixels lie in memory as blue, green, red and an unused byte.
        png_set_bgr(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    }
    return true;
}

bool writeRow(png_structp png, const uchar* row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_write_row(png, row);
    return true;
}

bool writeEnd(png_structp png, png_infop info)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_write_end(png, info);
    return true;
}

void start(PngFile& file)
{
    file.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    file.info = file.png ? png_create_info_struct(file.png) : nullptr;
    file.failed = !file.info || !writeHeader(file);
}

void row(PngFile& file, const uchar* pixels)
{
    file.failed = file.failed || !writeRow(file.png, pixels);
}

QByteArray finish(PngFile& file)
{
    file.failed = file.failed || !writeEnd(file.png, file.info);
    png_destroy_write_struct(&file.png, &file.info);
    return file.failed ? QByteArray() : file.bytes;
}

void drop(PngFile& file)
{
    png_destroy_write_struct(&file.png, &file.info);
}

constexpr QRgb kColour = 0x00ffffff;

// The colours of the rows so far, in the order they first appear, as at most 256 indices, and
// whether every one of them is a grey.
class RowColours
{
public:
    // A row of 32-bit pixels as 8-bit ones: greys (while every colour is one) or indices
    // into the table. False once there are more than 256 colours.
    bool take(const QRgb* pixels, int width, uchar* bytes, bool greys)
    {
        for (int x = 0; x < width; ++x) {
            const QRgb colour = pixels[x] & kColour;
            // Most pixels repeat the one before: the ground, a line's run.
            if (m_index < 0 || colour != m_last) {
                m_last = colour;
                m_index = indexOf(colour);
                if (m_index < 0)
                    return false;
            }
            bytes[x] = static_cast<uchar>(greys ? qRed(colour) : m_index);
        }
        return true;
    }
    bool allGrey() const { return m_allGrey; }
    const std::vector<QRgb>& table() const { return m_table; }

private:
    int indexOf(QRgb colour)
    {
        const auto found = std::find(m_table.begin(), m_table.end(), colour);
        if (found != m_table.end())
            return static_cast<int>(found - m_table.begin());
        if (m_table.size() == 256)
            return -1;
        m_allGrey = m_allGrey && qRed(colour) == qGreen(colour) && qGreen(colour) == qBlue(colour);
        m_table.push_back(colour);
        return static_cast<int>(m_table.size()) - 1;
    }

    std::vector<QRgb> m_table;
    bool m_allGrey = true;
    QRgb m_last = 0;
    int m_index = -1;
};

// The bytes of a file of 8-bit pixels written as greys, made a file of indices into table:
// the header's colour type changed and the table put after it, where libpng puts it, so that
// the file is the one libpng writes with the table from the start.
QByteArray withTable(QByteArray file, const std::vector<QRgb>& table)
{
    // The signature, then the header's length, name, 13 bytes of data and check sum.
    constexpr int kName = 12;
    constexpr int kType = kName + 4 + 9;
    constexpr int kSum = kName + 4 + 13;
    constexpr int kAfterHeader = kSum + 4;
    const auto bigEndian = [](quint32 value) {
        const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
        return QByteArray(bytes, 4);
    };
    const auto sum = [](const QByteArray& bytes, int from, int to) {
        return static_cast<quint32>(
            crc32(0, reinterpret_cast<const Bytef*>(bytes.constData() + from), uInt(to - from)));
    };
    file[kType] = char(PNG_COLOR_TYPE_PALETTE);
    file.replace(kSum, 4, bigEndian(sum(file, kName, kSum)));
    QByteArray chunk = bigEndian(quint32(3 * table.size())) + "PLTE";
    for (const QRgb colour : table)
        chunk.append(char(qRed(colour))).append(char(qGreen(colour))).append(char(qBlue(colour)));
    chunk += bigEndian(sum(chunk, 4, int(chunk.size())));
    return file.insert(kAfterHeader, chunk);
}

// How a banded image's pixels are written: greys, indices into a table, or colours.
enum class Kind { Grey, Table, Colour };

// A band's rows handed to libpng on a second thread while the next band is painted: after a
// large figure's raster, compressing its rows took most of what was left, on one core. One
// band is written at a time, in order; the file is the caller's again after wait().
class BandWriter
{
public:
    explicit BandWriter(PngFile& file) : m_file(file) {}
    ~BandWriter() { wait(); }
    BandWriter(const BandWriter&) = delete;
    BandWriter& operator=(const BandWriter&) = delete;

    // Rows of stride bytes from first, once the band before is written; false where that
    // band failed.
    bool write(const uchar* first, int rows, qsizetype stride)
    {
        wait();
        if (m_file.failed)
            return false;
        const auto rowsOf = [this, first, rows, stride] {
            for (int y = 0; y < rows && !m_file.failed; ++y)
                row(m_file, first + y * stride);
        };
        try {
            m_pending = std::async(std::launch::async, rowsOf);
        } catch (const std::system_error&) {
            // No thread to be had: written here, as the band is painted.
            rowsOf();
        }
        return true;
    }
    void wait()
    {
        if (m_pending.valid())
            m_pending.get();
    }

private:
    PngFile& m_file;
    std::future<void> m_pending;
};

// One try at writing the bands as kind; empty with kind moved on when the pixels need more
// than it holds. The two bands take turns: one is painted while the other is written.
QByteArray tryBands(QSize size, std::array<QImage, 2>& bands, Kind& kind,
                    const std::function<void(QImage&, int)>& paint)
{
    const int type = kind == Kind::Colour ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_GRAY;
    PngFile file{size, type, QSize(bands[0].dotsPerMeterX(), bands[0].dotsPerMeterY())};
    start(file);
    RowColours colours;
    const int width = size.width();
    const int bandRows = bands[0].height();
    std::array<std::vector<uchar>, 2> bytes;
    for (std::vector<uchar>& b : bytes)
        b.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(bandRows));
    BandWriter writer(file);
    for (int top = 0, turn = 0; top < size.height(); top += bandRows, turn ^= 1) {
        QImage& band = bands[static_cast<std::size_t>(turn)];
        const int rows = std::min(bandRows, size.height() - top);
        // The band's own memory, not a copy (a copy would be detached by the painter), and the
        // last band fewer rows of it.
        QImage part(band.bits(), band.width(), rows, band.bytesPerLine(), band.format());
        paint(part, top);
        const uchar* first = part.constBits();
        qsizetype stride = part.bytesPerLine();
        if (kind != Kind::Colour) {
            uchar* converted = bytes[static_cast<std::size_t>(turn)].data();
            for (int y = 0; y < rows; ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(part.constScanLine(y));
                const bool fits = colours.take(line, width,
                                               converted + static_cast<std::size_t>(y) *
                                                               static_cast<std::size_t>(width),
                                               kind == Kind::Grey);
                if (!fits || (kind == Kind::Grey && !colours.allGrey())) {
                    kind = fits ? Kind::Table : Kind::Colour;
                    writer.wait();
                    drop(file);
                    return {};
                }
            }
            first = converted;
            stride = width;
        }
        if (!writer.write(first, rows, stride))
            break;
    }
    writer.wait();
    const QByteArray written = finish(file);
    return kind == Kind::Table && !written.isEmpty() ? withTable(written, colours.table())
                                                     : written;
}

} // namespace

QByteArray encodePngBands(QSize size, int bandRows,
                          const std::function<void(QImage& band, int top)>& paint)
{
    if (size.isEmpty())
        return {};
    const int rows = std::clamp(bandRows, 1, size.height());
    std::array<QImage, 2> bands{QImage(size.width(), rows, QImage::Format_RGB32),
                                QImage(size.width(), rows, QImage::Format_RGB32)};
    // The fewest bits first: the bands are painted again only where a row needs more.
    Kind kind = Kind::Grey;
    for (;;) {
        const Kind tried = kind;
        const QByteArray bytes = tryBands(size, bands, kind, paint);
        if (kind == tried)
            return bytes;
    }
}

QByteArray encodePng(const QImage& image)
{
    const bool direct = image.format() == QImage::Format_Grayscale8 ||
                        image.format() == QImage::Format_Indexed8 ||
                        image.format() == QImage::Format_RGB32;
    const QImage source = direct ? image : image.convertToFormat(QImage::Format_RGB32);
    PngFile file{source.size(), colourType(source.format()),
                 QSize(source.dotsPerMeterX(), source.dotsPerMeterY())};
    for (int i = 0; i < static_cast<int>(source.colorCount()); ++i) {
        const QRgb colour = source.color(i);
        file.palette.push_back({static_cast<png_byte>(qRed(colour)),
                                static_cast<png_byte>(qGreen(colour)),
                                static_cast<png_byte>(qBlue(colour))});
    }
    start(file);
    for (int y = 0; y < source.height() && !file.failed; ++y)
        row(file, source.constScanLine(y));
    return finish(file);
}

} // namespace korvelian
