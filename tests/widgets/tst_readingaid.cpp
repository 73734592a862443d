#include "model/figurereading.h"
#include "widgets/helpwindow.h"
#include "picture/pictureexporter.h"
#include "widgets/readingsimages.h"
#include "widgets/screenarea.h"
#include "app/viewactions.h"
#include "app/windowzoom.h"
#include "tests/windowfixture.h"

#include <QLabel>
#include <QPainter>
#include <QScrollBar>

#include <thread>

using namespace korvelian;

Q_DECLARE_METATYPE(korvelian::Parameter)

namespace {

// The aid's green, also where its smoothed rings blend with the black screen: nothing else
// on the screen is green.
bool isMark(QRgb c)
{
    return qGreen(c) > qRed(c) + 60 && qGreen(c) > qBlue(c) + 30;
}

int marks(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += isMark(image.pixel(x, y)) ? 1 : 0;
    }
    return count;
}

// Mark pixels within a few pixels of a place.
int marksNear(const QImage& image, QPoint place)
{
    return marks(image.copy(QRect(place - QPoint(6, 6), QSize(13, 13))));
}

// The reading aid of a figure of p as the screen describes it at 100 %.
Scene aidOf(const Parameter& p, bool entryAccepted = true, bool yUp = false)
{
    ScreenPicture picture;
    picture.size = {441, 441};
    picture.readingAid = true;
    picture.yUp = yUp;
    picture.entryAccepted = entryAccepted;
    picture.setFrame(-2, -2, 2, 2);
    picture.addFigure(p, 100, palette::kScreenForeground);
    Scene scene;
    picture.describeReadings(scene, qtTextMetrics(), {0, 0, 441, 441}, 1, false);
    return scene;
}

QImage painted(const Scene& scene)
{
    QImage image(441, 441, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    ScenePainter(ScenePainter::Repeats::Stamp).paint(painter, scene);
    return image;
}

} // namespace

class TestReadingAid : public QObject
{
    Q_OBJECT

private slots:
    void marksTheTouchPointsOnTheScreenAndInTheCopy();
    void helpShowsTheProgramsOwnPictures();
    void growsWithThePicture();
    void legendNeverOverTheFigure_data();
    void legendNeverOverTheFigure();
    void keptReadingsAsMadeAfresh_data();
    void keptReadingsAsMadeAfresh();
    void touchPointsOfTheLastFigureAsReadAfresh_data();
    void touchPointsOfTheLastFigureAsReadAfresh();
    void keptReadingsImagesAsPaintedAfresh_data();
    void keptReadingsImagesAsPaintedAfresh();
};

void TestReadingAid::marksTheTouchPointsOnTheScreenAndInTheCopy()
{
    WindowFixture f;
    QVERIFY(f.show());
    auto* screen = f.control<ScreenArea>("picBildschirm");
    f.control<QScrollBar>("hscPhase")->setValue(30);
    f.control<QLineEdit>("txtZaehler")->setText("3");
    f.control<QLineEdit>("txtNenner")->setText("2");
    QVERIFY(!screen->readingAid());
    QCOMPARE(marks(screen->grab().toImage()), 0);

    f.window.viewActions().setReadingAid(true);
    QVERIFY(screen->readingAid());
    const QImage shown = screen->grab().toImage();
    // Each touch point the formulas give has its mark where it lies on the screen.
    const TouchReading touch = readTouchPoints({1, 0, 1, 0.3, 3, 2}, true);
    QCOMPARE(int(touch.top.size()), 3);
    QCOMPARE(int(touch.right.size()), 2);
    auto pixel = [](double x, double y) {
        return QPoint(int((x + 2) / 4 * 441), int((y + 2) / 4 * 441));
    };
    for (const TouchPoint& point : touch.top)
        QVERIFY(marksNear(shown, pixel(point.position, -1)) > 0);
    for (const TouchPoint& point : touch.right)
        QVERIFY(marksNear(shown, pixel(1, point.position)) > 0);
    QVERIFY(marks(PictureExporter::image(screen->picture(), 441, false)) > 0);

    // A refused entry: no marks, only the line that says why.
    f.control<QLineEdit>("txtNenner")->setText("0");
    const QImage refused = screen->grab().toImage();
    for (const TouchPoint& point : touch.right)
        QCOMPARE(marksNear(refused, pixel(1, point.position)), 0);

    f.window.viewActions().setReadingAid(false);
    QCOMPARE(marks(PictureExporter::image(screen->picture(), 441, false)), 0);
}

// The pictures follow the screen's orientation: the 45° ellipse rises to the right with y up,
// so its upper right quarter holds more of the figure than its upper left; at 200 % they are
// twice as wide.
void TestReadingAid::helpShowsTheProgramsOwnPictures()
{
    HelpWindow help;
    const auto picture = [&help](const char* name) {
        return help.document()->resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
    };
    const auto rising = [](const QImage& image) {
        const int half = image.width() / 2;
        const auto white = [&](int left) {
            int count = 0;
            for (int y = 0; y < half; ++y) {
                for (int x = left; x < left + half; ++x)
                    count += image.pixel(x, y) == qRgb(255, 255, 255) ? 1 : 0;
            }
            return count;
        };
        return white(half) > white(0);
    };
    for (const bool yUp : {false, true}) {
        help.setYUp(yUp);
        for (const char* name : {"bild:beruehrpunkte-3-2.png", "bild:ellipse-45.png"})
            QVERIFY2(marks(picture(name)) > 0, name);
        QCOMPARE(rising(picture("bild:ellipse-45.png")), yUp);
    }
    // The pictures grow with the zoom as the text does.
    const int atOne = picture("bild:ellipse-45.png").width();
    const int timeSignalsAtOne = picture("bild:zeitverlaeufe-3-2.png").width();
    help.showAt(2, 200);
    QCOMPARE(picture("bild:ellipse-45.png").width(), 2 * atOne);
    QCOMPARE(picture("bild:zeitverlaeufe-3-2.png").width(), 2 * timeSignalsAtOne);
    help.close();
}

// The legend at 150 % is the one at 100 % enlarged: it starts one and a half times as far down,
// not at the next whole line width.
void TestReadingAid::growsWithThePicture()
{
    WindowFixture f;
    f.window.viewActions().setReadingAid(true);
    const auto legendTop = [&](int size) {
        const QImage picture =
            PictureExporter::image(f.control<ScreenArea>("picBildschirm")->picture(), size, false);
        for (int y = picture.height() * 4 / 5; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (isMark(picture.pixel(x, y)))
                    return y;
            }
        }
        return -1;
    };
    const int at100 = legendTop(441);
    QVERIFY(at100 > 0);
    QVERIFY2(std::abs(legendTop(662) - at100 * 3 / 2) <= 3,
             qPrintable(QString("%1 at 100 %, %2 at 150 %").arg(at100).arg(legendTop(662))));
}

void TestReadingAid::legendNeverOverTheFigure_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("amplitude"); // both bars
    QTest::addColumn<bool>("onScreen"); // the legend, else beside the window
    QTest::newRow("100 %, amplitude 1: below the figure") << 100 << 100 << true;
    QTest::newRow("150 %, amplitude 1,25: below the figure") << 150 << 125 << true;
    QTest::newRow("100 %, amplitude 2: beside the window") << 100 << 200 << false;
    QTest::newRow("200 %, amplitude 2: beside the window") << 200 << 200 << false;
}

// 3 : 2 has no mark inside its box: nothing of the aid may lie there. The marks on the box's
// edge are whole, also where the box is the screen's edge, and the legend is either in a band
// beside the box or in a window beside the main window, and beneath a copy.
void TestReadingAid::legendNeverOverTheFigure()
{
    QFETCH(int, zoom);
    QFETCH(int, amplitude);
    QFETCH(bool, onScreen);
    WindowFixture f;
    f.window.zoom().setZoomPercent(zoom);
    QVERIFY(f.show());
    auto* screen = f.control<ScreenArea>("picBildschirm");
    f.control<QScrollBar>("hscPhase")->setValue(30);
    f.control<QScrollBar>("hscAmp1")->setValue(amplitude);
    f.control<QScrollBar>("hscAmp2")->setValue(amplitude);
    f.control<QLineEdit>("txtZaehler")->setText("3");
    f.control<QLineEdit>("txtNenner")->setText("2");
    f.window.viewActions().setReadingAid(true);
    const QImage shown = screen->grab().toImage();
    QCoreApplication::processEvents();

    const double a = amplitude / 100.0;
    const PixelMapping m = screen->mappingOnto(screen->frame(), QRectF(screen->rect()));
    const QRectF box = QRectF(toQt(mapPoint(m, -a, -a)), toQt(mapPoint(m, a, a))).normalized();
    QCOMPARE(screen->zoom(), zoom / 100.0);
    const double radius = 4 * screen->zoom();
    const double reach = radius + 2 * screen->zoom();
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (!isMark(shown.pixel(x, y)))
                continue;
            inside +=
                box.adjusted(2 * reach, 2 * reach, -2 * reach, -2 * reach).contains(x, y) ? 1 : 0;
            outside += box.adjusted(-reach, -reach, reach, reach).contains(x, y) ? 0 : 1;
        }
    }
    QCOMPARE(inside, 0);
    QCOMPARE(outside > 0, onScreen);

    const auto* legend = f.window.findChild<QLabel*>("legend");
    QVERIFY(legend);
    QCOMPARE(legend->isVisible(), !onScreen);
    if (!onScreen) {
        QVERIFY(legend->text().contains("Berührpunkte"));
        const QRect screenOnDesktop(screen->mapToGlobal(QPoint(0, 0)), screen->size());
        QVERIFY(!legend->frameGeometry().intersects(screenOnDesktop));
    }
    const QImage copy = PictureExporter::image(screen->picture(), screen->width(), false);
    QCOMPARE(copy.height() > copy.width(), !onScreen);
    if (!onScreen)
        QVERIFY(marks(copy.copy(0, copy.width(), copy.width(), copy.height() - copy.width())) > 0);

    // Each mark on the top edge is a whole ring, as tall as it is wide.
    for (const TouchPoint& point : readTouchPoints({a, 0, a, 0.3, 3, 2}, true).top) {
        const int x = int(mapPoint(m, point.position, 0).x);
        int top = shown.height();
        int bottom = -1;
        for (int y = 0; y < int(box.top() + 3 * radius); ++y) {
            for (int dx = -int(radius) - 2; dx <= int(radius) + 2; ++dx) {
                if (x + dx >= 0 && x + dx < shown.width() && isMark(shown.pixel(x + dx, y))) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        // Antialiased, its faint rim may not count.
        QVERIFY2(bottom - top + 1 >= 2 * radius - 1,
                 qPrintable(QString("%1 rows at x %2").arg(bottom - top + 1).arg(x)));
    }
}

// On a projector's screen, where the window has room up to 220 %.
int runReadingAidTest(int argc, char* argv[])
{
    return runWidgetTest<TestReadingAid>(argc, argv, R"({"screens": [{"name": "projector",
        "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96,
        "dpr": 1}]})");
}

void TestReadingAid::keptReadingsAsMadeAfresh_data()
{
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<int>("phase");
    QTest::addColumn<bool>("afterglow");
    QTest::addColumn<int>("amplitude");
    // Stamped rings of many touch points, and rings painted one by one.
    QTest::newRow("32767 : 1, a step of the phase") << "32767" << 79 << false << 100;
    QTest::newRow("32767 : 1, a step of the phase, dimmed figure") << "32767" << 79 << true << 100;
    QTest::newRow("32767 : 1 to 300 : 1") << "300" << 0 << false << 100;
    QTest::newRow("32767 : 1 to 3 : 1, dimmed figure") << "3" << 0 << true << 100;
    // The figure fills the screen: the legend goes beside the window.
    QTest::newRow("32767 : 1 to 3 : 1, amplitudes 2") << "3" << 0 << false << 200;
}

// The screen keeps its readings' description, its stamps of rings and the legend beside it from
// one figure to the next: after a step of the phase or a new ratio they show what a window that
// never showed the figure before shows, and the legend goes beside the window when it must.
void TestReadingAid::keptReadingsAsMadeAfresh()
{
    QFETCH(QString, numerator);
    QFETCH(int, phase);
    QFETCH(bool, afterglow);
    QFETCH(int, amplitude);
    const auto showing = [&](WindowFixture& f, const QString& ratio, int at, int size) {
        for (const ViewOption option : {ViewOption::ReadingAid, ViewOption::Values})
            f.window.viewActions().setOption(option, true);
        f.window.viewActions().setOption(ViewOption::Afterglow, afterglow);
        f.control<QLineEdit>("txtZaehler")->setText(ratio);
        f.control<QScrollBar>("hscPhase")->setValue(at);
        f.control<QScrollBar>("hscAmp1")->setValue(size);
        f.control<QScrollBar>("hscAmp2")->setValue(size);
        return f.control<ScreenArea>("picBildschirm")->grab().toImage();
    };
    WindowFixture kept;
    QVERIFY(kept.show());
    const QImage before = showing(kept, "32767", 0, 100);
    const QImage after = showing(kept, numerator, phase, amplitude);
    WindowFixture fresh;
    QVERIFY(fresh.show());
    const QImage made = showing(fresh, numerator, phase, amplitude);
    QVERIFY(after != before);
    QVERIFY(after == made);
    // A figure that fills the screen leaves the legend no room on it.
    QCOMPARE(kept.control<ScreenArea>("picBildschirm")->legendBeside().isEmpty(), amplitude <= 100);
}

void TestReadingAid::touchPointsOfTheLastFigureAsReadAfresh_data()
{
    QTest::addColumn<Parameter>("first");
    QTest::addColumn<Parameter>("next");
    QTest::addColumn<bool>("entryAccepted");
    QTest::addColumn<bool>("yUp");
    // After 3 : 2 at phases 0 and 0.3, each setting the touch points are read from changed.
    const Parameter p{1, 0, 1, 0.3, 3, 2};
    const auto with = [&p](auto change) {
        Parameter changed = p;
        change(changed);
        return changed;
    };
    QTest::newRow("phase y") << p << with([](Parameter& q) { q.phaseY = 0.9; }) << true << false;
    QTest::newRow("phase x") << p << with([](Parameter& q) { q.phaseX = 0.5; }) << true << false;
    QTest::newRow("amplitude x") << p << with([](Parameter& q) { q.amplitudeX = 0.6; }) << true
                                 << false;
    QTest::newRow("amplitude y") << p << with([](Parameter& q) { q.amplitudeY = 0.6; }) << true
                                 << false;
    QTest::newRow("numerator") << p << with([](Parameter& q) { q.numerator = 5; }) << true << false;
    QTest::newRow("denominator") << p << with([](Parameter& q) { q.denominator = 5; }) << true
                                 << false;
    QTest::newRow("textbook") << p << with([](Parameter& q) { q.textbook = true; }) << true
                              << false;
    QTest::newRow("entry refused") << p << p << false << false;
    // The same figure seen the other way up: its touch points on the other edge.
    const Parameter leaning{1, 0.4, 1, 0.3, 5, 3};
    QTest::newRow("y up") << leaning << leaning << true << true;
}

// The touch points of the figure read last are kept for its legend and the legend's place: the
// next figure's marks and legend are those of a thread that never read another.
void TestReadingAid::touchPointsOfTheLastFigureAsReadAfresh()
{
    QFETCH(Parameter, first);
    QFETCH(Parameter, next);
    QFETCH(bool, entryAccepted);
    QFETCH(bool, yUp);
    const QImage before = painted(aidOf(first));
    const QImage kept = painted(aidOf(next, entryAccepted, yUp));
    QImage fresh;
    std::thread([&] { fresh = painted(aidOf(next, entryAccepted, yUp)); }).join();
    QVERIFY(kept != before);
    QVERIFY(kept == fresh);
}

void TestReadingAid::keptReadingsImagesAsPaintedAfresh_data()
{
    QTest::addColumn<Parameter>("next");
    QTest::addColumn<bool>("layer");
    // Stamped rings of many touch points, over the figure and as a layer over the trace.
    const Parameter p{1, 0, 1, 0, 32767, 1};
    Parameter stepped = p;
    stepped.phaseY = 0.79;
    const Parameter ratio{1, 0, 1, 0, 3, 2};
    QTest::newRow("a step of the phase, over the figure") << stepped << false;
    QTest::newRow("a step of the phase, layer") << stepped << true;
    QTest::newRow("a new ratio, over the figure") << ratio << false;
    QTest::newRow("a new ratio, layer") << ratio << true;
}

// The images of the readings keep their memory from one figure to the next and show what images
// painted afresh show.
void TestReadingAid::keptReadingsImagesAsPaintedAfresh()
{
    QFETCH(Parameter, next);
    QFETCH(bool, layer);
    const auto paint = [layer](ReadingsImages& images, const QImage& figure, const Scene& aid,
                               ScenePainter& painter) -> const QImage& {
        return layer ? images.layer(figure, aid, painter) : images.over(figure, aid, painter);
    };
    QImage figure(441, 441, QImage::Format_RGB32);
    figure.fill(Qt::black);
    QImage nextFigure = figure;
    nextFigure.fill(QColor(0, 0, 90));
    ScenePainter painter(ScenePainter::Repeats::Stamp);
    ReadingsImages kept;
    // A copy of its own: the kept images are painted into again where nothing else holds them.
    const QImage first = paint(kept, figure, aidOf({1, 0, 1, 0, 32767, 1}), painter).copy();
    kept.outdate();
    const Scene nextAid = aidOf(next);
    const QImage shown = paint(kept, nextFigure, nextAid, painter);
    ReadingsImages fresh;
    ScenePainter freshPainter(ScenePainter::Repeats::Stamp);
    QVERIFY(shown != first);
    QVERIFY(shown == paint(fresh, nextFigure, nextAid, freshPainter));
}

KORVELIAN_TEST_AREA(readingaid, runReadingAidTest)
#include "tst_readingaid.moc"
