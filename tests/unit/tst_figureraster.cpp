#include "figurepoints.h"
#include "figureraster.h"
#include "modelchecks.h"
#include "segmentraster.h"

#include "testregistry.h"

#include <QTest>

#include <cstdint>
#include <vector>

using namespace korvelian;

namespace {

constexpr std::uint32_t kBackground = 0xff000000;
constexpr std::uint32_t kAxis = 0xff9696ff;
constexpr std::uint32_t kFigure = 0xffffffff;

// The screen as a redraw leaves it before the figure: background and axes, in rows a few
// pixels longer than the area.
struct Screen
{
    explicit Screen(int side) : size(side), stride(side + 3), pixels(stride * side, kBackground)
    {
        for (int i = 0; i < size; ++i)
            pixels[size / 2 * stride + i] = pixels[i * stride + size / 2] = kAxis;
    }

    int size;
    std::ptrdiff_t stride;
    std::vector<std::uint32_t> pixels;
};

} // namespace

class TestFigureRaster : public QObject
{
    Q_OBJECT

private slots:
    void samePixelsAsEverySegment_data();
    void samePixelsAsEverySegment();
};

void TestFigureRaster::samePixelsAsEverySegment_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("ratio");
    QTest::addColumn<double>("yScale");
    const std::vector<FigureCase> cases = figureCases();
    for (const int ratio : {1, 2}) {
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const std::string name = cases[i].name + ", ratio " + std::to_string(ratio);
            QTest::newRow(name.c_str()) << int(i) << ratio << 1.0;
        }
    }
    QTest::newRow("7 : 5 with phases, y upwards") << 1 << 1 << -1.0;
}

void TestFigureRaster::samePixelsAsEverySegment()
{
    QFETCH(int, index);
    QFETCH(int, ratio);
    QFETCH(double, yScale);
    const FigureCase c = figureCases()[index];
    // The screen frame (-2, -2) - (2, 2) over 441 logical pixels.
    Screen ours(441 * ratio);
    Screen reference(441 * ratio);
    const double scale = ours.size / 4.0;
    const SegmentRaster::Transform transform{scale, 2 * scale, yScale * scale, 2 * scale};

    FigureRaster figureRaster;
    figureRaster.draw(ours.pixels.data(), ours.size, ours.size, ours.stride, c.p, c.end, transform,
                      kFigure);
    std::vector<FloatPoint> points;
    const FigureRun run = figurePoints(c.p, c.end, points);
    SegmentRaster segmentRaster;
    segmentRaster.draw(reference.pixels.data(), reference.size, reference.size, reference.stride,
                       std::span(points.data(), run.count), transform, kFigure);

    for (int y = 0; y < ours.size; ++y) {
        for (int x = 0; x < ours.size; ++x) {
            const std::ptrdiff_t i = y * ours.stride + x;
            if (ours.pixels[i] != reference.pixels[i])
                QFAIL(qPrintable(QString("pixel (%1, %2) differs").arg(x).arg(y)));
        }
    }
}

KORVELIAN_PLAIN_TEST(figureraster, TestFigureRaster)
#include "tst_figureraster.moc"
