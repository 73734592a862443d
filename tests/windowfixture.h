#pragma once

#include "app/mainwindow.h"
#include "testregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace korvelian {

// The real main window, shown offscreen, with an end of the program that only records.
struct WindowFixture
{
    bool ended = false;
    bool stopTickedAtEnd = false;
    MainWindow window{[this] {
        ended = true;
        stopTickedAtEnd = window.findChild<QWidget*>("Check1")->property("checked").toBool();
    }};

    template <typename T = QWidget> T* control(const char* name) const
    {
        T* found = window.findChild<T*>(name);
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    QString text(const char* box) const { return control<QLineEdit>(box)->text(); }

    bool show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    // Starts the animation and ticks Stop in its pump number `frames` (0 being the start's
    // own pump), so that exactly that many frames run however loaded the machine is: an event
    // that posts itself again counts the pumps, since one pump never delivers an event posted
    // during it. inPump runs first in every pump, with its number.
    void runFrames(int frames, std::function<void(int)> inPump = {})
    {
        postPump(0, frames, std::move(inPump));
        control<QPushButton>("Command2")->click();
    }

private:
    void postPump(int pump, int frames, std::function<void(int)> inPump)
    {
        // Posted to the window: what is still queued when the window goes is dropped with it.
        QMetaObject::invokeMethod(
            &window,
            [this, pump, frames, inPump] {
                if (inPump)
                    inPump(pump);
                if (pump == frames)
                    control<QCheckBox>("Check1")->setChecked(true);
                else
                    postPump(pump + 1, frames, inPump);
            },
            Qt::QueuedConnection);
    }
};

// Widget tests run on the offscreen platform with fonts at 96 dots per inch, whatever the
// machine, so pixel positions are reproducible: on its one screen of 800 × 600, or on the
// screens of a configuration in the platform's JSON form. Scaled (QT_SCALE_FACTOR), the one
// screen has as many more device pixels, so that the window at 100 % still fits on it.
template <typename TestClass>
int runWidgetTest(int argc, char* argv[], const char* screens = nullptr)
{
    QTemporaryDir dir;
    QByteArray platform = "offscreen";
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    QByteArray scaled;
    if (!screens && scale > 1) {
        scaled = QStringLiteral(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1,
            "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                     .arg(qRound(800 * scale))
                     .arg(qRound(600 * scale))
                     .toUtf8();
        screens = scaled.constData();
    }
    if (screens) {
        QFile config(dir.filePath("screens.json"));
        if (!config.open(QIODevice::WriteOnly) || config.write(screens) < 0)
            return 1;
        platform += ":configfile=" + config.fileName().toUtf8();
    }
    qputenv("QT_QPA_PLATFORM", platform);
    qputenv("QT_FONT_DPI", "96");
    QApplication app(argc, argv);
    TestClass test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace korvelian

#define KORVELIAN_WIDGET_TEST(area, TestClass)                                                     \
    KORVELIAN_TEST_AREA(area, [](int argc, char* argv[]) {                                         \
        return korvelian::runWidgetTest<TestClass>(argc, argv);                                    \
    })
