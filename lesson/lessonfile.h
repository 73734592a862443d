#pragma once

#include "form/layout.h"
#include "model/constants.h"
#include "model/driftstep.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvelian {

// A lesson prepared at home: one setting of the window, or a sequence of them ("Stunde") to
// step through in class. Saved as a small text file (.korvelian) that a teacher can read and
// edit, and as the fragment of the browser edition's link, which holds one setting:
//
//   Korvelian-Einstellungen 1          the version line, always the first
//   # a comment                        anywhere; blank lines too
//   [Einstieg: die Gerade]             a step and its title (optional for one setting)
//   ratio = 1:1                        numerator:denominator, whole numbers
//   amplitude-x = 1                    0 to 2, at most two decimals, comma or point
//   phase-x = 0                        degrees, 0 to 360
//   amplitude-y = 1
//   phase-y = 45
//   speed = 0,1                        the beam's step per frame, 0,001 to 1
//   beam = nein                        ja: the beam runs
//   reading-aid = nein                 ja or nein: the views of the screen's menu
//   values = nein
//   graticule = nein
//   y-up = nein
//   time-signals = nein
//   afterglow = nein
//   drift = nein
//   drift-seconds = 20                 one turn of the drifting phase: 80, 40, 20, 10 or 5 s
//   Ende                               the last line: a file without it is cut off
//
// The names are the command line's. Each step starts from the one before, the first from the
// window's start values with every view off, so a step names only what it changes; a file the
// program writes names everything. A file is read completely and checked before anything of it
// is applied; every refusal names the line. The link's fragment is a step on one line (see
// lessonlink.h), read by the same field readers.
enum class LessonView { ReadingAid, Values, Graticule, YUp, TimeSignals, Afterglow, Drift };
inline constexpr std::array kLessonViews{
    LessonView::ReadingAid,  LessonView::Values,    LessonView::Graticule, LessonView::YUp,
    LessonView::TimeSignals, LessonView::Afterglow, LessonView::Drift};

inline constexpr double kSmallestSpeed = 0.001;
// Beyond a step of 1 per frame the beam jumps: its afterglow and its path in the prediction
// take such a step for a redraw.
inline constexpr double kLargestSpeed = 1;
// A lesson file larger than this is no lesson: it is refused before it is read.
inline constexpr std::size_t kLargestLessonFile = 256 * 1024;
inline constexpr std::size_t kMostLessonSteps = 200;

inline constexpr int kLessonVersion = 1;

struct LessonSettings
{
    std::string title;
    int numerator = 1;
    int denominator = 1;
    // The scroll bars' positions.
    int amplitudeX = control(ScrollBar::AmplitudeX).value;
    int phaseX = control(ScrollBar::PhaseX).value;
    int amplitudeY = control(ScrollBar::AmplitudeY).value;
    int phaseY = control(ScrollBar::PhaseY).value;
    double speed = kStartStep;
    bool beam = false;
    std::array<bool, kLessonViews.size()> views{};
    double driftSecondsPerTurn = kDriftSecondsPerTurn;

    bool view(LessonView v) const { return views[static_cast<std::size_t>(v)]; }
    void setView(LessonView v, bool on) { views[static_cast<std::size_t>(v)] = on; }
    bool operator==(const LessonSettings&) const = default;
};

struct Lesson
{
    std::vector<LessonSettings> steps;
};

// A lesson, or nothing and why not.
struct LessonReading
{
    std::optional<Lesson> lesson;
    std::string refusal; // one German sentence or two, naming the line
};

LessonReading readLesson(std::string_view text);
// The whole lesson, every value of every step written out; a speed outside its range is
// written at the nearer end.
std::string writeLesson(const Lesson& lesson);

// Why settings of a version after this program's are not read.
std::string newerVersion(long version);

} // namespace korvelian
