#include "mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Korvelian-Figuren");
    QApplication::setApplicationVersion(KORVELIAN_VERSION);
    QGuiApplication::setDesktopFileName("org.korvelian.Korvelian");
    korvelian::MainWindow window;
    window.restoreZoom();
    window.show();
    return QApplication::exec();
}
