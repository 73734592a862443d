#include "form1.h"
#include "screenarea.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTimer>

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
    void layout_data();
    void layout();
    void fontsResolveToTheMetricCompatibleFace();
    void scrollBars_data();
    void scrollBars();
    void tabOrder();
    void overlaysAtStartPlaces();
    void startUpPicture();
    void hints_data();
    void hints();
    void informationBox();
    void quit_data();
    void quit();
    void dragRedrawsOnEveryScrollAndOnChange_data();
    void dragRedrawsOnEveryScrollAndOnChange();
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

void TestMainWindow::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("points"); // 0: the default font

    auto row = [](const char* name, const char* parent, int l, int t, int w, int h,
                  const char* caption, double points) {
        QTest::newRow(name) << name << parent << QRect(l, t, w, h) << QString::fromUtf8(caption)
                            << points;
    };
    row("picBildschirm", "", 3120, 120, 6612, 6612, "", 0);
    row("Frame1", "", 240, 120, 2652, 1572, "x", 10.2);
    row("Frame2", "", 240, 1920, 2652, 2892, "y", 10.2);
    row("Command1", "", 240, 4920, 1452, 372, "Korvelianfigur", 10.2);
    row("Command2", "", 240, 5400, 1452, 372, "Schwingung", 10.2);
    row("Check1", "", 1800, 5400, 972, 372, "Stop", 10.2);
    row("Label8", "", 240, 5880, 1452, 252, "Geschwindigkeit", 10.2);
    row("Command8", "", 1800, 5880, 252, 252, "-", 0);
    row("Command7", "", 2040, 5880, 252, 252, "+", 0);
    row("picVelo", "", 1800, 6120, 492, 132, "", 0);
    row("Command5", "", 240, 6360, 2652, 372, "Programm beenden", 10.2);
    row("txtHilfe", "", 240, 6840, 9012, 372, "Hilfe", 10.8);
    row("Command6", "", 9360, 6840, 372, 372, "i", 0);
    row("Label1", "Frame1", 600, 240, 1692, 252, "Amplitude", 10.2);
    row("hscAmp1", "Frame1", 600, 480, 1812, 252, "", 0);
    row("Label5", "Frame1", 600, 840, 1692, 252, "Phase", 10.2);
    row("HScroll1", "Frame1", 600, 1080, 1812, 252, "", 0);
    row("Label2", "Frame2", 600, 360, 1692, 252, "Amplitude", 10.2);
    row("hscAmp2", "Frame2", 600, 600, 1812, 252, "", 0);
    row("Label3", "Frame2", 600, 960, 1692, 252, "Phase", 10.2);
    row("hscPhase", "Frame2", 600, 1200, 1812, 252, "", 0);
    row("Command9", "Frame2", 1440, 1560, 252, 192, "-", 0);
    row("txtZaehler", "Frame2", 1680, 1560, 612, 288, "1", 12);
    row("cmdplusZaehler", "Frame2", 2280, 1560, 252, 192, "+", 0);
    row("Label4", "Frame2", 120, 1800, 1692, 252, "Frequenzfaktor", 10.2);
    row("Command10", "Frame2", 1440, 2040, 252, 192, "-", 0);
    row("txtNenner", "Frame2", 1680, 2040, 612, 288, "1", 12);
    row("cmdplusNenner", "Frame2", 2280, 2040, 252, 192, "+", 0);
    row("Label9", "Frame2", 1200, 2520, 372, 252, "kgV", 10.2);
    row("txtkgV", "Frame2", 1680, 2520, 612, 288, "1", 10.8);
}

void TestMainWindow::layout()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, twips);
    QFETCH(QString, caption);
    QFETCH(double, points);
    WindowFixture f;
    QWidget* w = f.control(name.toUtf8().constData());
    QWidget* expectedParent = parent.isEmpty() ? &f.window : f.control(parent.toUtf8().constData());
    QCOMPARE(w->parentWidget(), expectedParent);
    QCOMPARE(w->geometry(),
             QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
    QCOMPARE(captionOf(w), caption);
    QVERIFY(w->isVisibleTo(&f.window));
    if (points > 0) {
        QCOMPARE(w->font().family(), "Times New Roman");
        QCOMPARE(w->font().pointSizeF(), points);
        QCOMPARE(w->font().weight(), QFont::Normal);
        QVERIFY(!w->font().italic() && !w->font().underline() && !w->font().strikeOut());
    } else {
        QCOMPARE(w->font(), QApplication::font(w));
    }
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
    const QStringList order = {
        "picBildschirm", "hscAmp1",        "hscAmp2",       "hscPhase", "txtZaehler", "txtNenner",
        "Command1",      "HScroll1",       "Command2",      "Check1",   "Command5",   "txtHilfe",
        "Command6",      "cmdplusZaehler", "cmdplusNenner", "Command9", "Command10",  "Command7",
        "Command8",      "picVelo",        "txtkgV"};
    QStringList focusable;
    for (const QString& name : order)
        focusable << name;
    for (int i = 0; i + 1 < order.size(); ++i) {
        QWidget* w = f.control(order[i].toUtf8().constData());
        do {
            w = w->nextInFocusChain();
        } while (!focusable.contains(w->objectName()));
        QCOMPARE(w->objectName(), order[i + 1]);
    }
    for (const char* noFocus : {"Frame1", "Frame2", "Label4", "Label8", "Line1"})
        QCOMPARE(f.control(noFocus)->focusPolicy(), Qt::NoFocus);
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
    // On screen: the yellow point and a red square where the table puts them.
    QVERIFY(f.show());
    const QImage shot = screen->grab().toImage();
    const qreal r = shot.devicePixelRatio();
    auto at = [&](int x, int y) { return QColor(shot.pixel(int(x * r), int(y * r))); };
    QCOMPARE(at(220, 196), QColor(255, 255, 0));
    QCOMPARE(at(252, 284), QColor(255, 0, 0));
    QCOMPARE(at(200, 160), QColor(128, 128, 255));
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

void TestMainWindow::dragRedrawsOnEveryScrollAndOnChange_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("x amplitude") << "hscAmp1";
    QTest::newRow("x phase") << "HScroll1";
    QTest::newRow("y amplitude") << "hscAmp2";
    QTest::newRow("y phase") << "hscPhase";
}

void TestMainWindow::dragRedrawsOnEveryScrollAndOnChange()
{
    QFETCH(QString, name);
    WindowFixture f;
    QVERIFY(f.show());
    auto* bar = f.control<QScrollBar>(name.toUtf8().constData());
    FormVariables& vars = f.window.form().variables();
    const QPoint start = sliderCentre(bar);
    QTest::mousePress(bar, Qt::LeftButton, {}, start);
    int redraws = 0;
    for (int step = 1; step <= 4; ++step) {
        vars.t = -1;
        const int before = bar->sliderPosition();
        QTest::mouseMove(bar, start + QPoint(6 * step, 0));
        QVERIFY(bar->sliderPosition() != before);
        QCOMPARE(bar->value(), name.startsWith("hscAmp") ? 100 : 0);
        QCOMPARE(vars.t, 6.399999999999993);
        ++redraws;
    }
    vars.t = -1;
    QTest::mouseRelease(bar, Qt::LeftButton, {}, start + QPoint(24, 0));
    QCOMPARE(vars.t, 6.399999999999993);
    QCOMPARE(bar->value(), bar->sliderPosition());
    // A click on the arrow steps by one and redraws (Change).
    vars.t = -1;
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
    QCOMPARE(vars.t, 6.399999999999993);
    QCOMPARE(redraws, 4);
}

KORVELIAN_WIDGET_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
