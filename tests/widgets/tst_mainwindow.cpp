#include "app/viewactions.h"
#include "app/viewsettings.h"
#include "model/deflection.h"
#include "form/form1.h"
#include "form/layout.h"
#include "widgets/screenarea.h"
#include "tests/windowfixture.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

using namespace korvelian;

namespace {

int px(int twips)
{
    return static_cast<int>(std::lround(twips / 15.0));
}

QString captionOf(QWidget* w)
{
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    return {};
}

bool isWhite(QRgb c)
{
    return qRed(c) == 255 && qGreen(c) == 255 && qBlue(c) == 255;
}

bool isAxis(QRgb c)
{
    return qRed(c) == 150 && qGreen(c) == 150 && qBlue(c) == 255;
}

QPoint sliderCentre(QScrollBar* bar)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.state |= QStyle::State_Horizontal;
    return bar->style()
        ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar)
        .center();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void window();
    void firstPaintLoadsNoImageLibrary_data();
    void firstPaintLoadsNoImageLibrary();
    void layoutFollowsTheTable_data();
    void layoutFollowsTheTable();
    void layoutSpotChecks_data();
    void layoutSpotChecks();
    void captions();
    void fontsResolveToTheMetricCompatibleFace();
    void scrollBars_data();
    void scrollBars();
    void tabOrder();
    void textBoxBackgrounds_data();
    void textBoxBackgrounds();
    void overlaysAtStartPlaces();
    void speedBar_data();
    void speedBar();
    void startUpPicture();
    void redrawReplacesTheFigure();
    void hints_data();
    void hints();
    void informationBox();
    void quit_data();
    void quit();
    void scrollBarEvents_data();
    void scrollBarEvents();
};

void TestMainWindow::window()
{
    WindowFixture f;
    QCOMPARE(f.window.windowTitle(), "Korvelian-Figuren, Simulation Oszilloskop");
    QCOMPARE(f.window.size(), QSize(658, 488));
    const QList<QSize> sizes = f.window.windowIcon().availableSizes();
    for (const int size : {16, 32, 48, 64, 128, 256})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    const QImage icon = f.window.windowIcon().pixmap(32).toImage();
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    const QRgb cheek = icon.pixel(5, 16);
    QVERIFY(qRed(cheek) > 200 && qGreen(cheek) > 200 && qBlue(cheek) < 80);
}

// The icon's and the style's images are read as PNG alone: a reader left to guess the format
// loads every image format library the toolkit has, which the start waited for.
void TestMainWindow::firstPaintLoadsNoImageLibrary_data()
{
    QTest::addColumn<bool>("everyView");
    QTest::newRow("fresh settings") << false;
    QTest::newRow("every view on") << true;
}

void TestMainWindow::firstPaintLoadsNoImageLibrary()
{
    QFETCH(bool, everyView);
    const auto loaded = [] {
        QFile maps("/proc/self/maps");
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
    };
    if (loaded())
        QSKIP("an earlier test loaded them; ctest runs this test alone (mainwindow_images)");
    WindowFixture f;
    for (const ViewOption option : kViewOptions)
        f.window.viewActions().setOption(option, everyView);
    QVERIFY(f.show());
    const QImage shown = f.window.grab().toImage();
    QVERIFY(!shown.isNull());
    QVERIFY(!loaded());
}

void TestMainWindow::layoutFollowsTheTable_data()
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < kControls.size(); ++i)
        QTest::newRow(kControls[i].name) << int(i);
}

void TestMainWindow::layoutFollowsTheTable()
{
    QFETCH(int, row);
    const ControlLayout& c = kControls[std::size_t(row)];
    WindowFixture f;
    QWidget* w = f.control(c.name);
    QCOMPARE(w->parentWidget(), c.parent ? f.control(c.parent) : &f.window);
    const int height = c.kind == ControlKind::Line ? 1 : px(c.height);
    QCOMPARE(w->geometry(), QRect(px(c.left), px(c.top), px(c.width), height));
    QCOMPARE(captionOf(w), QString::fromUtf8(c.caption));
    QCOMPARE(w->accessibleName(),
             QString::fromUtf8(c.accessibleName ? c.accessibleName : c.caption));
    QVERIFY(w->isVisibleTo(&f.window));
    QCOMPARE(bool(w->focusPolicy() & Qt::TabFocus), c.tab >= 0);
    const double points[] = {0, 10.2, 10.8, 12, 0};
    if (points[int(c.font)] > 0) {
        QCOMPARE(w->font().family(), "Times New Roman");
        QCOMPARE(w->font().pointSizeF(), points[int(c.font)]);
        QCOMPARE(w->font().weight(), QFont::Normal);
        QVERIFY(!w->font().italic() && !w->font().underline() && !w->font().strikeOut());
    } else {
        QCOMPARE(w->font(), QApplication::font(w));
    }
}

// The window follows the table whatever it holds, so every control's place is checked against
// the numbers themselves, written out once more here: a row of the table moved by a few twips
// is caught. The fraction bar's 15 twips are its one-pixel width.
void TestMainWindow::layoutSpotChecks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<double>("points"); // 0: the default font

    // name, parent, left, top, width, height, points
    static const char* const kPlaces = R"(
picBildschirm,,3120,120,6612,6612,0
Frame1,,240,120,2652,1572,10.2
Frame2,,240,1920,2652,2892,10.2
Command1,,240,4920,1452,372,10.2
Command2,,240,5400,1452,372,10.2
Check1,,1800,5400,972,372,10.2
Label8,,240,5880,1452,252,10.2
Command8,,1800,5880,252,252,0
Command7,,2040,5880,252,252,0
picVelo,,1800,6120,492,132,0
Command5,,240,6360,2652,372,10.2
txtHilfe,,240,6840,9012,372,10.8
Command6,,9360,6840,372,372,0
Label1,Frame1,600,240,1692,252,10.2
hscAmp1,Frame1,600,480,1812,252,0
Label5,Frame1,600,840,1692,252,10.2
HScroll1,Frame1,600,1080,1812,252,0
Label2,Frame2,600,360,1692,252,10.2
hscAmp2,Frame2,600,600,1812,252,0
Label3,Frame2,600,960,1692,252,10.2
hscPhase,Frame2,600,1200,1812,252,0
Command9,Frame2,1440,1560,252,192,0
txtZaehler,Frame2,1680,1560,612,288,12
cmdplusZaehler,Frame2,2280,1560,252,192,0
Label4,Frame2,120,1800,1692,252,10.2
Line1,Frame2,1680,1920,600,15,0
Command10,Frame2,1440,2040,252,192,0
txtNenner,Frame2,1680,2040,612,288,12
cmdplusNenner,Frame2,2280,2040,252,192,0
Label9,Frame2,1200,2520,372,252,10.2
txtkgV,Frame2,1680,2520,612,288,10.8)";
    const QStringList places = QString::fromLatin1(kPlaces).trimmed().split('\n');
    QCOMPARE(places.size(), qsizetype(kControls.size()));
    for (const QString& place : places) {
        const QStringList f = place.split(',');
        QTest::newRow(qPrintable(f[0]))
            << f[0] << f[1] << QRect(f[2].toInt(), f[3].toInt(), f[4].toInt(), f[5].toInt())
            << f[6].toDouble();
    }
}

void TestMainWindow::layoutSpotChecks()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, twips);
    QFETCH(double, points);
    WindowFixture f;
    QWidget* w = f.control(name.toUtf8().constData());
    QCOMPARE(w->parentWidget(),
             parent.isEmpty() ? &f.window : f.control(parent.toUtf8().constData()));
    QCOMPARE(w->geometry(),
             QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
    if (points > 0)
        QCOMPARE(w->font().pointSizeF(), points);
    else
        QCOMPARE(w->font(), QApplication::font(w));
}

// Every text the user reads on a control, literally: the table cannot check its own words.
void TestMainWindow::captions()
{
    WindowFixture f;
    // clang-format off
    const QStringList expected = {
        "Frame1=x", "Frame2=y", "Command1=Korvelianfigur", "Command2=Schwingung", "Check1=Stop",
        "Label8=Geschwindigkeit", "Command8=-", "Command7=+", "Command5=Programm beenden",
        "txtHilfe=Hilfe", "Command6=i", "Label1=Amplitude", "Label5=Phase", "Label2=Amplitude",
        "Label3=Phase", "Command9=-", "txtZaehler=1", "cmdplusZaehler=+",
        "Label4=Frequenzfaktor", "Command10=-", "txtNenner=1", "cmdplusNenner=+", "Label9=kgV",
        "txtkgV=1"};
    // clang-format on
    QStringList shown;
    for (const QString& entry : expected) {
        const QString name = entry.section('=', 0, 0);
        shown << name + "=" + captionOf(f.control(name.toUtf8().constData()));
    }
    QCOMPARE(shown, expected);
}

void TestMainWindow::fontsResolveToTheMetricCompatibleFace()
{
    WindowFixture f;
    const QFontInfo info(f.control("Command1")->font());
    QVERIFY2(info.family() == "Times New Roman" || info.family() == "Liberation Serif",
             qPrintable(info.family()));
}

void TestMainWindow::scrollBars_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("accessibleName");
    QTest::newRow("x amplitude") << "hscAmp1" << 200 << 100 << "Amplitude x";
    QTest::newRow("x phase") << "HScroll1" << 628 << 0 << "Phase x";
    QTest::newRow("y amplitude") << "hscAmp2" << 200 << 100 << "Amplitude y";
    QTest::newRow("y phase") << "hscPhase" << 628 << 0 << "Phase y";
}

void TestMainWindow::scrollBars()
{
    QFETCH(QString, name);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(QString, accessibleName);
    WindowFixture f;
    auto* bar = f.control<QScrollBar>(name.toUtf8().constData());
    QCOMPARE(bar->orientation(), Qt::Horizontal);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), maximum);
    QCOMPARE(bar->value(), value);
    QCOMPARE(bar->singleStep(), 1);
    QCOMPARE(bar->pageStep(), 1);
    QCOMPARE(bar->accessibleName(), accessibleName);
}

void TestMainWindow::tabOrder()
{
    WindowFixture f;
    QVERIFY(f.show());
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    const QStringList order = {"picBildschirm", "hscAmp1",        "hscAmp2",       "hscPhase",
                               "txtZaehler",    "txtNenner",      "Command1",      "HScroll1",
                               "Command2",      "Check1",         "Command5",      "txtHilfe",
                               "Command6",      "cmdplusZaehler", "cmdplusNenner", "Command9",
                               "Command10",     "Command7",       "Command8",      "picVelo",
                               "txtkgV",        "picBildschirm"};
    f.control("picBildschirm")->setFocus();
    QStringList visited = {QApplication::focusWidget()->objectName()};
    while (visited.size() < order.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, order);
}

void TestMainWindow::textBoxBackgrounds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("background");
    QTest::newRow("hint line: light yellow") << "txtHilfe" << QColor(255, 255, 192);
    QTest::newRow("closing count: light yellow") << "txtkgV" << QColor(255, 255, 192);
    QTest::newRow("numerator: the platform's") << "txtZaehler" << QColor(Qt::white);
    QTest::newRow("denominator: the platform's") << "txtNenner" << QColor(Qt::white);
}

void TestMainWindow::textBoxBackgrounds()
{
    QFETCH(QString, name);
    QFETCH(QColor, background);
    WindowFixture f;
    QVERIFY(f.show());
    QWidget* box = f.control(name.toUtf8().constData());
    const QImage shot = box->grab().toImage();
    const qreal r = shot.devicePixelRatio();
    // Right of the text, inside the border.
    QCOMPARE(QColor(shot.pixel(int((box->width() - 6) * r), int(box->height() / 2 * r))),
             background);
}

void TestMainWindow::overlaysAtStartPlaces()
{
    WindowFixture f;
    auto* screen = f.control<ScreenArea>("picBildschirm");
    QCOMPARE(screen->shapeRect(Shape::BeamPoint).topLeft(), QPointF(216, 192));
    QCOMPARE(screen->shapeRect(Shape::YMarker).topLeft(), QPointF(248, 280));
    QCOMPARE(screen->shapeRect(Shape::XMarker).topLeft(), QPointF(136, 232));
    QCOMPARE(screen->overlayLine(OverlayLine::DropToXAxis), QLineF(160, 160, 312, 160));
    QCOMPARE(screen->overlayLine(OverlayLine::DropToYAxis), QLineF(56, 72, 208, 72));
    QVERIFY(f.show());
    const QImage shot = screen->grab().toImage();
    const qreal r = shot.devicePixelRatio();
    QCOMPARE(QColor(shot.pixel(int(200 * r), int(160 * r))), QColor(128, 128, 255));
    QCOMPARE(QColor(shot.pixel(int(100 * r), int(72 * r))), QColor(128, 128, 255));
    // The shapes as drawn: 132 twips (8.8 pixels) across, the point a yellow disc, the
    // markers red squares in a yellow outline.
    const QColor yellow(255, 255, 0);
    const QColor red(255, 0, 0);
    for (const Shape shape : {Shape::BeamPoint, Shape::YMarker, Shape::XMarker}) {
        const QRect around =
            QRectF(screen->shapeRect(shape).topLeft() * r - QPointF(6, 6), QSizeF(20, 20) * r)
                .toRect();
        QRect drawn;
        for (int y = around.top(); y <= around.bottom(); ++y) {
            for (int x = around.left(); x <= around.right(); ++x) {
                const QColor c(shot.pixel(x, y));
                if (c == yellow || c == red)
                    drawn |= QRect(x, y, 1, 1);
            }
        }
        const QString which = QString("shape %1, drawn at %2,%3 %4x%5")
                                  .arg(int(shape))
                                  .arg(drawn.x())
                                  .arg(drawn.y())
                                  .arg(drawn.width())
                                  .arg(drawn.height());
        QVERIFY2(std::abs(drawn.width() / r - 8.8) <= 1 && std::abs(drawn.height() / r - 8.8) <= 1,
                 qPrintable(which));
        const QColor corner(shot.pixel(drawn.topLeft()));
        const QColor centre(shot.pixel(drawn.center()));
        if (shape == Shape::BeamPoint) {
            QVERIFY2(corner != yellow && corner != red, qPrintable(which));
            QVERIFY2(centre == yellow, qPrintable(which));
            const QColor edge(shot.pixel(drawn.left(), drawn.center().y()));
            QVERIFY2(edge == yellow, qPrintable(which));
        } else {
            QVERIFY2(corner == yellow, qPrintable(which));
            QVERIFY2(QColor(shot.pixel(drawn.bottomRight())) == yellow, qPrintable(which));
            QVERIFY2(centre == red, qPrintable(which));
        }
    }
}

void TestMainWindow::speedBar_data()
{
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("presses");
    QTest::addColumn<bool>("restarted"); // after the presses
    QTest::addColumn<double>("share");   // of the bar's width

    QTest::newRow("after start-up: empty") << false << "" << false << 0.0;
    QTest::newRow("+ before the first start: empty") << false << "++" << false << 0.0;
    QTest::newRow("started: half, the step 0.1 in use") << true << "" << false << 0.5;
    QTest::newRow("started, +: 55 %") << true << "+" << false << 0.55;
    QTest::newRow("started, ---: 36.45 %") << true << "---" << false << 0.3645;
    QTest::newRow("started, eight +: full") << true << "++++++++" << false << 1.0;
    QTest::newRow("started, eight +, started again: half") << true << "++++++++" << true << 0.5;
}

void TestMainWindow::speedBar()
{
    QFETCH(bool, started);
    QFETCH(QString, presses);
    QFETCH(bool, restarted);
    QFETCH(double, share);
    WindowFixture f;
    QVERIFY(f.show());
    if (started)
        f.runFrames(0);
    for (const QChar c : presses)
        QTest::mouseClick(f.control(c == '+' ? "Command7" : "Command8"), Qt::LeftButton);
    if (restarted)
        f.runFrames(0);
    QWidget* velo = f.control("picVelo");
    const QImage shot = velo->grab().toImage();
    // Red from the left edge to the share of the width, white after it, on every row.
    const double edge = share * shot.width();
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c(shot.pixel(x, y));
            const QString at = QString("%1,%2").arg(x).arg(y);
            if (x + 1 <= edge - 1)
                QVERIFY2(c == QColor(255, 0, 0), qPrintable(at));
            else if (x >= edge + 1)
                QVERIFY2(c == QColor(Qt::white), qPrintable(at));
            else
                QVERIFY2(c == QColor(255, 0, 0) || c == QColor(Qt::white), qPrintable(at));
        }
    }
}

void TestMainWindow::startUpPicture()
{
    WindowFixture f;
    const QImage image = f.control<PictureArea>("picBildschirm")->image();
    const qreal ratio = image.devicePixelRatio();
    const int size = image.width();
    QCOMPARE(size, qRound(441 * ratio));
    auto near = [&](double lx, double ly, auto test) {
        const int cx = int(lx * ratio);
        const int cy = int(ly * ratio);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (test(image.pixel(qBound(0, cx + dx, size - 1), qBound(0, cy + dy, size - 1))))
                    return true;
            }
        }
        return false;
    };
    // Axes through the centre, a white diagonal from (-1, -1) to (1, 1): upper left to
    // lower right, since y grows downward.
    for (double u : {-1.9, -1.0, -0.3, 0.6, 1.9}) {
        const double p = (u + 2) / 4 * 441;
        QVERIFY2(near(p, 220.5, isAxis), qPrintable(QString("horizontal axis at %1").arg(u)));
        QVERIFY2(near(220.5, p, isAxis), qPrintable(QString("vertical axis at %1").arg(u)));
    }
    for (double u : {-0.99, -0.5, 0.3, 0.7, 0.99}) {
        const double p = (u + 2) / 4 * 441;
        QVERIFY2(near(p, p, isWhite), qPrintable(QString("diagonal at %1").arg(u)));
        QVERIFY(!near(p, 441 - p, isWhite));
    }
    QCOMPARE(QColor(image.pixel(3, 3)), QColor(Qt::black));
    // One device pixel wide: the axis has black on both sides.
    const int axisRow = [&] {
        for (int y = 0; y < size; ++y) {
            if (isAxis(image.pixel(int(20 * ratio), y)))
                return y;
        }
        return -1;
    }();
    QVERIFY(axisRow > 0);
    QCOMPARE(QColor(image.pixel(int(20 * ratio), axisRow + 1)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(int(20 * ratio), axisRow - 1)), QColor(Qt::black));
}

void TestMainWindow::redrawReplacesTheFigure()
{
    WindowFixture f;
    QVERIFY(f.show());
    // x amplitude 0: the diagonal of start-up gives way to a segment on the vertical axis.
    f.control<QScrollBar>("hscAmp1")->setValue(0);
    const QImage shot = f.control("picBildschirm")->grab().toImage();
    const qreal r = shot.devicePixelRatio();
    for (double u : {-0.9, -0.5, 0.5, 0.9}) {
        const double p = (u + 2) / 4 * 441;
        QCOMPARE(QColor(shot.pixel(int(p * r), int(p * r))), QColor(Qt::black));
        QCOMPARE(QColor(shot.pixel(int(220.5 * r), int(p * r))), QColor(Qt::white));
    }
}

void TestMainWindow::hints_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QPoint>("firstAt");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QPoint>("secondAt");
    QTest::addColumn<QString>("hint");
    const QPoint centre(-1, -1);

    QTest::newRow("Korvelianfigur")
        << "" << QPoint() << "Command1" << centre << "Korvelian-Figur zeigen";
    QTest::newRow("Schwingung") << "" << QPoint() << "Command2" << centre << "Schwingung zeigen";
    QTest::newRow("frame x, its own surface")
        << "" << QPoint() << "Frame1" << QPoint(10, 60) << "Schwingung auf der x-Achse einstellen";
    QTest::newRow("frame y, its own surface")
        << "" << QPoint() << "Frame2" << QPoint(10, 10) << "Schwingung auf der y-Achse einstellen";
    QTest::newRow("Frequenzfaktor, not frame y")
        << "" << QPoint() << "Label4" << QPoint(20, 8)
        << "Frequenz der y-Schwingung = Frequenzfaktor * Frequenz der x-Schwingung (als Bruch)";
    QTest::newRow("a scroll bar inside frame x sets nothing")
        << "" << QPoint() << "hscAmp1" << centre << "Hilfe";
    QTest::newRow("a label inside frame y sets nothing")
        << "" << QPoint() << "Label2" << centre << "Hilfe";
    QTest::newRow("leaving a button keeps its hint")
        << "Command1" << centre << "txtHilfe" << centre << "Korvelian-Figur zeigen";
    QTest::newRow("from frame x to a control inside it keeps the frame's hint")
        << "Frame1" << QPoint(10, 60) << "HScroll1" << centre
        << "Schwingung auf der x-Achse einstellen";
    QTest::newRow("screen sets nothing") << "" << QPoint() << "picBildschirm" << centre << "Hilfe";
}

void TestMainWindow::hints()
{
    QFETCH(QString, first);
    QFETCH(QPoint, firstAt);
    QFETCH(QString, second);
    QFETCH(QPoint, secondAt);
    QFETCH(QString, hint);
    WindowFixture f;
    QVERIFY(f.show());
    auto moveTo = [&](const QString& name, QPoint at) {
        QWidget* w = f.control(name.toUtf8().constData());
        QTest::mouseMove(w, at == QPoint(-1, -1) ? w->rect().center() : at);
    };
    QTest::mouseMove(&f.window, QPoint(650, 480));
    if (!first.isEmpty())
        moveTo(first, firstAt);
    moveTo(second, secondAt);
    QCOMPARE(f.text("txtHilfe"), hint);
}

void TestMainWindow::informationBox()
{
    WindowFixture f;
    QVERIFY(f.show());
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::Information;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        buttons = box->standardButtons();
        icon = box->icon();
        box->accept();
    });
    QTest::mouseClick(f.control("Command6"), Qt::LeftButton);
    QCOMPARE(title, "Feeware, programmiert von");
    QCOMPARE(text, "Ansgor Kelmtorp, TU Oldenvast");
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(f.text("txtHilfe"), "Hilfe");
}

void TestMainWindow::quit_data()
{
    QTest::addColumn<bool>("throughFrame");
    QTest::newRow("Programm beenden") << false;
    QTest::newRow("the window's close control") << true;
}

void TestMainWindow::quit()
{
    QFETCH(bool, throughFrame);
    WindowFixture f;
    QVERIFY(f.show());
    if (throughFrame)
        f.window.close();
    else
        QTest::mouseClick(f.control("Command5"), Qt::LeftButton);
    QVERIFY(f.ended);
    QVERIFY(f.stopTickedAtEnd);
}

void TestMainWindow::scrollBarEvents_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("events"); // S: Scroll, C: Change

    const char* const bars[] = {"hscAmp1", "HScroll1", "hscAmp2", "hscPhase"};
    for (const char* bar : bars) {
        QTest::addRow("%s: drag", bar) << bar << "drag"
                                       << "SSSSC";
        QTest::addRow("%s: arrow key", bar) << bar << "key"
                                            << "C";
        QTest::addRow("%s: wheel", bar) << bar << "wheel"
                                        << "C";
        QTest::addRow("%s: click in the trough", bar) << bar << "trough"
                                                      << "C";
        QTest::addRow("%s: click on the arrow", bar) << bar << "arrow"
                                                     << "C";
    }
}

// Scroll while the thumb is dragged, Change once the value has changed; each redraws.
void TestMainWindow::scrollBarEvents()
{
    QFETCH(QString, name);
    QFETCH(QString, action);
    QFETCH(QString, events);
    WindowFixture f;
    QVERIFY(f.show());
    auto* bar = f.control<QScrollBar>(name.toUtf8().constData());
    FormVariables& vars = f.window.form().variables();
    // In the middle of its travel, so that a step either way changes it.
    bar->setValue(bar->maximum() / 2);
    int redraws = 0;
    // The bar reports a new value once, whatever the action: a drag only when released.
    QSignalSpy changes(bar, &QScrollBar::valueChanged);
    // A redraw of a figure with closing count 1 leaves t at its end and x, y at its last
    // point, for the thumbs where they stand (a dragged one where the user holds it).
    auto countRedraw = [&] {
        const auto position = [&](const char* thumb) {
            return f.control<QScrollBar>(thumb)->sliderPosition() / 100.0;
        };
        const Point last =
            deflection(6.299999999999994, {position("hscAmp1"), position("HScroll1"),
                                           position("hscAmp2"), position("hscPhase"), 1, 1});
        if (vars.t == 6.399999999999993 && vars.x == last.x && vars.y == last.y)
            ++redraws;
        vars.t = -1;
    };
    vars.t = -1;
    const int before = bar->value();
    if (action == "drag") {
        const QPoint start = sliderCentre(bar);
        QTest::mousePress(bar, Qt::LeftButton, {}, start);
        for (int step = 1; step <= 4; ++step) {
            QTest::mouseMove(bar, start + QPoint(6 * step, 0));
            countRedraw();
        }
        QTest::mouseRelease(bar, Qt::LeftButton, {}, start + QPoint(24, 0));
    } else if (action == "key") {
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Right);
    } else if (action == "wheel") {
        const QPointF at(bar->width() / 2.0, bar->height() / 2.0);
        QWheelEvent wheel(at, bar->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &wheel);
    } else if (action == "trough") {
        QTest::mouseClick(bar, Qt::LeftButton, {}, sliderCentre(bar) + QPoint(40, 0));
    } else {
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
    }
    countRedraw();
    QCOMPARE(changes.count(), int(events.count('C')));
    QCOMPARE(redraws, int(events.size()));
    QVERIFY(bar->value() != before);
    QCOMPARE(bar->value(), bar->sliderPosition());
}

KORVELIAN_WIDGET_TEST(mainwindow, TestMainWindow)
#include "tst_mainwindow.moc"
