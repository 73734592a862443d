// The real window plays "Ton" through the system's audio output while check_audio.py records
// it: 3 : 2 at 220 Hz, then a bar, a phase and a ratio change, unticking, ticking again and
// closing the window. Every step is printed with the monotonic clock's time, so that the
// recording can be lined up with it.
// With --server-returns it ticks "Ton", and says when the entry goes because the audio server
// went, and when it comes back by itself or asks for the program to be started again. With
// --server-late it says when the entry has given up for want of a server, and plays 3 : 2 for
// a second once the entry comes back by itself.

#include "app/application.h"
#include "app/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

using namespace korvelian;

namespace {

void say(const char* step)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%s %.6f\n", step, static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9);
    std::fflush(stdout);
}

QAction* soundEntry(QWidget& screen)
{
    for (QAction* action : screen.actions()) {
        if (action->text() == QLatin1String("Ton"))
            return action;
    }
    return nullptr;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program starts, with the filter of what Qt says about the audio server.
    const std::unique_ptr<QApplication> application = startApplication(argc, argv);
    QApplication& app = *application;
    // The end the program has: the process goes at once, the audio stream with it.
    MainWindow window([] {
        say("ended");
        std::_Exit(0);
    });
    auto* screen = window.findChild<QWidget*>("picBildschirm");
    QAction* sound = soundEntry(*screen);
    if (!sound) {
        std::fputs("no entry \"Ton\"\n", stderr);
        return 1;
    }
    window.show();

    if (argc > 1 && QByteArrayView(argv[1]) == "--server-returns") {
        enum class Stage { Waiting, Playing, Lost } stage = Stage::Waiting;
        QObject::connect(sound, &QAction::changed, &app, [&] {
            if (stage == Stage::Waiting && sound->isEnabled()) {
                stage = Stage::Playing;
                sound->setChecked(true);
                say("on");
            } else if (stage == Stage::Playing && !sound->isEnabled()) {
                stage = Stage::Lost;
                say("lost");
            } else if (stage == Stage::Lost && sound->isEnabled()) {
                say("back");
                std::_Exit(0);
            } else if (stage == Stage::Lost &&
                       sound->toolTip().contains(QLatin1String("Programm neu starten"))) {
                say("restart");
                std::_Exit(0);
            }
        });
        QTimer::singleShot(20000, &app, [] {
            std::fputs("Ton did not come back\n", stderr);
            std::_Exit(1);
        });
        return QApplication::exec();
    }

    const auto set = [&window](const char* name, int value) {
        window.findChild<QScrollBar*>(name)->setValue(value);
    };
    const auto type = [&window](const char* name, const char* text) {
        window.findChild<QLineEdit*>(name)->setText(QString::fromLatin1(text));
    };

    if (argc > 1 && QByteArrayView(argv[1]) == "--server-late") {
        bool missing = false;
        QObject::connect(sound, &QAction::changed, &app, [&] {
            if (!missing && !sound->isEnabled() &&
                sound->toolTip().startsWith(QLatin1String("Kein Ton"))) {
                missing = true;
                say("missing");
            } else if (missing && sound->isEnabled() && !sound->isChecked()) {
                type("txtZaehler", "3");
                type("txtNenner", "2");
                sound->setChecked(true);
                say("on");
                QTimer::singleShot(1000, &app, [] {
                    say("close");
                    std::_Exit(0);
                });
            }
        });
        QTimer::singleShot(30000, &app, [] {
            std::fputs("Ton did not come\n", stderr);
            std::_Exit(1);
        });
        return QApplication::exec();
    }
    // Seconds after the first tick; a second of tone before the first change.
    const std::vector<std::pair<int, std::function<void()>>> steps{
        {1500,
         [&] {
             set("hscAmp2", 200);
             say("amplitude");
         }},
        {2000,
         [&] {
             set("hscPhase", 157);
             say("phase");
         }},
        {2500,
         [&] {
             type("txtNenner", "1");
             say("ratio");
         }},
        {3000,
         [&] {
             sound->setChecked(false);
             say("off");
         }},
        {3500,
         [&] {
             sound->setChecked(true);
             say("on");
         }},
        {4500,
         [&] {
             say("close");
             window.close();
         }},
    };

    bool started = false;
    QObject::connect(sound, &QAction::changed, &app, [&] {
        if (started || !sound->isEnabled())
            return;
        started = true;
        type("txtZaehler", "3");
        type("txtNenner", "2");
        sound->setChecked(true);
        say("on");
        for (const auto& [at, step] : steps)
            QTimer::singleShot(at, Qt::PreciseTimer, &app, step);
    });
    // No audio output after ten seconds: nothing to record.
    QTimer::singleShot(10000, &app, [] {
        std::fputs("Ton stayed unavailable\n", stderr);
        std::_Exit(1);
    });
    return QApplication::exec();
}
