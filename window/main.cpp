#include "application.h"
#include "commandline.h"
#include "mainwindow.h"

int main(int argc, char* argv[])
{
    using korvelian::CommandLine;
    CommandLine commandLine;
    {
        // Help, version and faults in the command line need no display.
        QCoreApplication core(argc, argv);
        korvelian::loadGermanTranslation();
        if (const auto answer =
                commandLine.read(QCoreApplication::arguments(), CommandLine::Stage::BeforeToolkit))
            return CommandLine::print(*answer);
    }
    const auto app = korvelian::startApplication(argc, argv);
    if (const auto answer =
            commandLine.read(QApplication::arguments(), CommandLine::Stage::AfterToolkit))
        return CommandLine::print(*answer);
    korvelian::MainWindow window;
    window.restoreView();
    commandLine.applyTo(window);
    window.show();
    return QApplication::exec();
}
