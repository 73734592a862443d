#pragma once

#include "commandline.h"

#include <QString>

#include <span>

namespace korvelian {

// A start option with a value: its name and help, and how its value is read.
struct ValueOption
{
    // Reads one option's value into the settings; gives what is wrong with it, or nothing.
    using Reader = QString (*)(const QString& value, const char* option, ScrollBar bar,
                               CommandLine::Settings& settings);

    const char* name;
    const char* valueName;
    const char* description;
    ScrollBar bar; // the scroll bar it sets; unused by the ratio
    Reader read;
};

// The options with a value, in the order the help lists them.
std::span<const ValueOption> valueOptions();

// A description with the numbers it names filled in.
QString withNumbers(const char* description);

} // namespace korvelian
