#pragma once

#include "commandline.h"

#include <functional>

namespace korvelian {

class HeadlessWindow;
class WindowOperations;

// The screen's picture written to the file --export names, or the overview plate to the file
// --export-table names, instead of opening the window: the start options are set through
// their Change handlers on the window operations without a window (HeadlessWindow), whose
// recorded screen is then written.
class HeadlessExport
{
public:
    explicit HeadlessExport(const CommandLine::Settings& settings) : m_settings(settings) {}

    // Gives the status to end with and, on failure, one German line.
    CommandLine::Answer run() const;

private:
    // The start options through the handlers, as CommandLine::applyTo sets them on the window;
    // a lesson file's first step before them.
    void applyTo(WindowOperations& window) const;
    const LessonSettings* lessonStep() const;
    // A view asked for on the command line or by the lesson's first step.
    bool view(bool option, LessonView view) const;
    CommandLine::Answer picture(HeadlessWindow& window) const;
    CommandLine::Answer table(HeadlessWindow& window) const;
    // The narrowest width from width on at which every text of the picture has a size, drawn
    // by draw at a width.
    static int smallestDrawable(int width, int usual, const std::function<void(int)>& draw);
    static CommandLine::Answer tooNarrow(int width, int least);

    const CommandLine::Settings& m_settings;
};

} // namespace korvelian
