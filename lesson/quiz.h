#pragma once

#include "model/deflection.h"
#include "model/seededpick.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace korvelian {

// "Welches Verhältnis?": the program picks a figure from the range the teacher chose, the
// class reads the frequency ratio off it (at 1 : 1 also the phase difference) and types it;
// the answer is judged with what the reading aid counts, and a score runs along. A seed gives
// the same series of figures on every machine, so two classes can get the same one.
struct QuizRange
{
    // Numerators and denominators from 1 up to this: 4 or 6.
    int largest = 4;
    // The y phase anywhere from 0° to 180° (in steps of 15°), else 0°.
    bool phases = false;
    // Both amplitudes anywhere from 0,5 to 2 (in steps of 0,25), else 1.
    bool amplitudes = false;
    // How far a phase answered at 1 : 1 may lie from the one the figure shows.
    int toleranceDegrees = 10;
};

inline constexpr int kQuizLargestChoices[] = {4, 6};
inline constexpr int kQuizToleranceMin = 1;
inline constexpr int kQuizToleranceMax = 45;

// What is wrong with a range, in one German line; empty when nothing is.
std::string checkQuizRange(const QuizRange& range);

struct QuizQuestion
{
    // In lowest terms: 2 : 4 is the figure of 1 : 2.
    int numerator = 1;
    int denominator = 1;
    // The scroll bars' positions, as the window sets them.
    int amplitudeX = 100;
    int phaseX = 0;
    int amplitudeY = 100;
    int phaseY = 0;
    // At 1 : 1 with phases in the range the phase difference is asked as well.
    bool asksPhase = false;

    Parameter parameter() const;
    bool operator==(const QuizQuestion&) const = default;
};

enum class Verdict {
    Right,
    // The right ratio, not in lowest terms (2 : 4 for 1 : 2): counted as right.
    Unreduced,
    Wrong,
    // Not an answer (mistyped, out of range, no phase where one is asked, asked twice): not
    // counted, the class may answer again.
    Refused,
};

struct Judgement
{
    Verdict verdict = Verdict::Refused;
    // Why, in German, as rich text with the reading aid's symbols (see figurereading.h).
    std::string explanation;
};

class Quiz
{
public:
    // The range must pass checkQuizRange.
    Quiz(const QuizRange& range, std::uint32_t seed);

    const QuizRange& range() const { return m_range; }
    // The figure asked now; the first is picked at once.
    const QuizQuestion& question() const { return m_question; }
    // 1 for the first figure.
    int number() const { return m_number; }
    // Picks the next figure: never the ratio just asked.
    const QuizQuestion& next();

    // Judges a typed ratio ("3 : 2", "3:2", "3/2") and, where one is asked, phase (degrees,
    // "45", "45,5°"). Each figure is judged once; yUp is the screen's orientation, which the
    // explanation of a tilt follows.
    Judgement judge(std::string_view ratio, std::string_view phase, bool yUp = false);
    // Whether the figure asked now has been judged.
    bool judged() const { return m_judged; }

    int answered() const { return m_answered; }
    int right() const { return m_right; }
    // "3 von 5 richtig"
    std::string scoreText() const;

private:
    QuizQuestion pick();
    Judgement judgeRatio(int numerator, int denominator, std::string_view phase, bool yUp);
    Judgement count(Judgement judgement);

    QuizRange m_range;
    SeededPick m_pick;
    QuizQuestion m_question;
    int m_number = 1;
    bool m_judged = false;
    int m_answered = 0;
    int m_right = 0;
};

} // namespace korvelian
