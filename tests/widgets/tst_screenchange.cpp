#include "form/form1.h"
#include "widgets/picturearea.h"
#include "widgets/screenarea.h"
#include "tests/windowfixture.h"

#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

using namespace korvelian;

namespace {

// Two screens side by side, the right one at device pixel ratio 2, as a laptop and a
// projector.
constexpr char kScreens[] = R"({"screens": [
  {"name": "left", "x": 0, "y": 0, "width": 1000, "height": 800, "logicalDpi": 96,
   "logicalBaseDpi": 96, "dpr": 1},
  {"name": "right", "x": 1000, "y": 0, "width": 2000, "height": 1600, "logicalDpi": 96,
   "logicalBaseDpi": 96, "dpr": 2}]})";

QScreen* screen(int index)
{
    return QGuiApplication::screens().at(index);
}

void moveTo(WindowFixture& f, int index)
{
    f.window.move(screen(index)->geometry().topLeft() + QPoint(20, 20));
    QCoreApplication::processEvents();
}

// 3 : 2 with the speed bar part-full, drawn through the handlers a user's actions run.
void setUp(WindowFixture& f)
{
    f.control<QLineEdit>("txtZaehler")->setText("3");
    f.control<QLineEdit>("txtNenner")->setText("2");
    f.window.form().variables().dt = 0.1331;
    f.control<QPushButton>("Command7")->click();
}

struct Shown
{
    QImage screen;
    QImage velo;
    QRectF beam;
};

Shown shown(WindowFixture& f)
{
    return {f.control<PictureArea>("picBildschirm")->image().copy(),
            f.control<PictureArea>("picVelo")->image().copy(),
            f.control<ScreenArea>("picBildschirm")->shapeRect(Shape::BeamPoint)};
}

} // namespace

class TestScreenChange : public QObject
{
    Q_OBJECT

private slots:
    void pictureSurvivesMovesBetweenRatios();
};

void TestScreenChange::pictureSurvivesMovesBetweenRatios()
{
    QCOMPARE(QGuiApplication::screens().size(), 2);
    WindowFixture sharp;
    moveTo(sharp, 1);
    QVERIFY(sharp.show());
    setUp(sharp);
    const Shown atTwo = shown(sharp);
    QCOMPARE(atTwo.screen.size(), QSize(882, 882));

    WindowFixture f;
    moveTo(f, 0);
    QVERIFY(f.show());
    setUp(f);
    const Shown atOne = shown(f);
    QCOMPARE(atOne.screen.size(), QSize(441, 441));
    QVERIFY(atOne.velo.pixel(10, 4) == qRgb(255, 0, 0));

    moveTo(f, 1);
    QCOMPARE(f.window.devicePixelRatioF(), 2.0);
    QCOMPARE(f.window.size(), QSize(658, 488));
    // Drawn afresh at the new ratio: exactly what a window started there shows.
    const Shown moved = shown(f);
    QVERIFY(moved.screen == atTwo.screen);
    QVERIFY(moved.velo == atTwo.velo);
    QCOMPARE(moved.beam, atOne.beam);

    moveTo(f, 0);
    const Shown back = shown(f);
    QVERIFY(back.screen == atOne.screen);
    QVERIFY(back.velo == atOne.velo);
}

int runScreenChangeTest(int argc, char* argv[])
{
    return runWidgetTest<TestScreenChange>(argc, argv, kScreens);
}

KORVELIAN_TEST_AREA(screenchange, runScreenChangeTest)
#include "tst_screenchange.moc"
