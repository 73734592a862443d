#pragma once

#include <QFunctionPointer>
#include <QString>

namespace korvelian {

// The parts a first picture does not need (the sound output, printing) are libraries of their
// own, loaded when first used: beside the program in the build folder, in the library folder
// next to the installed program's folder. A library once loaded stays for the process's life.
class ModuleLibrary
{
public:
    // A further folder to look in first: the tests and benchmarks are built elsewhere than the
    // program and its libraries.
    static void addFolder(const QString& folder);

    // The function named symbol of the library name ("korvelian-ton"), or nullptr with why in
    // *why. Safe to call from any thread.
    static QFunctionPointer resolve(const QString& name, const char* symbol, QString* why);
};

} // namespace korvelian
