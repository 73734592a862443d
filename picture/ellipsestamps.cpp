#include "ellipsestamps.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

#if defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#endif

namespace korvelian {

namespace {

constexpr int kShifts = 16;

double deviceScale(const QPainter& painter)
{
    return painter.deviceTransform().m11();
}

double deviceLineWidth(const QPainter& painter)
{
    return painter.pen().widthF() * deviceScale(painter);
}

// Room around the outline's box for its line and for the shift.
int margin(double lineWidth)
{
    return static_cast<int>(std::ceil(lineWidth / 2)) + 1;
}

// A coordinate in sixteenths of a pixel as its whole pixel and the sixteenths beyond it.
std::pair<int, int> split(double device)
{
    const auto sixteenths = static_cast<long>(std::lround(device * kShifts));
    const auto whole = static_cast<long>(std::floor(static_cast<double>(sixteenths) / kShifts));
    return {static_cast<int>(whole), static_cast<int>(sixteenths - whole * kShifts)};
}

// Hundreds of rings overlap along a dense figure's edge, and what their pixels let through,
// multiplied ring after ring, sinks below the smallest normal float, where each multiplication
// takes the processor many times as long (a third of the stamping at 32767 : 1). Flushed to
// zero instead, such a pixel shows the same: one minus a number that small is one.
#if defined(__x86_64__) || defined(_M_X64)
class FlushTiny
{
public:
    FlushTiny() : m_before(_mm_getcsr()) { _mm_setcsr(m_before | kModes); }
    ~FlushTiny() { _mm_setcsr(m_before); }
    FlushTiny(const FlushTiny&) = delete;
    FlushTiny& operator=(const FlushTiny&) = delete;

private:
    // Flush to zero, and denormals are zero: for this thread, until the end of the scope.
    static constexpr unsigned kModes = 0x8040;
    unsigned m_before;
};
#else
struct FlushTiny
{
    FlushTiny() {}
};
#endif

} // namespace

bool EllipseStamps::suits(const QPainter& painter)
{
    const QTransform toDevice = painter.deviceTransform();
    const QPen& pen = painter.pen();
    return pen.style() == Qt::SolidLine && pen.brush().style() == Qt::SolidPattern &&
           !pen.isCosmetic() && pen.widthF() > 0 && painter.brush().style() == Qt::NoBrush &&
           painter.testRenderHint(QPainter::Antialiasing) &&
           toDevice.type() <= QTransform::TxScale && toDevice.m11() > 0 &&
           toDevice.m11() == toDevice.m22();
}

void EllipseStamps::takeShape(const QPainter& painter, const QSizeF& size)
{
    const double scale = deviceScale(painter);
    const auto shape =
        std::tuple(size.width() * scale, size.height() * scale, deviceLineWidth(painter),
                   int(painter.pen().capStyle()), int(painter.pen().joinStyle()));
    if (shape != m_shape) {
        m_stamps.clear();
        m_shape = shape;
    }
}

const EllipseStamps::Stamp& EllipseStamps::stamp(const QPainter& painter, int shiftX, int shiftY)
{
    const auto found = m_stamps.find({shiftX, shiftY});
    if (found != m_stamps.end())
        return found->second;
    const auto& [width, height, line, cap, join] = m_shape;
    const int m = margin(line);
    Stamp made;
    made.width = static_cast<int>(std::ceil(width)) + 2 * m + 1;
    made.height = static_cast<int>(std::ceil(height)) + 2 * m + 1;
    QImage image(made.width, made.height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter onImage(&image);
    onImage.setRenderHint(QPainter::Antialiasing, true);
    QPen pen = painter.pen();
    pen.setColor(Qt::white);
    pen.setWidthF(line);
    onImage.setPen(pen);
    onImage.drawEllipse(
        QRectF(m + double(shiftX) / kShifts, m + double(shiftY) / kShifts, width, height));
    onImage.end();
    made.through.resize(static_cast<std::size_t>(made.width) * made.height);
    for (int y = 0; y < made.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int begin = made.width;
        int end = 0;
        for (int x = 0; x < made.width; ++x) {
            made.through[static_cast<std::size_t>(y * made.width + x)] =
                1.0F - static_cast<float>(qAlpha(row[x])) / 255.0F;
            if (qAlpha(row[x]) != 0) {
                begin = std::min(begin, x);
                end = x + 1;
            }
        }
        if (begin < end)
            made.spans.push_back({y, begin, end});
    }
    return m_stamps.emplace(std::pair(shiftX, shiftY), std::move(made)).first->second;
}

void EllipseStamps::paint(QPainter& painter, const QSizeF& size,
                          const std::vector<QPointF>& corners)
{
    const QTransform toDevice = painter.deviceTransform();
    const int m = margin(deviceLineWidth(painter));
    takeShape(painter, size);
    std::array<const Stamp*, kShifts * kShifts> byShift{};
    std::vector<Placed>& placed = m_placed;
    placed.clear();
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN;
    int bottom = INT_MIN;
    for (const QPointF& corner : corners) {
        const QPointF at = toDevice.map(corner);
        const auto [x, shiftX] = split(at.x());
        const auto [y, shiftY] = split(at.y());
        const Stamp*& s = byShift[static_cast<std::size_t>(shiftY * kShifts + shiftX)];
        if (!s)
            s = &stamp(painter, shiftX, shiftY);
        placed.push_back({x - m, y - m, s});
        left = std::min(left, x - m);
        top = std::min(top, y - m);
        right = std::max(right, x - m + s->width);
        bottom = std::max(bottom, y - m + s->height);
    }
    if (placed.empty())
        return;
    const int width = right - left;
    const int height = bottom - top;
    const auto cells = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (m_through.size() != cells)
        m_through.assign(cells, 1.0F);
    m_reached.assign(static_cast<std::size_t>(height), {width, 0});
    // Stamp after stamp, as they were placed.
    {
        const FlushTiny flush;
        for (const Placed& p : placed) {
            const Stamp& s = *p.stamp;
            for (const Stamp::Span& span : s.spans) {
                const int row = p.y - top + span.row;
                float* __restrict into =
                    m_through.data() + static_cast<std::ptrdiff_t>(row) * width + (p.x - left);
                const float* __restrict from = s.through.data() + span.row * s.width;
                for (int column = span.begin; column < span.end; ++column)
                    into[column] *= from[column];
                auto& [begin, end] = m_reached[static_cast<std::size_t>(row)];
                begin = std::min(begin, p.x - left + span.begin);
                end = std::max(end, p.x - left + span.end);
            }
        }
    }
    showBatch(painter, QRect(left, top, width, height));
}

void EllipseStamps::showBatch(QPainter& painter, const QRect& box)
{
    const int width = box.width();
    const int height = box.height();
    if (m_batch.width() != width || m_batch.height() != height)
        m_batch = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    const QColor colour = painter.pen().color();
    const QRgb rgb = colour.rgb();
    const double alpha = colour.alphaF();
    const QTransform toDevice = painter.deviceTransform();
    painter.save();
    // Device pixels one to one: the batch lies on whole pixels as its stamps were drawn.
    painter.setWorldTransform(QTransform::fromScale(1 / toDevice.m11(), 1 / toDevice.m22()), true);
    // Each band of rows the stamps reached, over as many columns as they reached in it: the
    // rest lets everything through and would be blended for nothing (the reading aid marks a
    // figure like 32767 : 1 along two edges far apart).
    const auto reached = [this](int row) { return m_reached[static_cast<std::size_t>(row)]; };
    for (int y = 0; y < height;) {
        if (reached(y).first >= reached(y).second) {
            ++y;
            continue;
        }
        const int first = y;
        int begin = width;
        int end = 0;
        for (; y < height && reached(y).first < reached(y).second; ++y) {
            begin = std::min(begin, reached(y).first);
            end = std::max(end, reached(y).second);
        }
        for (int row = first; row < y; ++row) {
            auto* into = reinterpret_cast<QRgb*>(m_batch.scanLine(row));
            float* through = m_through.data() + static_cast<std::ptrdiff_t>(row) * width;
            for (int x = begin; x < end; ++x) {
                const int a = static_cast<int>(std::lround(255 * alpha * (1.0 - through[x])));
                into[x] = a == 0 ? 0 : qPremultiply(qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), a));
                through[x] = 1.0F;
            }
        }
        painter.drawImage(
            QPointF(box.left() + begin - toDevice.dx(), box.top() + first - toDevice.dy()), m_batch,
            QRectF(begin, first, end - begin, y - first));
    }
    painter.restore();
}

} // namespace korvelian
