#pragma once

#include "mainwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

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
};

} // namespace korvelian

// Widget tests run on the offscreen platform with fonts at 96 dots per inch, whatever the
// machine, so pixel positions are reproducible.
#define KORVELIAN_WIDGET_TEST_MAIN(TestClass)                                                      \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        qputenv("QT_FONT_DPI", "96");                                                              \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
