#include "model/constants.h"
#include "form/form1.h"
#include "form/layout.h"
#include "tests/windowfixture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <cmath>

using namespace korvelian;

namespace {

double luminance(const QColor& colour)
{
    auto channel = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 45));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(235, 235, 235));
    dark.setColor(QPalette::Button, QColor(60, 60, 60));
    dark.setColor(QPalette::ButtonText, QColor(235, 235, 235));
    return dark;
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private slots:
    void textsReadOnAnyTheme_data();
    void textsReadOnAnyTheme();
    void edgesOfEachBoxReachTheBox_data();
    void edgesOfEachBoxReachTheBox();
    void noControlIsAnnouncedBySignAlone();
    void returnAndEnterPressAFocusedButton();
    void arrowKeysMoveABarTheWayTheyPoint_data();
    void arrowKeysMoveABarTheWayTheyPoint();
    void fiveDigitsStayInSight();
    void focusMarkAfterTab_data();
    void focusMarkAfterTab();
    void speedBarKeysPressTheSpeedButtons();
};

void TestDesktop::textsReadOnAnyTheme_data()
{
    QTest::addColumn<bool>("dark");
    QTest::newRow("default theme") << false;
    QTest::newRow("dark theme") << true;
}

void TestDesktop::textsReadOnAnyTheme()
{
    QFETCH(bool, dark);
    const QPalette before = QApplication::palette();
    if (dark)
        QApplication::setPalette(darkPalette());
    WindowFixture f;
    for (const ControlLayout& entry : kControls) {
        if (!*entry.caption || entry.kind == ControlKind::Picture)
            continue;
        QWidget* w = f.control(entry.name);
        const QPalette& p = w->palette();
        QColor text = p.color(QPalette::WindowText);
        QColor ground = p.color(QPalette::Window);
        if (entry.kind == ControlKind::TextBox) {
            text = p.color(QPalette::Text);
            ground = p.color(QPalette::Base);
        } else if (entry.kind == ControlKind::Button) {
            text = p.color(QPalette::ButtonText);
            ground = p.color(QPalette::Button);
        }
        QVERIFY2(contrast(text, ground) >= 4.5,
                 qPrintable(QString("%1: %2").arg(entry.name).arg(contrast(text, ground))));
    }
    QApplication::setPalette(before);
}

void TestDesktop::edgesOfEachBoxReachTheBox_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"txtZaehler", "txtNenner", "txtkgV", "Command9", "Command10",
                             "cmdplusZaehler", "cmdplusNenner"})
        QTest::newRow(name) << name;
}

void TestDesktop::edgesOfEachBoxReachTheBox()
{
    QFETCH(QString, name);
    WindowFixture f;
    QWidget* control = f.control(name.toUtf8().constData());
    const QRect r = control->geometry();
    for (const QPoint& edge : {QPoint(r.left() + 2, r.top()), QPoint(r.center().x(), r.top()),
                               QPoint(r.left() + 2, r.bottom()), QPoint(r.right() - 2, r.bottom())})
        QCOMPARE(control->parentWidget()->childAt(edge), control);
}

void TestDesktop::noControlIsAnnouncedBySignAlone()
{
    WindowFixture f;
    const QHash<QString, QString> signs = {
        {"Command9", "Zähler verkleinern"},  {"cmdplusZaehler", "Zähler vergrößern"},
        {"Command10", "Nenner verkleinern"}, {"cmdplusNenner", "Nenner vergrößern"},
        {"Command8", "Langsamer"},           {"Command7", "Schneller"},
        {"Command6", "Information"},         {"picBildschirm", "Bildschirm"},
        {"picVelo", "Geschwindigkeit"},      {"Line1", "Bruchstrich"}};
    for (const ControlLayout& entry : kControls) {
        const QString name = f.control(entry.name)->accessibleName();
        QVERIFY2(name.size() > 1, entry.name);
        if (signs.contains(entry.name))
            QCOMPARE(name, signs.value(entry.name));
    }
    // The speed bar tells its value in words.
    f.window.form().variables().dt = 0.1;
    f.control<QPushButton>("Command7")->click();
    QCOMPARE(f.control("picVelo")->accessibleDescription(), "Schritt je Bild: 0,11");
}

void TestDesktop::returnAndEnterPressAFocusedButton()
{
    WindowFixture f;
    QVERIFY(f.show());
    auto* plus = f.control<QPushButton>("cmdplusZaehler");
    plus->setFocus();
    QTest::keyClick(plus, Qt::Key_Return);
    QCOMPARE(f.text("txtZaehler"), " 2");
    QTest::keyClick(plus, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(f.text("txtZaehler"), " 3");
}

void TestDesktop::arrowKeysMoveABarTheWayTheyPoint_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("step");
    QTest::newRow("right") << int(Qt::Key_Right) << 1;
    QTest::newRow("left") << int(Qt::Key_Left) << -1;
    QTest::newRow("up") << int(Qt::Key_Up) << 1;
    QTest::newRow("down") << int(Qt::Key_Down) << -1;
    QTest::newRow("page up, the bar's page step") << int(Qt::Key_PageUp) << 1;
    QTest::newRow("page down") << int(Qt::Key_PageDown) << -1;
}

void TestDesktop::arrowKeysMoveABarTheWayTheyPoint()
{
    QFETCH(int, key);
    QFETCH(int, step);
    WindowFixture f;
    QVERIFY(f.show());
    auto* bar = f.control<QScrollBar>("hscAmp1");
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key(key));
    QCOMPARE(bar->value(), 100 + step);
}

void TestDesktop::fiveDigitsStayInSight()
{
    WindowFixture f;
    QVERIFY(f.show());
    for (const char* name : {"txtZaehler", "txtNenner", "txtkgV"}) {
        auto* edit = f.control<QLineEdit>(name);
        edit->setText("32767");
        edit->setCursorPosition(5);
        // With the cursor at the end, text that does not fit is scrolled to the left: its
        // start then lies left of the box.
        const QRect cursor = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int start = cursor.center().x() - edit->fontMetrics().horizontalAdvance("32767");
        QVERIFY2(start >= 0 && cursor.center().x() <= edit->width(), name);
    }
}

void TestDesktop::focusMarkAfterTab_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("clickedAfter");
    QTest::addColumn<bool>("marked");
    // clang-format off
    QTest::newRow("screen by Tab") << "picBildschirm" << int(Qt::TabFocusReason) << false << true;
    QTest::newRow("screen at start, as always") << "picBildschirm" << int(Qt::ActiveWindowFocusReason) << false << false;
    QTest::newRow("speed bar by Shift+Tab") << "picVelo" << int(Qt::BacktabFocusReason) << false << true;
    QTest::newRow("scroll bar by Tab") << "hscPhase" << int(Qt::TabFocusReason) << false << true;
    QTest::newRow("scroll bar by a click") << "hscPhase" << int(Qt::MouseFocusReason) << false << false;
    QTest::newRow("scroll bar by Tab, then clicked") << "hscPhase" << int(Qt::TabFocusReason) << true << false;
    QTest::newRow("screen by Tab, then clicked") << "picBildschirm" << int(Qt::TabFocusReason) << true << false;
    // clang-format on
}

// A keyboard user sees where the focus is, in the theme's highlight colour on the left edge;
// the window at start and after a click looks as always.
void TestDesktop::focusMarkAfterTab()
{
    QFETCH(QString, control);
    QFETCH(int, reason);
    QFETCH(bool, clickedAfter);
    QFETCH(bool, marked);
    WindowFixture f;
    QVERIFY(f.show());
    QWidget* widget = f.control(qPrintable(control));
    f.control("txtHilfe")->setFocus();
    widget->setFocus(Qt::FocusReason(reason));
    QTRY_VERIFY(widget->hasFocus());
    if (clickedAfter)
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(widget->width() / 2, 2));
    const QImage shown = widget->grab().toImage();
    const QRgb highlight = widget->palette().color(QPalette::Highlight).rgb();
    QCOMPARE(shown.pixel(0, shown.height() / 2) == highlight, marked);
}

void TestDesktop::speedBarKeysPressTheSpeedButtons()
{
    WindowFixture f;
    QVERIFY(f.show());
    double& dt = f.window.form().variables().dt;
    dt = 0.1;
    QWidget* bar = f.control("picVelo");
    bar->setFocus(Qt::TabFocusReason);
    const struct
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        double factor;
    } presses[] = {{Qt::Key_Right, {}, kFaster},
                   {Qt::Key_Plus, Qt::ShiftModifier, kFaster},
                   {Qt::Key_Left, {}, kSlower},
                   {Qt::Key_Minus, Qt::KeypadModifier, kSlower},
                   {Qt::Key_Right, Qt::ControlModifier, 1}};
    for (const auto& press : presses) {
        const double before = dt;
        QTest::keyClick(bar, press.key, press.modifiers);
        QCOMPARE(dt, before * press.factor);
    }
}

KORVELIAN_WIDGET_TEST(desktop, TestDesktop)
#include "tst_desktop.moc"
