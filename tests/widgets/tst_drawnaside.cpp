#include "app/viewactions.h"
#include "app/windowzoom.h"
#include "picture/pictureexporter.h"
#include "widgets/screenarea.h"
#include "tests/windowfixture.h"

#include <QClipboard>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QThread>

#include <memory>

using namespace korvelian;

namespace {

// Room for the window at 200 %.
constexpr char kScreens[] = R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 2400,
  "height": 1600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";

// The figure where little can be skipped, 179 : 183 at amplitudes 2, or 3 : 2.
void setFigure(WindowFixture& f, bool large, int amplitudeX)
{
    f.control<QLineEdit>("txtZaehler")->setText(large ? "179" : "3");
    f.control<QLineEdit>("txtNenner")->setText(large ? "183" : "2");
    f.control<QScrollBar>("hscAmp2")->setValue(large ? 200 : 100);
    f.control<QScrollBar>("hscAmp1")->setValue(amplitudeX);
}

ScreenArea* screenOf(WindowFixture& f)
{
    return f.control<ScreenArea>("picBildschirm");
}

// The screen's picture as it was made before the drawing thread: at once, on the event thread.
QImage madeAtOnce(bool large, int amplitudeX, int zoom)
{
    WindowFixture f;
    screenOf(f)->setDrawnAside(false);
    f.window.zoom().setZoomPercent(zoom);
    setFigure(f, large, amplitudeX);
    return screenOf(f)->image().copy();
}

// What the window shows of the screen, as painted into it piece by piece.
QImage shownOnScreen(WindowFixture& f)
{
    QWidget* screen = screenOf(f);
    const QImage window = f.window.screen()->grabWindow(f.window.winId()).toImage();
    const qreal ratio = window.devicePixelRatio();
    return window
        .copy(QRectF(QPointF(screen->mapTo(&f.window, QPoint(0, 0))) * ratio,
                     QSizeF(screen->size()) * ratio)
                  .toAlignedRect())
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestDrawnAside : public QObject
{
    Q_OBJECT

private slots:
    void theExactPictureOnceInputPauses_data();
    void theExactPictureOnceInputPauses();
    void aHeldKeyEndsOnItsLastPicture();
    void whatIsAskedForIsExactAtOnce();
    void aDriftFasterThanItsPassesShowsNewerPictures();
    void driftStepsLeaveWhatAWholeRepaintShows_data();
    void driftStepsLeaveWhatAWholeRepaintShows();
    void readingsShownAreThoseOfThePicture_data();
    void readingsShownAreThoseOfThePicture();
    void stepsShownOutOfTurnRepaintByTiles_data();
    void stepsShownOutOfTurnRepaintByTiles();
    void aWindowClosedWhileDrawingEndsCleanly_data();
    void aWindowClosedWhileDrawingEndsCleanly();
    void aLayerDrawnWhereItHasPixelsAsEverywhere_data();
    void aLayerDrawnWhereItHasPixelsAsEverywhere();
};

void TestDrawnAside::theExactPictureOnceInputPauses_data()
{
    QTest::addColumn<bool>("large");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<bool>("previewed");
    QTest::newRow("179 : 183 at amplitudes 2, a preview first") << true << 100 << true;
    QTest::newRow("179 : 183 at 200 %, lines 2 px wide") << true << 200 << true;
    QTest::newRow("3 : 2, drawn whole at once") << false << 100 << false;
}

// Shown by the drawing thread, bit for bit the picture made at once on the event thread.
void TestDrawnAside::theExactPictureOnceInputPauses()
{
    QFETCH(bool, large);
    QFETCH(int, zoom);
    QFETCH(bool, previewed);
    WindowFixture f;
    QVERIFY(f.show());
    f.window.zoom().setZoomPercent(zoom);
    ScreenArea* screen = screenOf(f);
    QVERIFY(screen->drawnAside());
    QTRY_VERIFY(screen->showsExact());
    const int previews = screen->previewsShown();
    setFigure(f, large, 157);
    QVERIFY(!screen->showsExact());
    QTRY_VERIFY(screen->showsExact());
    QCOMPARE(screen->previewsShown() > previews, previewed);
    QCOMPARE(f.window.zoom().zoomPercent(), zoom);
    QVERIFY(screen->image() == madeAtOnce(large, 157, zoom));
}

// Thirty presses of a held arrow key, the event loop running between them as for the user:
// whatever was drawn for an earlier value, the screen ends on the picture of the last.
void TestDrawnAside::aHeldKeyEndsOnItsLastPicture()
{
    WindowFixture f;
    QVERIFY(f.show());
    setFigure(f, true, 200);
    auto* bar = f.control<QScrollBar>("hscAmp1");
    ScreenArea* screen = screenOf(f);
    const int exactBefore = screen->exactShown();
    for (int i = 0; i < 30; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), i > 0);
        QCoreApplication::sendEvent(bar, &press);
        QCoreApplication::processEvents();
    }
    QTRY_VERIFY(screen->showsExact());
    const QImage last = screen->image().copy();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    QVERIFY(screen->showsExact());
    QVERIFY(screen->exactShown() > exactBefore);
    QVERIFY(screen->image() == last);
    QVERIFY(last == madeAtOnce(true, bar->value(), 100));
}

// A grab of the screen and a copy, asked for while the figure is still being drawn aside, are
// the exact picture.
void TestDrawnAside::whatIsAskedForIsExactAtOnce()
{
    WindowFixture f;
    QVERIFY(f.show());
    ScreenArea* screen = screenOf(f);
    QTRY_VERIFY(screen->showsExact());
    setFigure(f, true, 157);
    QCoreApplication::processEvents();
    const QImage grabbed = screen->grab().toImage();
    WindowFixture reference;
    screenOf(reference)->setDrawnAside(false);
    setFigure(reference, true, 157);
    QVERIFY(grabbed == screenOf(reference)->grab().toImage());
    setFigure(f, true, 120);
    f.window.viewActions().copyPicture();
    setFigure(reference, true, 120);
    QVERIFY(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32) ==
            PictureExporter::image(screenOf(reference)->picture(), 441, false));
}

// 179 : 183 at 200 % takes longer to draw exactly than a step of the drifting phase lasts:
// while the phase drifts, the screen still shows its steps, each drawn exactly and once.
void TestDrawnAside::aDriftFasterThanItsPassesShowsNewerPictures()
{
    WindowFixture f;
    QVERIFY(f.show());
    f.window.zoom().setZoomPercent(200);
    setFigure(f, true, 200);
    ScreenArea* screen = screenOf(f);
    QTRY_VERIFY(screen->showsExact());
    const int previews = screen->previewsShown();
    const int exact = screen->exactShown();
    f.window.viewActions().setOption(ViewOption::Drift, true);
    // Two steps shown while the drift goes on; the animation ends there, or after many
    // frames where none shows.
    bool shownWhileDrifting = false;
    f.runFrames(2000, [&](int) {
        if (!shownWhileDrifting && screen->exactShown() >= exact + 2) {
            shownWhileDrifting = true;
            f.control<QCheckBox>("Check1")->setChecked(true);
        }
    });
    QVERIFY(shownWhileDrifting);
    QCOMPARE(screen->previewsShown(), previews);
}

void TestDrawnAside::driftStepsLeaveWhatAWholeRepaintShows_data()
{
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<bool>("afterglow");
    QTest::addColumn<bool>("readings");
    QTest::newRow("3 : 1") << "3" << 100 << false << false;
    QTest::newRow("3 : 1 at 200 %, lines 2 px wide") << "3" << 200 << false << false;
    // Each step shown twice, as a preview and exactly.
    QTest::newRow("32767 : 1, previews first") << "32767" << 100 << false << false;
    QTest::newRow("3 : 1 beneath the afterglow") << "3" << 100 << true << false;
    // The reading aid's marks and the values move over the trace with each step.
    QTest::newRow("3 : 1, readings over the afterglow") << "3" << 100 << true << true;
}

// Each step of a drifting phase repaints only the tiles where the new picture differs from the
// one shown; what the window then shows is the screen painted whole.
void TestDrawnAside::driftStepsLeaveWhatAWholeRepaintShows()
{
    QFETCH(QString, numerator);
    QFETCH(int, zoom);
    QFETCH(bool, afterglow);
    QFETCH(bool, readings);
    WindowFixture f;
    QVERIFY(f.show());
    f.window.zoom().setZoomPercent(zoom);
    f.control<QLineEdit>("txtZaehler")->setText(numerator);
    f.window.viewActions().setOption(ViewOption::Afterglow, afterglow);
    f.window.viewActions().setOption(ViewOption::ReadingAid, readings);
    f.window.viewActions().setOption(ViewOption::Values, readings);
    f.window.viewActions().setOption(ViewOption::Drift, true);
    ScreenArea* screen = screenOf(f);
    QTRY_VERIFY(screen->showsExact());
    const int byTiles = screen->shownByTiles();
    const int phase = f.control<QScrollBar>("hscPhase")->value();
    f.runFrames(40);
    QTRY_VERIFY(screen->showsExact());
    QCoreApplication::processEvents();
    QVERIFY(f.control<QScrollBar>("hscPhase")->value() != phase);
    QVERIFY(screen->shownByTiles() > byTiles);
    const QImage whole = screen->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(shownOnScreen(f) == whole);
}

void TestDrawnAside::readingsShownAreThoseOfThePicture_data()
{
    QTest::addColumn<bool>("large");
    QTest::addColumn<bool>("afterglow");
    QTest::addColumn<int>("driftFrames");
    // Ticked off once the new figure is asked for, before its pass comes.
    QTest::addColumn<int>("offWhileDrawing");
    const int none = -1;
    QTest::newRow("3 : 2") << false << false << 0 << none;
    QTest::newRow("3 : 2 after drift steps") << false << false << 12 << none;
    // The readings' own layer over the trace; the values change with each step.
    QTest::newRow("3 : 2 after drift steps, afterglow") << false << true << 12 << none;
    QTest::newRow("179 : 183, previews first") << true << false << 0 << none;
    QTest::newRow("179 : 183 after drift steps, afterglow") << true << true << 6 << none;
    QTest::newRow("values ticked off while drawing")
        << true << false << 0 << static_cast<int>(ViewOption::Values);
    QTest::newRow("reading aid ticked off while drawing")
        << true << false << 0 << static_cast<int>(ViewOption::ReadingAid);
}

// The reading aid's marks and the values drawn aside with the figure, and repainted only where
// they changed, are what the event thread paints whole for the picture as it stands.
void TestDrawnAside::readingsShownAreThoseOfThePicture()
{
    QFETCH(bool, large);
    QFETCH(bool, afterglow);
    QFETCH(int, driftFrames);
    QFETCH(int, offWhileDrawing);
    WindowFixture f;
    QVERIFY(f.show());
    for (const ViewOption option : {ViewOption::ReadingAid, ViewOption::Values})
        f.window.viewActions().setOption(option, true);
    f.window.viewActions().setOption(ViewOption::Afterglow, afterglow);
    ScreenArea* screen = screenOf(f);
    QTRY_VERIFY(screen->showsExact());
    setFigure(f, large, 157);
    // The pass is asked for; its figure takes longer than this.
    QCoreApplication::processEvents();
    if (offWhileDrawing >= 0)
        f.window.viewActions().setOption(static_cast<ViewOption>(offWhileDrawing), false);
    const int byTiles = screen->shownByTiles();
    if (driftFrames > 0) {
        f.window.viewActions().setOption(ViewOption::Drift, true);
        f.runFrames(driftFrames, [&](int pump) {
            if (pump == driftFrames)
                f.window.viewActions().setOption(ViewOption::Drift, false);
        });
    }
    QTRY_VERIFY(screen->showsExact());
    QCoreApplication::processEvents();
    // Steps of the drift repaint only where the picture with its readings changed.
    QVERIFY(driftFrames == 0 || screen->shownByTiles() > byTiles);
    const QImage shown = shownOnScreen(f);
    // The same readings, worked out and painted again on this thread for a whole repaint.
    const int described = screen->readingsDescribed();
    screen->setEntryAccepted(false);
    screen->setEntryAccepted(true);
    QVERIFY(shown == screen->grab().toImage().convertToFormat(QImage::Format_RGB32));
    QCOMPARE(screen->readingsDescribed(), described + 1);
}

void TestDrawnAside::stepsShownOutOfTurnRepaintByTiles_data()
{
    QTest::addColumn<bool>("readings");
    // The next step asked for while the last is drawn, which finishes first: both were
    // compared with the picture shown before them.
    QTest::newRow("a step shown after the next was asked for") << false;
    // The next step changed, but not yet asked for, as the last comes: its readings are those
    // the screen shows until the next pass brings new ones.
    QTest::newRow("a step shown as the next is changed, with readings") << true;
}

// Steps of a drifting phase that come out of turn still repaint only where the screen changes,
// and leave what a whole repaint shows.
void TestDrawnAside::stepsShownOutOfTurnRepaintByTiles()
{
    QFETCH(bool, readings);
    WindowFixture f;
    QVERIFY(f.show());
    ScreenArea* screen = screenOf(f);
    f.window.viewActions().setOption(ViewOption::ReadingAid, readings);
    if (!readings)
        f.window.zoom().setZoomPercent(200);
    setFigure(f, !readings, 150);
    QTRY_VERIFY(screen->showsExact());
    screen->setSteadyChanges([] { return true; });
    const int byTiles = screen->shownByTiles();
    const int exact = screen->exactShown();
    auto* amplitude = f.control<QScrollBar>("hscAmp1");
    amplitude->setValue(160);
    QCoreApplication::processEvents();
    // Drawn by now where it is small; well under way where it is large.
    QThread::msleep(readings ? 300 : 20);
    amplitude->setValue(170);
    QTRY_VERIFY(screen->showsExact());
    QCoreApplication::processEvents();
    // Both shown where the first was under way in time; on a loaded machine the first may
    // have been dropped for the second, which then came in turn.
    const int shown = screen->exactShown() - exact;
    QVERIFY(shown == 1 || shown == 2);
    QCOMPARE(screen->shownByTiles() - byTiles, shown);
    const QImage whole = screen->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(shownOnScreen(f) == whole);
}

void TestDrawnAside::aWindowClosedWhileDrawingEndsCleanly_data()
{
    QTest::addColumn<int>("pumps");
    QTest::newRow("before the drawing is asked for") << 0;
    QTest::newRow("while the preview is drawn") << 1;
    QTest::newRow("a few pumps later") << 3;
}

// The drawing thread ends between two blocks and what it finished is dropped with the window
// (AddressSanitizer watches this in make check-sanitize).
void TestDrawnAside::aWindowClosedWhileDrawingEndsCleanly()
{
    QFETCH(int, pumps);
    auto f = std::make_unique<WindowFixture>();
    QVERIFY(f->show());
    f->window.zoom().setZoomPercent(200);
    setFigure(*f, true, 157);
    for (int i = 0; i < pumps; ++i)
        QCoreApplication::processEvents();
    QPointer<ScreenArea> screen = screenOf(*f);
    f.reset();
    QVERIFY(screen.isNull());
    QCoreApplication::processEvents();
}

void TestDrawnAside::aLayerDrawnWhereItHasPixelsAsEverywhere_data()
{
    QTest::addColumn<QList<QRect>>("region");
    QTest::newRow("the whole area") << QList<QRect>{{0, 0, 50, 37}};
    QTest::newRow("rectangles across tiles' edges")
        << QList<QRect>{{10, 3, 12, 9}, {30, 20, 20, 17}, {0, 30, 7, 7}};
}

// The readings' layer over the trace, drawn only over its tiles with anything in them: each
// pixel of the region as where it is drawn everywhere.
void TestDrawnAside::aLayerDrawnWhereItHasPixelsAsEverywhere()
{
    QFETCH(QList<QRect>, region);
    QRegion where;
    for (const QRect& r : region)
        where += r;
    QImage ground(50, 37, QImage::Format_RGB32);
    ground.fill(qRgb(20, 40, 60));
    QImage layer(ground.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    // Faint and opaque pixels at the first and last of tiles, and in the cut ones at the edges.
    for (const QPoint& at : {QPoint(0, 0), QPoint(15, 4), QPoint(16, 4), QPoint(31, 31),
                             QPoint(32, 36), QPoint(49, 20), QPoint(3, 33)})
        layer.setPixel(at, at.x() % 2 ? qRgba(0, 0, 0, 1) : qRgba(200, 100, 50, 255));
    const std::vector<QRect> runs = occupiedTiles(layer, 16).runs();
    QRegion occupied;
    occupied.setRects(runs.data(), static_cast<int>(runs.size()));
    QImage everywhere = ground.copy();
    QImage within = ground.copy();
    {
        QPainter a(&everywhere);
        PictureArea::drawByRectangle(a, where, layer);
        QPainter b(&within);
        PictureArea::drawByRectangle(b, where, layer, &occupied);
    }
    QVERIFY(everywhere != ground);
    QCOMPARE(within, everywhere);
}

KORVELIAN_TEST_AREA(drawnaside, [](int argc, char* argv[]) {
    return runWidgetTest<TestDrawnAside>(argc, argv, kScreens);
})
#include "tst_drawnaside.moc"
