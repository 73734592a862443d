#include "form/layout.h"
#include "widgets/picturearea.h"
#include "widgets/screenarea.h"
#include "widgets/timesignalview.h"
#include "widgets/presetmenus.h"
#include "widgets/scrollreadout.h"
#include "app/viewactions.h"
#include "app/viewsettings.h"
#include "app/windowzoom.h"
#include "tests/windowfixture.h"
#include "widgets/zoompolicy.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QScreen>
#include <QStandardPaths>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QWindow>

using namespace korvelian;

namespace {

// The screens of runZoomTest by name: the projector, the laptop beside it, the wall screen.
QScreen* screenNamed(const char* name)
{
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == QLatin1String(name))
            return screen;
    }
    qFatal("no screen %s", name);
}

struct Placed
{
    QRect geometry;
    double points;
};

QHash<QString, Placed> placed(WindowFixture& f)
{
    QHash<QString, Placed> all;
    for (const ControlLayout& row : kControls) {
        const QWidget* w = f.control(row.name);
        all.insert(row.name, {w->geometry(), w->font().pointSizeF()});
    }
    return all;
}

bool near(int actual, int expected)
{
    return std::abs(actual - expected) <= 1;
}

// Pixels of a colour along a row or a column of an image.
int count(const QImage& image, QRgb colour, int fixed, bool alongRow)
{
    int found = 0;
    const int length = alongRow ? image.width() : image.height();
    for (int i = 0; i < length; ++i) {
        const QRgb pixel = alongRow ? image.pixel(i, fixed) : image.pixel(fixed, i);
        found += (pixel & 0xffffff) == (colour & 0xffffff);
    }
    return found;
}

} // namespace

class TestZoom : public QObject
{
    Q_OBJECT

private slots:
    void everyControlScales();
    void lineWidths_data();
    void lineWidths();
    void keys();
    void fullScreenLeftByTheWindowManager();
    void barsAndCheckBoxGrow();
    void zoomInStopsWhereTheWindowFits();
    void menusGrowWithTheWindow();
    void rememberedZoomFitsThisScreen();
    void everyPathEndsOnTheScreen_data();
    void everyPathEndsOnTheScreen();
    void dialogsFitTheScreen_data();
    void dialogsFitTheScreen();
    void timeSignalsLeaveTheScreenFree_data();
    void timeSignalsLeaveTheScreenFree();
    void readoutsNeverOverTheScreen_data();
    void readoutsNeverOverTheScreen();
};

void TestZoom::everyControlScales()
{
    WindowFixture f;
    const QHash<QString, Placed> atOne = placed(f);
    const QSize windowAtOne = f.window.size();
    f.window.zoom().setZoomPercent(200);
    QVERIFY(near(f.window.width(), 2 * windowAtOne.width()));
    QVERIFY(near(f.window.height(), 2 * windowAtOne.height()));
    const QHash<QString, Placed> atTwo = placed(f);
    for (const ControlLayout& row : kControls) {
        const QRect one = atOne[row.name].geometry;
        const QRect two = atTwo[row.name].geometry;
        QVERIFY2(near(two.x(), 2 * one.x()) && near(two.y(), 2 * one.y()) &&
                     near(two.width(), 2 * one.width()) && near(two.height(), 2 * one.height()),
                 row.name);
        QCOMPARE(atTwo[row.name].points, 2 * atOne[row.name].points);
    }
    f.window.zoom().setZoomPercent(100);
    QCOMPARE(f.window.size(), windowAtOne);
    for (const ControlLayout& row : kControls)
        QCOMPARE(f.control(row.name)->geometry(), atOne[row.name].geometry);
}

void TestZoom::lineWidths_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("width");
    QTest::newRow("100 %") << 100 << 1;
    QTest::newRow("200 %") << 200 << 2;
    QTest::newRow("300 %") << 300 << 3;
}

// The x amplitude at 0 makes the figure a vertical line through the centre; the horizontal
// axis and the drop line to it cross every column.
void TestZoom::lineWidths()
{
    QFETCH(int, percent);
    QFETCH(int, width);
    WindowFixture f;
    // 300 % fits on the wall only.
    f.window.move(screenNamed("wall")->geometry().topLeft() + QPoint(20, 20));
    f.window.zoom().setZoomPercent(percent);
    QVERIFY(f.show());
    QCOMPARE(f.window.zoom().zoomPercent(), percent);
    f.control<QScrollBar>("hscAmp1")->setValue(0);
    auto* screen = f.control<ScreenArea>("picBildschirm");
    const QImage picture = screen->image();
    const qreal ratio = picture.devicePixelRatio();
    const int quarter = picture.width() / 4;
    QCOMPARE(count(picture, qRgb(255, 255, 255), quarter, true), width);
    QCOMPARE(count(picture, qRgb(150, 150, 255), quarter, false), width);

    const QImage shown = screen->grab().toImage();
    const QLineF drop = screen->overlayLine(OverlayLine::DropToXAxis);
    const int column = int((drop.x1() + drop.x2()) / 2 * ratio);
    QCOMPARE(count(shown, qRgb(128, 128, 255), column, false), width);
}

void TestZoom::keys()
{
    WindowFixture f;
    QVERIFY(f.show());
    QTest::keyClick(&f.window, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(f.window.zoom().zoomPercent(), 125);
    QTest::keyClick(&f.window, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(&f.window, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(f.window.zoom().zoomPercent(), 125);
    QTest::keyClick(&f.window, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(f.window.zoom().zoomPercent(), 100);
    QCOMPARE(f.window.size(), QSize(658, 488));
    QTest::keyClick(&f.window, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(f.ended);
    QVERIFY(f.stopTickedAtEnd);
}

// The window manager can end full screen on its own: the zoom comes back and F11 enters full
// screen again instead of unticking a stale entry.
void TestZoom::fullScreenLeftByTheWindowManager()
{
    WindowFixture f;
    QVERIFY(f.show());
    f.window.zoom().setZoomPercent(150);
    QTest::keyClick(&f.window, Qt::Key_F11);
    QTRY_VERIFY(f.window.isFullScreen());
    const int fullScreenZoom = f.window.zoom().zoomPercent();
    // A change soon after the window's own request counts as the window manager's late answer
    // to it.
    QTest::qWait(1500);
    f.window.showNormal();
    QTRY_VERIFY(!f.window.isFullScreen());
    QCOMPARE(f.window.zoom().zoomPercent(), 150);
    QTRY_COMPARE(f.window.size(), ZoomPolicy::windowSize(150));
    QTest::keyClick(&f.window, Qt::Key_F11);
    QTRY_VERIFY(f.window.isFullScreen());
    QCOMPARE(f.window.zoom().zoomPercent(), fullScreenZoom);
}

// At 200 % the arrows, the thumb and the check indicator are twice as large as at 100 %, and a
// click lands on the part drawn under it.
void TestZoom::barsAndCheckBoxGrow()
{
    WindowFixture f;
    auto* bar = f.control<QScrollBar>("hscAmp1");
    auto* check = f.control<QCheckBox>("Check1");
    struct Parts
    {
        QRect arrow, thumb, indicator;
        QStyle::SubControl hit;
    };
    const auto parts = [&](int hitX) {
        QStyleOptionSlider o;
        o.initFrom(bar);
        o.orientation = Qt::Horizontal;
        o.state |= QStyle::State_Horizontal;
        o.minimum = bar->minimum();
        o.maximum = bar->maximum();
        o.sliderPosition = o.sliderValue = bar->value();
        o.singleStep = o.pageStep = 1;
        o.subControls = QStyle::SC_All;
        QStyleOptionButton b;
        b.initFrom(check);
        const QStyle* style = bar->style();
        return Parts{
            style->subControlRect(QStyle::CC_ScrollBar, &o, QStyle::SC_ScrollBarAddLine, bar),
            style->subControlRect(QStyle::CC_ScrollBar, &o, QStyle::SC_ScrollBarSlider, bar),
            check->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &b, check),
            style->hitTestComplexControl(QStyle::CC_ScrollBar, &o,
                                         QPoint(bar->width() - hitX, bar->height() / 2), bar)};
    };
    const Parts at100 = parts(1);
    f.window.zoom().setZoomPercent(200);
    const Parts at200 = parts(at100.arrow.width() * 3 / 2);
    QVERIFY(near(at200.arrow.width(), 2 * at100.arrow.width()));
    QVERIFY(near(at200.thumb.width(), 2 * at100.thumb.width()));
    QVERIFY(near(at200.thumb.left(), 2 * at100.thumb.left()));
    QCOMPARE(at200.indicator.width(), 2 * at100.indicator.width());
    QCOMPARE(at200.hit, QStyle::SC_ScrollBarAddLine);
}

// On a projector of 1920 × 1080 the steps end at 220 %, where the window fills the height;
// 225 % would put the hint line off the screen.
void TestZoom::zoomInStopsWhereTheWindowFits()
{
    WindowFixture f;
    QVERIFY(f.show());
    for (int press = 0; press < 10; ++press)
        QTest::keyClick(&f.window, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(f.window.zoom().zoomPercent(), 220);
    QVERIFY(f.window.screen()->availableGeometry().contains(f.window.frameGeometry()));
    QTest::keyClick(&f.window, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(f.window.zoom().zoomPercent(), 200);
}

void TestZoom::menusGrowWithTheWindow()
{
    WindowFixture f;
    QMenu* menu = f.window.presetMenus().menuFor(f.control("hscPhase"));
    menu->ensurePolished();
    const int at100 = QFontInfo(menu->font()).pixelSize();
    f.window.zoom().setZoomPercent(200);
    QVERIFY(std::abs(QFontInfo(menu->font()).pixelSize() - 2 * at100) <= 1);
    // A text box's own menu takes the window's font, not the box's.
    const std::unique_ptr<QMenu> boxMenu(
        f.control<QLineEdit>("txtZaehler")->createStandardContextMenu());
    boxMenu->ensurePolished();
    QCOMPARE(boxMenu->font(), f.window.font());
}

// 300 % from a larger screen comes down below the 220 % at which the window alone fills the
// height, as the title bar needs its room too.
void TestZoom::rememberedZoomFitsThisScreen()
{
    QStandardPaths::setTestModeEnabled(true);
    ViewSettings::setZoomPercent(300);
    WindowFixture f;
    f.window.restoreView();
    QVERIFY(f.window.zoom().zoomPercent() >= 200);
    QVERIFY(f.window.zoom().zoomPercent() < 220);
}

enum class Path { Maximize, DragToLimit, SizeBeyondScreen, QuickFullScreenPresses, SmallerScreen };

void TestZoom::everyPathEndsOnTheScreen_data()
{
    QTest::addColumn<Path>("path");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("zoom"); // after the path
    // The offscreen platform's frame is 2 pixels wide all round: 220 % fills the projector's
    // 1080 rows with it, 163 % the laptop's 800.
    // clang-format off
    QTest::newRow("maximized: the largest zoom that fits") << Path::Maximize << 150 << 220;
    QTest::newRow("frame dragged as far as it goes") << Path::DragToLimit << 150 << 220;
    QTest::newRow("a size beyond the screen is no drag") << Path::SizeBeyondScreen << 150 << 150;
    QTest::newRow("four quick F11 presses") << Path::QuickFullScreenPresses << 150 << 150;
    QTest::newRow("moved to the laptop") << Path::SmallerScreen << 200 << 163;
    // clang-format on
}

// Whatever changes the window's size, the whole window with its frame ends on the screen it is
// on; what the window manager gives back restores the zoom and the place from before.
void TestZoom::everyPathEndsOnTheScreen()
{
    QFETCH(Path, path);
    QFETCH(int, chosen);
    QFETCH(int, zoom);
    WindowFixture f;
    QVERIFY(f.show());
    f.window.zoom().setZoomPercent(chosen);
    const QPoint place = f.window.pos();
    QWindow* window = f.window.windowHandle();
    const auto onScreen = [&] {
        return f.window.screen()->availableGeometry().contains(f.window.frameGeometry());
    };
    switch (path) {
    case Path::Maximize:
        f.window.showMaximized();
        QTRY_VERIFY(f.window.isMaximized());
        break;
    case Path::DragToLimit:
        window->resize(f.window.maximumSize());
        break;
    case Path::SizeBeyondScreen:
        window->resize(1920, 1080);
        break;
    case Path::QuickFullScreenPresses:
        for (int press = 0; press < 4; ++press)
            QTest::keyClick(&f.window, Qt::Key_F11);
        break;
    case Path::SmallerScreen:
        f.window.move(screenNamed("laptop")->geometry().topLeft());
        QTRY_COMPARE(f.window.screen(), screenNamed("laptop"));
        break;
    }
    // The platform hands on the new size or screen as an event of its own.
    QCoreApplication::processEvents();
    QTRY_COMPARE(f.window.zoom().zoomPercent(), zoom);
    QVERIFY2(onScreen(), qPrintable(QString("%1 x %2 at %3, %4")
                                        .arg(f.window.frameGeometry().width())
                                        .arg(f.window.frameGeometry().height())
                                        .arg(f.window.frameGeometry().x())
                                        .arg(f.window.frameGeometry().y())));
    if (!f.window.isMaximized())
        QCOMPARE(f.window.size(), ZoomPolicy::windowSize(zoom));
    // Back from there: the zoom chosen before.
    if (path == Path::Maximize)
        f.window.showNormal();
    if (path == Path::SmallerScreen)
        f.window.move(place);
    if (path == Path::Maximize || path == Path::SmallerScreen)
        QTRY_COMPARE(f.window.zoom().zoomPercent(), chosen);
    if (path == Path::QuickFullScreenPresses)
        QTRY_COMPARE(f.window.pos(), place);
    QVERIFY(onScreen());
}

void TestZoom::dialogsFitTheScreen_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<int>("percent");
    QTest::newRow("save at 216 %, the largest that fits") << "save" << 216;
    QTest::newRow("save at 300 %") << "save" << 300;
    QTest::newRow("print at 300 %") << "print" << 300;
}

// The whole dialog, its buttons and its entry fields lie on the screen, however large the
// window's font has made it.
void TestZoom::dialogsFitTheScreen()
{
    QFETCH(QString, dialog);
    QFETCH(int, percent);
    // A file dialog opened for the first time, without the size the last one left.
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                  "/QtProject.conf");
    WindowFixture f;
    f.window.zoom().setZoomPercent(percent);
    QVERIFY(f.show());
    const QRect screen = f.window.screen()->availableGeometry();
    QStringList outside;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* shown = QApplication::activeModalWidget();
        if (!shown)
            return;
        seen = true;
        QCoreApplication::processEvents();
        if (!screen.contains(shown->frameGeometry()))
            outside << QString("dialog %1").arg(QDebug::toString(shown->frameGeometry()));
        const auto parts = shown->findChildren<QWidget*>();
        for (QWidget* part : parts) {
            const bool wanted = qobject_cast<QAbstractButton*>(part) ||
                                qobject_cast<QLineEdit*>(part) || qobject_cast<QComboBox*>(part);
            if (!wanted || !part->isVisibleTo(shown))
                continue;
            const QRect global(part->mapToGlobal(QPoint(0, 0)), part->size());
            if (!screen.contains(global))
                outside << part->metaObject()->className() + QString(" ") + part->objectName();
        }
        shown->close();
    });
    if (dialog == "save")
        f.window.viewActions().savePicture();
    else
        f.window.viewActions().printPicture();
    QVERIFY(seen);
    QVERIFY2(outside.isEmpty(), qPrintable(outside.join(", ")));
}

void TestZoom::timeSignalsLeaveTheScreenFree_data()
{
    QTest::addColumn<int>("zoom"); // 0: full screen
    QTest::addColumn<double>("pictureZoom");
    QTest::addColumn<bool>("overControls");
    QTest::newRow("150 %: its own size on the left") << 150 << 1.5 << false;
    QTest::newRow("175 %: smaller on the left") << 175 << 1.36 << false;
    QTest::newRow("216 %: least size over the controls") << 216 << 1.0 << true;
    QTest::newRow("full screen: least size over the controls") << 0 << 1.0 << true;
}

// The time signals beside a centred window on the projector: as large as the room beside the
// window lets them be, and where even their least size has no room there, over the column of
// controls; never over the screen or the hint line, and whole on the monitor with a title bar.
void TestZoom::timeSignalsLeaveTheScreenFree()
{
    QFETCH(int, zoom);
    QFETCH(double, pictureZoom);
    QFETCH(bool, overControls);
    WindowFixture f;
    const QRect projector = screenNamed("projector")->availableGeometry();
    f.window.zoom().setZoomPercent(zoom ? zoom : 100);
    f.window.move(projector.center() - f.window.rect().center());
    QVERIFY(f.show());
    if (!zoom) {
        QTest::keyClick(&f.window, Qt::Key_F11);
        QTRY_COMPARE(f.window.geometry(), screenNamed("projector")->geometry());
    }
    f.window.viewActions().setOption(ViewOption::TimeSignals, true);
    const TimeSignalView& view = f.window.timeSignals();
    QTRY_VERIFY(view.isVisible());
    const QRect placed = view.geometry();
    for (const char* name : {"picBildschirm", "txtHilfe"}) {
        const QWidget* covered = f.control(name);
        QVERIFY2(!placed.intersects(QRect(covered->mapToGlobal(QPoint()), covered->size())), name);
    }
    QVERIFY(projector.contains(view.frameGeometry()));
    QCOMPARE(placed.intersects(f.window.geometry()), overControls);
    QVERIFY(std::abs(view.pictureZoom() - pictureZoom) < 0.01);
    QCOMPARE(placed.width() >= kTimeSignalsWidth / 2, true);
}

void TestZoom::readoutsNeverOverTheScreen_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("value");
    // The longest texts: the y phase with the y oscillation's own, as the drift shows it at
    // every step at 1 : 2, and the amplitudes.
    for (const int percent : {100, 150, 200, 300}) {
        const QString zoom = QString::number(percent) + " %";
        QTest::newRow(qPrintable(zoom + ", phase y at 336,3°")) << percent << "hscPhase" << 587;
        QTest::newRow(qPrintable(zoom + ", phase x at 336,3°")) << percent << "HScroll1" << 587;
        QTest::newRow(qPrintable(zoom + ", amplitude y at 2")) << percent << "hscAmp2" << 200;
    }
}

// A readout stays beside its bar, left of the screen, however long its text at any zoom.
void TestZoom::readoutsNeverOverTheScreen()
{
    QFETCH(int, percent);
    QFETCH(QString, bar);
    QFETCH(int, value);
    WindowFixture f;
    f.window.move(screenNamed("wall")->geometry().topLeft() + QPoint(20, 20));
    f.window.zoom().setZoomPercent(percent);
    QVERIFY(f.show());
    QCOMPARE(f.window.zoom().zoomPercent(), percent);
    f.control<QLineEdit>("txtNenner")->setText("2");
    f.control<QScrollBar>(qPrintable(bar))->setValue(value);
    const QLabel& label = f.window.readout().label();
    QVERIFY(label.isVisible());
    const QRect screen = f.control("picBildschirm")->geometry();
    QVERIFY2(!label.geometry().intersects(screen),
             qPrintable(QString("readout %1, %2 %3 × %4 over the screen at %5")
                            .arg(label.x())
                            .arg(label.y())
                            .arg(label.width())
                            .arg(label.height())
                            .arg(screen.x())));
    // Wrapped, it shows the whole text: no line is cut at the label's edge.
    QVERIFY(label.sizeHint().width() <= label.width() || label.wordWrap());
    QVERIFY(label.heightForWidth(label.width()) <= label.height() || !label.wordWrap());
    QVERIFY(label.y() >= 0);
}

int runZoomTest(int argc, char* argv[])
{
    return runWidgetTest<TestZoom>(argc, argv, R"({"screens": [
        {"name": "projector", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96,
         "logicalBaseDpi": 96, "dpr": 1},
        {"name": "laptop", "x": 1920, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96,
         "logicalBaseDpi": 96, "dpr": 1},
        {"name": "wall", "x": 3200, "y": 0, "width": 2560, "height": 1600, "logicalDpi": 96,
         "logicalBaseDpi": 96, "dpr": 1}]})");
}

KORVELIAN_TEST_AREA(zoom, runZoomTest)
#include "tst_zoom.moc"
