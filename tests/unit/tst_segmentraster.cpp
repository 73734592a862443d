#include "raster/bittranspose.h"
#include "model/constants.h"
#include "model/figurepoints.h"
#include "raster/litrows.h"
#include "tests/painterlines.h"
#include "raster/runbitmaps.h"
#include "raster/segmentraster.h"

#include <QImage>
#include <QLineF>
#include "tests/testregistry.h"

#include <QTest>

#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace korvelian;

namespace {

QImage blank(int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

QImage painterReference(const std::vector<FloatPoint>& points, std::size_t count, int size)
{
    QImage image = blank(size);
    drawPainterLines(image, std::span(points.data(), count));
    return image;
}

QImage raster(const std::vector<FloatPoint>& points, std::size_t count, int size)
{
    QImage image = blank(size);
    SegmentRaster raster;
    const double scale = size / 4.0;
    raster
        .rasterise(size, size, std::span(points.data(), count),
                   {scale, 2 * scale, scale, 2 * scale})
        .paint(reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4,
               qRgb(255, 255, 255));
    return image;
}

bool lit(const QImage& image, int x, int y)
{
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
           image.pixel(x, y) == qRgb(255, 255, 255);
}

// Lit pixels of a that have no lit pixel of b within one pixel.
int strays(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (!lit(a, x, y))
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy) {
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = lit(b, x + dx, y + dy);
            }
            count += near ? 0 : 1;
        }
    }
    return count;
}

int litCount(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += lit(image, x, y) ? 1 : 0;
    }
    return count;
}

} // namespace

class TestSegmentRaster : public QObject
{
    Q_OBJECT

private slots:
    void drawsWhatThePainterDraws_data();
    void drawsWhatThePainterDraws();
    void segmentsOutsideAreCutNotWrapped();
    void aCutEndAHairOutsideLightsItsEdgePixel();
    void segmentsLookedUpTogetherAsOneByOne_data();
    void segmentsLookedUpTogetherAsOneByOne();
    void squaresTurnAboutTheirDiagonal();
    void aLongRunIsLookedUpToItsLastWord_data();
    void aLongRunIsLookedUpToItsLastWord();
    void runsLitAlreadyAreLeftOut_data();
    void runsLitAlreadyAreLeftOut();
};

void TestSegmentRaster::drawsWhatThePainterDraws_data()
{
    QTest::addColumn<double>("k");
    QTest::addColumn<double>("z");
    QTest::addColumn<double>("n");
    QTest::addColumn<double>("a1");
    QTest::addColumn<double>("p2");
    QTest::addColumn<int>("size");

    QTest::newRow("diagonal, K = 1") << 1.0 << 1.0 << 1.0 << 1.0 << 0.0 << 441;
    QTest::newRow("circle, K = 1") << 1.0 << 1.0 << 1.0 << 1.0 << 1.57 << 441;
    QTest::newRow("sparse 3:1") << 3.0 << 3.0 << 1.0 << 1.0 << 0.5 << 441;
    QTest::newRow("sparse 1:3") << 3.0 << 1.0 << 3.0 << 1.0 << 0.5 << 441;
    QTest::newRow("3:2 with phase") << 6.0 << 3.0 << 2.0 << 1.5 << 1.0 << 441;
    QTest::newRow("vertical line, no x amplitude") << 2.0 << 2.0 << 1.0 << 0.0 << 0.0 << 441;
    QTest::newRow("to the edges, amplitude 2") << 6.0 << 2.0 << 3.0 << 2.0 << 0.3 << 441;
    QTest::newRow("100:1") << 100.0 << 100.0 << 1.0 << 1.0 << 0.0 << 441;
    QTest::newRow("1:100") << 100.0 << 1.0 << 100.0 << 1.0 << 0.0 << 441;
    QTest::newRow("dense 6000:1") << 6000.0 << 6000.0 << 1.0 << 1.0 << 0.0 << 441;
    QTest::newRow("dense 1:6000") << 6000.0 << 1.0 << 6000.0 << 1.0 << 0.0 << 441;
    QTest::newRow("dense 6000:1 at ratio 2") << 6000.0 << 6000.0 << 1.0 << 1.0 << 0.0 << 882;
    QTest::newRow("3:2 at ratio 2") << 6.0 << 3.0 << 2.0 << 1.5 << 1.0 << 882;
}

void TestSegmentRaster::drawsWhatThePainterDraws()
{
    QFETCH(double, k);
    QFETCH(double, z);
    QFETCH(double, n);
    QFETCH(double, a1);
    QFETCH(double, p2);
    QFETCH(int, size);
    std::vector<FloatPoint> points;
    const Parameter p{a1, 0, 1, p2, z, n};
    const FigureRun run = figurePoints(p, loopEnd(k), points);
    const QImage reference = painterReference(points, run.count, size);
    const QImage ours = raster(points, run.count, size);
    QCOMPARE(strays(ours, reference), 0);
    QCOMPARE(strays(reference, ours), 0);
    const int expected = litCount(reference);
    const int actual = litCount(ours);
    QVERIFY2(std::abs(actual - expected) <= 0.02 * expected,
             qPrintable(QString("%1 lit, reference %2").arg(actual).arg(expected)));
}

void TestSegmentRaster::segmentsOutsideAreCutNotWrapped()
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<FloatPoint> points = {{-10, 0}, {10, 0},  {0, -1e6f}, {0, 1e6f}, {5, 5},
                                            {6, 6},   {nan, 0}, {0, inf},   {1, 1}};
    const QImage ours = raster(points, points.size(), 441);
    // The horizontal axis row and the vertical axis column are lit edge to edge; the
    // segment outside the area and those with a point that is not a number leave nothing.
    for (int i = 0; i < 441; ++i) {
        QVERIFY(lit(ours, i, 220));
        QVERIFY(lit(ours, 220, i));
    }
    QCOMPARE(litCount(ours), 441 + 441 - 1 + 0);
}

void TestSegmentRaster::aCutEndAHairOutsideLightsItsEdgePixel()
{
    // Cut to the area, this segment's first end lands at x = -8.9e-16: its own pixel is
    // (0, 237), not one to the left of the bitmap (which the sanitizer build reports).
    RunBitmaps bitmaps;
    bitmaps.reset(441, 441);
    bitmaps.segment(-7.3, 234, 330.5, 410.6);
    LitRows rows;
    rows.reset(441, 441, {0, 0, 440, 440});
    rows.add(bitmaps, {0, 0, 440, 440});
    QImage image = blank(441);
    rows.paint(reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4,
               qRgb(255, 255, 255));
    QVERIFY(lit(image, 0, 237));
}

void TestSegmentRaster::segmentsLookedUpTogetherAsOneByOne_data()
{
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("side");
    QTest::addColumn<double>("move");
    QTest::newRow("a third of a pixel") << 0.3 << 441 << 3.0;
    QTest::newRow("20 px, as 179 : 183 at 441 px") << 20.0 << 441 << 0.5;
    // Runs longer than one load holds, and walks that leave the area.
    QTest::newRow("45 px") << 45.0 << 200 << 0.5;
    QTest::newRow("120 px, mostly outside") << 120.0 << 130 << 0.5;
}

// Polylines are drawn, then looked up as they are (every segment lit) and moved a little
// (some lit, some not): all segments at once answer as each on its own does, in every way of
// looking up that the processor has.
void TestSegmentRaster::segmentsLookedUpTogetherAsOneByOne()
{
    QFETCH(double, step);
    QFETCH(int, side);
    QFETCH(double, move);
    std::mt19937 random(23);
    std::uniform_real_distribution<double> turn(0, 6.283);
    std::uniform_real_distribution<double> jitter(-move, move);
    RunBitmaps bitmaps;
    bitmaps.reset(side, side);
    LitRows lit;
    lit.reset(side, side, {0, 0, side - 1, side - 1});
    constexpr std::size_t kPoints = 65;
    std::vector<std::vector<double>> xs;
    std::vector<std::vector<double>> ys;
    for (int line = 0; line < 40; ++line) {
        xs.push_back({side / 2.0});
        ys.push_back({side / 2.0});
        for (std::size_t i = 1; i < kPoints; ++i) {
            const double angle = turn(random);
            xs.back().push_back(xs.back()[i - 1] + step * std::cos(angle));
            ys.back().push_back(ys.back()[i - 1] + step * std::sin(angle));
            bitmaps.segment(xs.back()[i], ys.back()[i], xs.back()[i - 1], ys.back()[i - 1]);
        }
    }
    lit.addNew(bitmaps);
    int found = 0;
    int missing = 0;
    for (std::size_t line = 0; line < xs.size(); ++line) {
        // Every way this processor can look segments up answers alike.
        const auto together = [&](SegmentLookup how) {
            return lit.segmentsLit(xs[line].data(), ys[line].data(), kPoints, how);
        };
        for (const SegmentLookup how : LitRows::segmentLookups())
            QCOMPARE(together(how), ~std::uint64_t{0});
        for (std::size_t i = 0; i < kPoints; ++i) {
            xs[line][i] += jitter(random);
            ys[line][i] += jitter(random);
        }
        xs[line][7] = std::numeric_limits<double>::quiet_NaN();
        for (const SegmentLookup how : LitRows::segmentLookups()) {
            const std::uint64_t answers = together(how);
            for (std::size_t i = 0; i + 1 < kPoints; ++i) {
                const bool one =
                    lit.segmentLit(xs[line][i + 1], ys[line][i + 1], xs[line][i], ys[line][i]);
                QCOMPARE(bool(answers >> i & 1), one);
                (one ? found : missing) += 1;
            }
        }
    }
    // Both answers came up often enough for a fault in either to show.
    QVERIFY2(found > 100 && missing > 100,
             qPrintable(QString("%1 lit, %2 not").arg(found).arg(missing)));
}

// Publishing turns squares of one bitmap layout into the other: bit j of word i becomes bit i of
// word j, the same with the words one at a time and with the processor's vectors.
void TestSegmentRaster::squaresTurnAboutTheirDiagonal()
{
    std::mt19937_64 random(7);
    for (int square = 0; square < 50; ++square) {
        std::array<std::uint64_t, 64> bits;
        for (std::uint64_t& word : bits)
            word = random() & random(); // a quarter of the bits set
        std::array<std::uint64_t, 64> plain = bits;
        std::array<std::uint64_t, 64> fast = bits;
        transposeBitsPlain(plain);
        transposeBits(fast);
        QCOMPARE(fast, plain);
        for (int i = 0; i < 64; ++i) {
            for (int j = 0; j < 64; ++j)
                QCOMPARE(plain[j] >> i & 1, bits[i] >> j & 1);
        }
    }
}

void TestSegmentRaster::aLongRunIsLookedUpToItsLastWord_data()
{
    QTest::addColumn<bool>("steep");
    QTest::newRow("down a column") << true;
    QTest::newRow("along a row") << false;
}

// Pixels 0 .. 127 of a line drawn straight into lit bits, then 0 .. 150 asked for: only the
// third word of the run is missing.
void TestSegmentRaster::aLongRunIsLookedUpToItsLastWord()
{
    QFETCH(bool, steep);
    LitRows lit;
    lit.reset(200, 200, {0, 0, 199, 199});
    const auto segment = [steep](double end) {
        return steep ? std::array{10.5, 0.5, 10.5, end} : std::array{0.5, 10.5, end, 10.5};
    };
    const auto drawn = segment(127.5);
    lit.segment(drawn[0], drawn[1], drawn[2], drawn[3]);
    QVERIFY(lit.segmentLit(drawn[0], drawn[1], drawn[2], drawn[3]));
    const auto longer = segment(150.5);
    QVERIFY(!lit.segmentLit(longer[0], longer[1], longer[2], longer[3]));
}

void TestSegmentRaster::runsLitAlreadyAreLeftOut_data()
{
    QTest::addColumn<QLineF>("segment");
    QTest::addColumn<bool>("litRows");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    // Lit: lines first .. last across the area, and every fifth line besides, so that some
    // runs are lit in part (none where last < first); runs of at most seven pixels.
    QTest::newRow("steep, rows lit") << QLineF(50.3, 20.7, 90.6, 260.2) << true << 100 << 199;
    QTest::newRow("flat, columns lit") << QLineF(20.7, 50.3, 260.2, 90.6) << false << 100 << 199;
    QTest::newRow("steep, cut at the edge")
        << QLineF(-30.2, -40.9, 60.1, 300.4) << true << 0 << 150;
    QTest::newRow("flat, cut at the edge") << QLineF(299.5, 10.2, -20.3, 40.8) << false << 0 << 150;
    QTest::newRow("nothing lit") << QLineF(50.3, 20.7, 90.6, 260.2) << true << 1 << 0;
}

// A segment drawn beyond lit bits leaves out the runs whose pixels are all lit, and lights
// with them what it lights alone.
void TestSegmentRaster::runsLitAlreadyAreLeftOut()
{
    QFETCH(QLineF, segment);
    QFETCH(bool, litRows);
    QFETCH(int, first);
    QFETCH(int, last);
    constexpr int kSide = 256;
    const PixelBox all{0, 0, kSide - 1, kSide - 1};
    RunBitmaps lines;
    lines.reset(kSide, kSide);
    for (int i = 0; first <= last && i < kSide; ++i) {
        if (i % 5 != 0 && (i < first || i > last))
            continue;
        if (litRows)
            lines.segment(0, i + 0.5, kSide, i + 0.5);
        else
            lines.segment(i + 0.5, 0, i + 0.5, kSide);
    }
    LitRows lit;
    lit.reset(kSide, kSide, all);
    lit.addNew(lines);
    const auto rows = [&](bool beyond) {
        RunBitmaps bitmaps;
        bitmaps.reset(kSide, kSide);
        if (beyond)
            lit.segmentInto(bitmaps, segment.x1(), segment.y1(), segment.x2(), segment.y2());
        else
            bitmaps.segment(segment.x1(), segment.y1(), segment.x2(), segment.y2());
        LitRows drawn;
        drawn.reset(kSide, kSide, all);
        drawn.add(bitmaps, all);
        return std::vector<std::uint64_t>(drawn.row(0), drawn.row(kSide));
    };
    const std::vector<std::uint64_t> alone = rows(false);
    const std::vector<std::uint64_t> beyond = rows(true);
    const std::vector<std::uint64_t> litWords(lit.row(0), lit.row(kSide));
    int drawn = 0;
    for (std::size_t w = 0; w < alone.size(); ++w) {
        QCOMPARE(beyond[w] & ~alone[w], std::uint64_t{0});
        QCOMPARE(beyond[w] | litWords[w], alone[w] | litWords[w]);
        drawn += std::popcount(beyond[w]);
        const int y = static_cast<int>(w / lit.wordsPerRow());
        for (int b = 0; b < 64; ++b) {
            const int x = static_cast<int>(w % lit.wordsPerRow()) * 64 + b;
            const int across = litRows ? y : x;
            if ((beyond[w] >> b & 1) != 0 && across >= first + 7 && across <= last - 7)
                QFAIL(qPrintable(QString("pixel (%1, %2) drawn again").arg(x).arg(y)));
        }
    }
    QVERIFY(drawn > 0);
    if (first > last)
        QVERIFY(beyond == alone);
}

KORVELIAN_PLAIN_TEST(segmentraster, TestSegmentRaster)
#include "tst_segmentraster.moc"
