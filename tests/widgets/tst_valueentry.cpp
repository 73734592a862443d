#include "form/layout.h"
#include "widgets/picturearea.h"
#include "widgets/presetmenus.h"
#include "widgets/scrollreadout.h"
#include "widgets/valuedialog.h"
#include "tests/windowfixture.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

using namespace korvelian;

class TestValueEntry : public QObject
{
    Q_OBJECT

private slots:
    void typedIntoTheBarsMenu_data();
    void typedIntoTheBarsMenu();
};

void TestValueEntry::typedIntoTheBarsMenu_data()
{
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // beneath the field while typing
    QTest::addColumn<int>("value");       // -1: refused, OK cannot be pressed
    QTest::addColumn<QString>("readout");

    const QString radians = QStringLiteral(": der Regler stellt in Hundertstel Radiant ein");
    // clang-format off
    QTest::newRow("phase 45°: bar 79") << "hscPhase" << "45" << "45° → 45,3°" + radians << 79 << "Phase y: 0,79 rad ≈ 45,3°";
    QTest::newRow("phase 90°: 89,95° told with two decimals") << "HScroll1" << "90" << "90° → 89,95°" + radians << 157 << "Phase x: 1,57 rad ≈ 90,0°";
    QTest::newRow("phase 22,5° with a degree sign") << "hscPhase" << "22,5°" << "22,5° → 22,3°" + radians << 39 << "Phase y: 0,39 rad ≈ 22,3°";
    QTest::newRow("phase 180°") << "HScroll1" << "180" << "180° → 179,9°" + radians << 314 << "Phase x: 3,14 rad ≈ 179,9°";
    QTest::newRow("phase 360°, the bar's end") << "hscPhase" << "360" << "360° → 359,8°" + radians << 628 << "Phase y: 6,28 rad ≈ 359,8°";
    QTest::newRow("phase 360,5° refused") << "hscPhase" << "360,5" << "Die Phase reicht von 0° bis 360°." << -1 << "";
    QTest::newRow("phase -10° refused") << "HScroll1" << "-10" << "Die Phase reicht von 0° bis 360°." << -1 << "";
    QTest::newRow("amplitude 1,5") << "hscAmp1" << "1,5" << "" << 150 << "Amplitude x: 1,50";
    QTest::newRow("amplitude 1.5") << "hscAmp2" << "1.5" << "" << 150 << "Amplitude y: 1,50";
    QTest::newRow("amplitude 0,255 to hundredths") << "hscAmp2" << "0,255" << "0,255 → 0,26: der Regler stellt in Hundertstel ein" << 26 << "Amplitude y: 0,26";
    QTest::newRow("amplitude 2,01 refused") << "hscAmp1" << "2,01" << "Die Amplitude reicht von 0 bis 2." << -1 << "";
    QTest::newRow("amplitude as a word refused") << "hscAmp1" << "eins" << "Bitte eine Zahl eingeben, etwa 1,5." << -1 << "";
    // clang-format on
}

// "Wert eingeben…" from the bar's menu, typed as a user types; OK sets the bar, the readout
// shows what it took, the figure is drawn with it.
void TestValueEntry::typedIntoTheBarsMenu()
{
    QFETCH(QString, bar);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(int, value);
    QFETCH(QString, readout);
    WindowFixture f;
    QVERIFY(f.show());
    auto* scrollBar = f.control<QScrollBar>(bar.toUtf8().constData());
    const int before = scrollBar->value();
    QString shown;
    bool okEnabled = false;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<ValueDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        QTest::keyClick(&dialog->field(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&dialog->field(), typed);
        shown = dialog->message().text();
        QPushButton* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        okEnabled = ok->isEnabled();
        if (okEnabled)
            ok->click();
        else
            dialog->reject();
    });
    const QList<QAction*> entries = f.window.presetMenus().menuFor(scrollBar)->actions();
    QCOMPARE(entries.back()->text(), "Wert eingeben…");
    entries.back()->trigger();
    QCOMPARE(shown, message);
    QCOMPARE(okEnabled, value >= 0);
    QCOMPARE(scrollBar->value(), value >= 0 ? value : before);
    if (value < 0)
        return;
    QCOMPARE(f.window.readout().label().text(), readout);
    const Parameter& p = f.control<PictureArea>("picBildschirm")->drawing().back().parameters;
    const double drawn[] = {p.amplitudeX, p.phaseX, p.amplitudeY, p.phaseY};
    const auto row = std::find_if(kControls.begin(), kControls.end(),
                                  [&](const ControlLayout& c) { return bar == c.name; });
    QCOMPARE(drawn[static_cast<int>(*row->scrollBar)], value / 100.0);
}

KORVELIAN_WIDGET_TEST(valueentry, TestValueEntry)
#include "tst_valueentry.moc"
