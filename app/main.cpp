#include "application.h"
#include "classroom.h"
#include "commandline.h"
#include "mainwindow.h"

#include <csignal>

int main(int argc, char* argv[])
{
    using korvelian::CommandLine;
#ifdef SIGXFSZ
    // A file-size limit then fails the write, which reports it and keeps the old file, instead
    // of ending the program halfway through.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    korvelian::quietenToolkitMessages();
    CommandLine commandLine;
    // Help, version and faults in the command line need no display. Without arguments there
    // is nothing to answer, and the window starts sooner without a first application.
    if (argc > 1) {
        QCoreApplication core(argc, argv);
        korvelian::loadGermanTranslation();
        if (const auto answer =
                commandLine.read(QCoreApplication::arguments(), CommandLine::Stage::BeforeToolkit))
            return CommandLine::print(*answer);
    }
    // A picture for a file is drawn without a window, so it needs no display either; a
    // -platform option still wins.
    const bool exporting = commandLine.settings().exportPath.has_value() ||
                           commandLine.settings().tablePath.has_value();
    if (exporting)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto app = korvelian::startApplication(argc, argv);
    if (const auto answer =
            commandLine.read(QApplication::arguments(), CommandLine::Stage::AfterToolkit))
        return CommandLine::print(*answer);
    // Without a window, and without the remembered zoom and screen options: the same command
    // gives the same file.
    if (exporting)
        return CommandLine::print(commandLine.exportFile());
    korvelian::MainWindow window;
    window.restoreView(commandLine.settings().viewOptions());
    commandLine.applyTo(window);
    window.show();
    window.classroom().begin(commandLine.settings());
    return QApplication::exec();
}
