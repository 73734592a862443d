#pragma once

#include <QApplication>

#include <memory>

namespace korvelian {

// The program's name as the desktop entry and the window's class give it.
inline constexpr char kProgramName[] = "Korvelian-Figuren";

// Qt's own German texts (the menus of text boxes and scroll bars, the command line's help and
// faults) for the running application, whatever the locale: the interface is German by design.
void loadGermanTranslation();

// The application with the program's names and Qt's German texts. Without a display (none
// set, or a platform that cannot start) it says so in one German line and ends the program
// with status 1, where the toolkit would abort with its own advice.
std::unique_ptr<QApplication> startApplication(int& argc, char* argv[]);

// A picture written from a script or a service has no desktop session; the toolkit's
// complaints about the session's runtime folder, which drawing a picture never uses, would
// stand beside the program's one line. They are left out from here on.
void quietenSessionWarnings();

} // namespace korvelian
