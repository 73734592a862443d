#include "model/barvalues.h"
#include "model/constants.h"
#include "picture/pictureexporter.h"
#include "picture/scenepainter.h"
#include "scene/geometry.h"
#include "scene/keptmetrics.h"
#include "scene/screenpicture.h"
#include "scene/textmetrics.h"
#include "scene/timesignals.h"
#include "scene/trace.h"
#include "tests/testregistry.h"

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QRectF>
#include <QTest>

#include <random>

using namespace korvelian;

Q_DECLARE_METATYPE(korvelian::Font)

class TestScene : public QObject
{
    Q_OBJECT

private slots:
    void rectanglesAsThePainterHasThem();
    void describedPictureAsItWasPainted();
    void paintedBoxesHoldEveryPaintedPixel_data();
    void paintedBoxesHoldEveryPaintedPixel();
    void traceChangesReachEveryPixelTheyLight_data();
    void traceChangesReachEveryPixelTheyLight();
    void keptMetricsAskOnceAndAnswerTheSame_data();
    void keptMetricsAskOnceAndAnswerTheSame();
    void timeLabelsStandApart_data();
    void timeLabelsStandApart();
};

namespace {

// Measures that count how often they are asked, and answer from the font and the text.
class CountedMetrics final : public TextMetrics
{
public:
    SizeF richTextSize(const std::string& html, const Font& font, double width) override
    {
        ++asked;
        return {advance(font, html) + width, double(font.pixelSize)};
    }
    double lineHeight(const Font& font) override
    {
        ++asked;
        return font.pixelSize + (font.sansSerif ? 0.5 : 0.25);
    }
    double advance(const Font& font, const std::string& text) override
    {
        ++asked;
        return double(text.size() * 7 + font.family.size()) * font.pixelSize;
    }
    double capHeight(const Font& font) override
    {
        ++asked;
        return font.pixelSize * 0.75;
    }
    int asked = 0;
};

} // namespace

// A description places its texts and shapes with its own rectangles; where they differ from
// the painter's by a rounding, a picture moves by a pixel.
void TestScene::rectanglesAsThePainterHasThem()
{
    std::mt19937 random(11);
    // Whole and half pixels, negative sizes and rectangles without extent among them.
    std::uniform_int_distribution<int> halves(-40, 40);
    const auto value = [&] { return halves(random) / 2.0; };
    for (int i = 0; i < 20000; ++i) {
        const RectF a{value(), value(), value(), value()};
        const RectF b{value(), value(), value(), value()};
        const QRectF qa = toQt(a);
        const QRectF qb = toQt(b);
        const QString which = QString("(%1 %2 %3 %4) and (%5 %6 %7 %8)")
                                  .arg(a.x)
                                  .arg(a.y)
                                  .arg(a.width)
                                  .arg(a.height)
                                  .arg(b.x)
                                  .arg(b.y)
                                  .arg(b.width)
                                  .arg(b.height);
        QVERIFY2(toQt(a.normalized()) == qa.normalized(), qPrintable(which));
        QVERIFY2(toQt(a.intersected(b)) == qa.intersected(qb), qPrintable(which));
        QVERIFY2(a.intersects(b) == qa.intersects(qb), qPrintable(which));
        QVERIFY2(toQt(a.toWhole()).toRect() == qa.toRect(), qPrintable(which));
        QVERIFY2(toQt(a.adjusted(1, -2, 3, -4)) == qa.adjusted(1, -2, 3, -4), qPrintable(which));
    }
}

// The screen at amplitudes 2, φy = 60° with the graticule, the reading aid and the values, as
// --export wrote it before its pictures were described apart from their painting: every pixel
// as it was.
void TestScene::describedPictureAsItWasPainted()
{
    const QImage before(QStringLiteral(KORVELIAN_TEST_DATA "/described-amplitudes-2.png"));
    QVERIFY(!before.isNull());
    const Parameter p{2, 0, 2, barUnits(phaseBarValue(60)), 1, 1};
    ScreenPicture picture;
    picture.size = {441, 441};
    picture.frame = kExampleFrame;
    picture.drawing = screenDrawing(p, loopEnd(1));
    picture.graticule = picture.readingAid = picture.values = true;
    const QImage now = PictureExporter::image(picture, 441, false);
    QCOMPARE(now.size(), before.size());
    QCOMPARE(now, before.convertToFormat(now.format()));
}

void TestScene::paintedBoxesHoldEveryPaintedPixel_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("width");
    QTest::newRow("slanting line, 1 px") << 0 << 1.0;
    QTest::newRow("slanting line, 5 px, square ends") << 0 << 5.0;
    QTest::newRow("dashed line, 2 px") << 1 << 2.0;
    QTest::newRow("ellipse and rectangle, 3 px") << 2 << 3.0;
    QTest::newRow("text running out of its box") << 3 << 1.0;
    QTest::newRow("points, 4 px") << 4 << 4.0;
}

// What a repaint covers where a scene was: a pixel painted outside its boxes would stay behind.
void TestScene::paintedBoxesHoldEveryPaintedPixel()
{
    QFETCH(int, kind);
    QFETCH(double, width);
    const RectF target{0, 0, 200, 120};
    Scene scene;
    scene.pen(Pen{
        {palette::kWhite}, width, Cap::Square, Join::Bevel, kind == 1 ? Dash::Dash : Dash::Solid});
    scene.brush({palette::kWhite});
    if (kind <= 1)
        scene.line({20.3, 30.7}, {150.6, 80.2});
    else if (kind == 2)
        scene.add(item::Ellipse{{40.5, 20.5, 30, 50}}).add(item::Rect{{100.5, 60.5, 40, 30}});
    else if (kind == 3)
        scene.font(Font{"", true, 14})
            .text({60, 50, 20, 10}, align::kLeft | align::kTop, "x = 0,123,  y = -0,987",
                  TextRole::Readout);
    else
        scene.add(item::Points{{{10.5, 10.5}, {190.2, 110.7}, {100, 60}}});
    const auto boxes = paintedBoxes(scene, target);
    QVERIFY(boxes);
    QImage image(200, 120, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    ScenePainter().paint(painter, scene);
    painter.end();
    QRegion covered;
    for (const RectF& box : *boxes)
        covered += toQt(box).toAlignedRect();
    int painted = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) == 0)
                continue;
            ++painted;
            QVERIFY2(covered.contains(QPoint(x, y)), qPrintable(QString("%1, %2").arg(x).arg(y)));
        }
    }
    QVERIFY(painted > 0);
    // What moves or cuts its painting is not followed.
    scene.clip(target);
    QVERIFY(!paintedBoxes(scene, target));
}

void TestScene::traceChangesReachEveryPixelTheyLight_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<double>("width");
    // Tiles of 16 pixels of the picture that it does not reach.
    QTest::addColumn<int>("passed");
    QTest::newRow("slanting, 4 px") << QPointF(20.3, 30.7) << QPointF(150.6, 80.2) << 4.0 << 87;
    QTest::newRow("steep, falling, 2 px")
        << QPointF(61.5, 110.2) << QPointF(30.4, 5.6) << 2.0 << 92;
    QTest::newRow("level, 5 px") << QPointF(10.5, 60.5) << QPointF(180.2, 60.5) << 5.0 << 80;
    QTest::newRow("dot, 4 px") << QPointF(100.5, 47.5) << QPointF(100.5, 47.5) << 4.0 << 102;
}

// A frame of the afterglow repaints the tiles its changed pieces reach: a pixel the piece
// lights in a tile it does not reach would stay behind.
void TestScene::traceChangesReachEveryPixelTheyLight()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, at);
    QFETCH(double, width);
    QFETCH(int, passed);
    // As the trace is drawn: without smoothing, flat ends, a dot square.
    Scene scene;
    scene.antialias(false);
    scene.pen(Pen{{palette::kWhite}, width, from == at ? Cap::Square : Cap::Flat});
    if (from == at)
        scene.add(item::Points{{fromQt(at)}});
    else
        scene.line(fromQt(from), fromQt(at));
    QImage image(200, 120, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    ScenePainter().paint(painter, scene);
    painter.end();
    const TraceChange change{fromQt(from), fromQt(at), width / 2 + 1};
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) == 0)
                continue;
            ++lit;
            QVERIFY2(change.reaches({double(x), double(y), 1, 1}),
                     qPrintable(QString("%1, %2").arg(x).arg(y)));
        }
    }
    QVERIFY(lit > 0);
    int notReached = 0;
    for (int y = 0; y < image.height(); y += 16) {
        for (int x = 0; x < image.width(); x += 16)
            notReached += !change.reaches({double(x), double(y), 16, 16});
    }
    QCOMPARE(notReached, passed);
}

void TestScene::keptMetricsAskOnceAndAnswerTheSame_data()
{
    // Each question twice: the second answer is the first, unasked.
    QTest::addColumn<int>("question");
    QTest::addColumn<Font>("font");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("width");
    const Font serif{"Serif", false, 12};
    QTest::newRow("advance") << 0 << serif << "t = 0,25 T:" << 0.0;
    QTest::newRow("advance of no text") << 0 << serif << "" << 0.0;
    QTest::newRow("line height") << 1 << Font{"Sans", true, 17} << "" << 0.0;
    QTest::newRow("cap height") << 2 << serif << "" << 0.0;
    QTest::newRow("rich text") << 3 << serif << "<i>x</i><sub>0</sub>" << 40.0;
    QTest::newRow("rich text, unwrapped") << 3 << serif << "<i>x</i><sub>0</sub>" << 0.0;
}

void TestScene::keptMetricsAskOnceAndAnswerTheSame()
{
    QFETCH(int, question);
    QFETCH(Font, font);
    QFETCH(QString, text);
    QFETCH(double, width);
    CountedMetrics counted;
    CountedMetrics reference;
    KeptTextMetrics kept(counted);
    const std::string words = text.toStdString();
    // Each answer as two numbers, so that one comparison holds every question.
    const auto ask = [&](TextMetrics& metrics) -> std::pair<double, double> {
        switch (question) {
        case 0:
            return {metrics.advance(font, words), 0};
        case 1:
            return {metrics.lineHeight(font), 0};
        case 2:
            return {metrics.capHeight(font), 0};
        default:
            const SizeF size = metrics.richTextSize(words, font, width);
            return {size.width, size.height};
        }
    };
    const auto answer = ask(reference);
    QCOMPARE(ask(kept), answer);
    const int asked = counted.asked;
    QCOMPARE(ask(kept), answer);
    QCOMPARE(counted.asked, asked);
    // Another font or another width is another question.
    Font other = font;
    other.pixelSize += 1;
    std::swap(font, other);
    ask(kept);
    QVERIFY(counted.asked > asked);
    std::swap(font, other);
    if (question == 3) {
        const int before = counted.asked;
        width += 1;
        QCOMPARE(ask(kept).first, ask(reference).first);
        QVERIFY(counted.asked > before);
    }
}

// Many periods on a narrow axis: the labels thin out evenly and never touch; the few of an
// everyday figure stay every one.
void TestScene::timeLabelsStandApart_data()
{
    QTest::addColumn<double>("numerator");
    QTest::addColumn<double>("denominator");
    QTest::addColumn<double>("width");
    QTest::addColumn<QString>("labels");
    QTest::newRow("3 : 2") << 3.0 << 2.0 << 560.0 << "0|T|2 T";
    QTest::newRow("3 : 2, narrow") << 3.0 << 2.0 << 120.0 << "0|T|2 T";
    QTest::newRow("3 : 2, the last too close") << 3.0 << 2.0 << 100.0 << "0|T";
    QTest::newRow("179 : 183") << 179.0 << 183.0 << 560.0
                               << "0|23 T|46 T|69 T|92 T|115 T|138 T|161 T";
    QTest::newRow("179 : 183, narrower") << 179.0 << 183.0 << 300.0 << "0|46 T|92 T|138 T";
    QTest::newRow("179 : 183, narrow") << 179.0 << 183.0 << 150.0 << "0|69 T|138 T";
    QTest::newRow("1 : 250, narrow") << 1.0 << 250.0 << 200.0 << "0|64 T|128 T|192 T";
    QTest::newRow("too narrow for two") << 1.0 << 250.0 << 60.0 << "0";
    QTest::newRow("32767 : 1") << 32767.0 << 1.0 << 80.0 << "0|T";
}

void TestScene::timeLabelsStandApart()
{
    QFETCH(double, numerator);
    QFETCH(double, denominator);
    QFETCH(double, width);
    QFETCH(QString, labels);
    // Letters half as wide as the font is high, a space as wide as any.
    class HalfWide final : public TextMetrics
    {
    public:
        SizeF richTextSize(const std::string& html, const Font& font, double) override
        {
            return {advance(font, html), lineHeight(font)};
        }
        double lineHeight(const Font& font) override { return font.pixelSize * 1.2; }
        double advance(const Font& font, const std::string& text) override
        {
            return text.size() * font.pixelSize / 2.0;
        }
        double capHeight(const Font& font) override { return font.pixelSize * 0.7; }
    } metrics;
    TimeSignalScene shown;
    shown.p = {1, 0, 1, 0, numerator, denominator};
    shown.hasFigure = true;
    Scene scene;
    describeTimeSignals(scene, metrics, {0, 0, width, 300}, shown, {});
    QStringList texts;
    double end = -1e9;
    const double gap = metrics.advance({"Times New Roman", false, 13}, " ");
    for (const Item& it : scene.items()) {
        const auto* text = std::get_if<item::Text>(&it);
        if (!text || text->role != TextRole::TimeLabel)
            continue;
        const double w = metrics.advance({"Times New Roman", false, 13}, text->text);
        const double left =
            text->alignment & align::kRight ? text->box.right() - w : text->box.center().x - w / 2;
        QVERIFY2(left >= end + gap, text->text.c_str());
        end = left + w;
        texts << QString::fromStdString(text->text);
    }
    QCOMPARE(texts.join('|'), labels);
}

KORVELIAN_GUI_TEST(scene, TestScene)
#include "tst_scene.moc"
