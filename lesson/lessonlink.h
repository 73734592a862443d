#pragma once

#include "form/linksetting.h"
#include "lessonfile.h"
#include "quiz.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvelian {

// What a link's fragment opens: a setting with the command line's names, which are the lesson
// file's names too: ratio=3:2&phase-y=45&y-up&graticule&speed=0,05&textbook. Each part is a
// line of a lesson file's step without its spaces, read by the same field readers; a name of
// a view alone stands for "ja". The ratio is taken as typed, the boxes refuse it as they
// refuse a typed one. The quiz's names open "Welches Verhältnis?" with its series.
struct QuizLink
{
    QuizRange range;
    // Where the link names none, the page picks one.
    std::optional<std::uint32_t> seed;
};

struct LinkReading
{
    // The controls, as the command line puts them into the window.
    LinkSetting setting;
    // The step the link names, each field not named at its start value.
    LessonSettings step;
    // The names of the lesson file's fields the link gives, as given.
    std::vector<std::string> named;
    // "Wie im Lehrbuch" and "Feine Kurve".
    bool textbook = false;
    bool fine = false;
    std::optional<QuizLink> quiz;
    // Why the fragment is refused (German), empty where it is taken. Nothing of a refused one
    // is kept.
    std::string fault;

    bool names(std::string_view field) const;
};

// The fragment without its '#', percent-encoded or not.
LinkReading readLink(std::string_view fragment);

// One quiz option's value ("seed", "quiz-range", "quiz-tolerance") as the command line and a
// link give it: put into quiz, or why not in German, the option called shownName there.
std::string readQuizValue(std::string_view option, std::string_view value,
                          std::string_view shownName, QuizLink& quiz);

// The quiz's series as a link opens it again from its first figure: "quiz", its seed, and the
// range where it differs from the start.
std::string quizLink(const QuizLink& quiz);

// One setting as a link carries it: every field of the lesson file, "korvelian=1" first.
std::string lessonLink(const LessonSettings& settings);

} // namespace korvelian
