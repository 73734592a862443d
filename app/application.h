#pragma once

#include <QApplication>

#include <memory>

namespace korvelian {

// The program's name as the desktop entry and the window's class give it.
inline constexpr char kProgramName[] = "Korvelian-Figuren";

// Qt's own German texts (the menus of text boxes and scroll bars, the command line's help and
// faults) for the running application, whatever the locale: the interface is German by design.
void loadGermanTranslation();

// From here on the toolkit's messages go to the program's own handler: none reaches the
// terminal, since they are English and name the toolkit's workings, and a fatal one ends the
// program with one German line.
void quietenToolkitMessages();

// Where there is no session bus, the toolkit's accessibility bridge would have the bus library
// launch one for the display from a child forked off the running threads: a wait at every
// start, and a start that never ends when that child hangs. No screen reader listens where no
// session bus runs, so the bus library is told there is none. A bus named in the environment
// or at its usual place in the runtime folder is used as before.
void skipSessionBusLaunch();

// The application with the program's names and Qt's German texts, the toolkit's messages
// quietened. Without a display (none set, or a platform that cannot start) it says so in one
// German line and ends the program with status 1, where the toolkit would abort with its own
// advice.
std::unique_ptr<QApplication> startApplication(int& argc, char* argv[]);

} // namespace korvelian
