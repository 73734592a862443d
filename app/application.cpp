#include "application.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#ifdef KORVELIAN_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace korvelian {

namespace {

// While the platform starts, a fatal message means it cannot: there is no display.
std::atomic<bool> starting = false;

// The toolkit's messages are English and name its own workings (a session folder, an audio
// server, a font of no size): nothing in them a user could act on, so none reaches the
// terminal; what a user needs to know the program says in its own German lines. A fatal one
// ends the program with one of them.
void toolkitMessage(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type != QtFatalMsg)
        return;
    if (starting) {
        std::fputs("korvelian: Keine Anzeige gefunden; ohne grafische Oberfläche kann das "
                   "Programm nicht starten.\n",
                   stderr);
        std::_Exit(1);
    }
    std::fputs("korvelian: Ein interner Fehler beendet das Programm.\n", stderr);
    std::abort();
}

} // namespace

void quietenToolkitMessages()
{
    qInstallMessageHandler(toolkitMessage);
}

void loadGermanTranslation()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

// The system's font configuration, read once for the process: its files and its caches of
// every font. The first control's font waits for it otherwise.
void readFontConfiguration()
{
#ifdef KORVELIAN_HAVE_FONTCONFIG
    FcInit();
#endif
}

void skipSessionBusLaunch()
{
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QString runtimeFolder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtimeFolder.isEmpty() && QFileInfo::exists(runtimeFolder + "/bus"))
        return;
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

std::unique_ptr<QApplication> startApplication(int& argc, char* argv[])
{
    quietenToolkitMessages();
    skipSessionBusLaunch();
    // Read beside the toolkit's start, which meanwhile loads its platform library and
    // connects to the display.
    std::thread fonts(readFontConfiguration);
    starting = true;
    auto app = std::make_unique<QApplication>(argc, argv);
    starting = false;
    fonts.join();

    QApplication::setApplicationName(kProgramName);
    QApplication::setApplicationVersion(KORVELIAN_VERSION);
    QGuiApplication::setDesktopFileName("org.korvelian.Korvelian");
    loadGermanTranslation();
    return app;
}

} // namespace korvelian
