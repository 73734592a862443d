// "Welches Verhältnis?" for the page: the desktop's quiz (the same picks, judging and German
// explanations) asking on the page's screen; the page only shows its panel.
#include "core.h"
#include "form/form1.h"
#include "lesson/classroomwords.h"
#include "lesson/lessonlink.h"
#include "lesson/lessonstep.h"
#include "lesson/quiz.h"
#include "lesson/quizseries.h"

#include <memory>
#include <string_view>

using namespace korvelian;

namespace {

std::unique_ptr<Quiz> quiz;
// The series as it was started, which the quiz itself does not keep.
QuizLink series;

const char* quizState(const Judgement* judgement)
{
    Core& c = core();
    c.json.clear();
    c.json.begin('{');
    if (quiz) {
        const QuizQuestion& q = quiz->question();
        c.json.field("number", quiz->number());
        c.json.field("question", classroom::quizQuestionText(quiz->number(), q.asksPhase));
        c.json.field("asksPhase", q.asksPhase).field("judged", quiz->judged());
        c.json.field("score", quiz->scoreText());
        // For the teacher's check against the series the desktop prints.
        c.json.field("line", quizFigureLine(quiz->number(), q));
        if (judgement) {
            c.json.field("verdict", static_cast<int>(judgement->verdict));
            c.json.field("explanation", judgement->explanation);
        }
    }
    c.json.end('}');
    return written(c.json);
}

// The figure asked now on the screen, as the desktop's quiz puts it there: the drift off, so
// that the figure holds still under the class's eyes.
void ask()
{
    Core& c = core();
    if (c.window.ended())
        return;
    c.window.form().drift().setTicked(false);
    applyQuestion(quiz->question(), c.window);
}

} // namespace

const QuizLink* korvelian::askedQuiz()
{
    return quiz ? &series : nullptr;
}

// The words of the quiz's panel.
KORV_EXPORT(quizWords) const char* korvQuizWords()
{
    Core& c = core();
    c.json.clear();
    c.json.begin('{').field("title", classroom::kQuiz).field("ratio", classroom::kRatioLabel);
    c.json.field("ratioPlaceholder", classroom::kRatioPlaceholder);
    c.json.field("phase", classroom::kPhaseLabel)
        .field("phasePlaceholder", classroom::kPhasePlaceholder);
    c.json.field("check", classroom::kCheck).field("next", classroom::kNext);
    c.json.field("rangeTitle", classroom::kRangeTitle).field("largest", classroom::kLargestLabel);
    c.json.key("largestChoices").begin('[');
    for (std::size_t i = 0; i < classroom::kLargestChoices.size(); ++i) {
        c.json.begin('[').number(kQuizLargestChoices[i]).string(classroom::kLargestChoices[i]);
        c.json.end(']');
    }
    c.json.end(']');
    c.json.field("phases", classroom::kPhasesChoice);
    c.json.field("amplitudes", classroom::kAmplitudesChoice);
    c.json.field("tolerance", classroom::kToleranceLabel).field("seed", classroom::kSeedLabel);
    c.json.field("toleranceStart", QuizRange{}.toleranceDegrees);
    c.json.field("newSeries", classroom::kNewSeries).end('}');
    return written(c.json);
}

// "Neue Reihe": the range chosen and the tolerance and series number as typed, read as the
// command line reads them: {range, seed}, or {fault} in German.
KORV_EXPORT(quizRange)
const char* korvQuizRange(const char* largest, int largestLength, const char* tolerance,
                          int toleranceLength, const char* seed, int seedLength)
{
    const auto text = [](const char* t, int n) {
        return std::string_view(t, static_cast<std::size_t>(n));
    };
    QuizLink chosen;
    std::string fault =
        readQuizValue("quiz-range", text(largest, largestLength), "Verhältnisse", chosen);
    if (fault.empty()) {
        fault =
            readQuizValue("quiz-tolerance", text(tolerance, toleranceLength), "Toleranz", chosen);
    }
    if (fault.empty())
        fault = readQuizValue("seed", text(seed, seedLength), "Reihe Nr.", chosen);
    Core& c = core();
    c.json.clear();
    c.json.begin('{').field("fault", fault);
    if (fault.empty()) {
        c.json.field("largest", chosen.range.largest);
        c.json.field("tolerance", chosen.range.toleranceDegrees);
        c.json.field("seed", static_cast<double>(*chosen.seed));
    }
    c.json.end('}');
    return written(c.json);
}

// A new series from seed in the range; gives nothing, korv_quizState tells what is asked.
// A range the quiz does not offer starts none.
KORV_EXPORT(quizStart)
void korvQuizStart(int largest, int phases, int amplitudes, int tolerance, double seed)
{
    const QuizRange range{largest, phases != 0, amplitudes != 0, tolerance};
    if (!checkQuizRange(range).empty() || !(seed >= 0 && seed <= 4294967295.0))
        return;
    quiz = std::make_unique<Quiz>(range, static_cast<std::uint32_t>(seed));
    series = {range, static_cast<std::uint32_t>(seed)};
    ask();
}

KORV_EXPORT(quizNext) void korvQuizNext()
{
    if (!quiz)
        return;
    quiz->next();
    ask();
}

KORV_EXPORT(quizEnd) void korvQuizEnd()
{
    quiz.reset();
}

// {number, question, asksPhase, judged, score, line}; empty without a quiz.
KORV_EXPORT(quizState) const char* korvQuizState()
{
    return quizState(nullptr);
}

// The typed answer judged: the state with {verdict, explanation}.
KORV_EXPORT(quizJudge)
const char* korvQuizJudge(const char* ratio, int ratioLength, const char* phase, int phaseLength)
{
    if (!quiz)
        return quizState(nullptr);
    const Judgement judgement = quiz->judge(
        std::string_view(ratio, static_cast<std::size_t>(ratioLength)),
        std::string_view(phase, static_cast<std::size_t>(phaseLength)), core().window.screen().yUp);
    return quizState(&judgement);
}
