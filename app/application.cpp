#include "application.h"

#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace korvelian {

namespace {

// While the platform starts its messages are held back: when it cannot start, the warnings
// before its fatal message only repeat in English what the one German line says.
struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

std::mutex heldMutex;
std::vector<HeldMessage> held;

void holdWhileStarting(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fputs("korvelian: Keine Anzeige gefunden; ohne grafische Oberfläche kann das "
                   "Programm nicht starten.\n",
                   stderr);
        std::_Exit(1);
    }
    const std::lock_guard lock(heldMutex);
    held.push_back({type, context.category, text});
}

QtMessageHandler beforeQuietening = nullptr;

void withoutSessionWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths: ")))
        return;
    beforeQuietening(type, context, text);
}

QtMessageHandler beforeAudioQuietening = nullptr;

// Without an audio server Qt says so in English on every start, and its output names the
// error when the server goes; the entry "Ton" says it in German where it matters.
void withoutAudioServerWarnings(QtMsgType type, const QMessageLogContext& context,
                                const QString& text)
{
    // The stream's error comes quoted, as Qt's debug stream writes a string.
    QStringView said(text);
    if (said.startsWith(u'"'))
        said = said.mid(1);
    if (type == QtWarningMsg &&
        (said.startsWith(u"PulseAudioService: ") || said.startsWith(u"Stream error: ")))
        return;
    beforeAudioQuietening(type, context, text);
}

} // namespace

void quietenSessionWarnings()
{
    beforeQuietening = qInstallMessageHandler(withoutSessionWarnings);
}

void loadGermanTranslation()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

std::unique_ptr<QApplication> startApplication(int& argc, char* argv[])
{
    const QtMessageHandler previous = qInstallMessageHandler(holdWhileStarting);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    const std::lock_guard lock(heldMutex);
    for (const HeldMessage& message : held) {
        const char* category = message.category.isNull() ? nullptr : message.category.constData();
        previous(message.type, QMessageLogContext(nullptr, 0, nullptr, category), message.text);
    }
    held.clear();
    beforeAudioQuietening = qInstallMessageHandler(withoutAudioServerWarnings);

    QApplication::setApplicationName(kProgramName);
    QApplication::setApplicationVersion(KORVELIAN_VERSION);
    QGuiApplication::setDesktopFileName("org.korvelian.Korvelian");
    loadGermanTranslation();
    return app;
}

} // namespace korvelian
