#include "quizseries.h"

#include "model/barvalues.h"
#include "model/numbertext.h"

#include <cmath>

namespace korvelian {

std::string quizFigureLine(int number, const QuizQuestion& question)
{
    // The bars hold a phase to 0,57°: a figure's is shown to the whole degree it was picked as.
    const auto degrees = [](int bar) { return germanNumber(std::round(phaseDegrees(bar))) + "°"; };
    return "Figur " + std::to_string(number) + ": " + std::to_string(question.numerator) + " : " +
           std::to_string(question.denominator) + ", Amplitude x " +
           germanNumber(barUnits(question.amplitudeX)) + ", Phase x " + degrees(question.phaseX) +
           ", Amplitude y " + germanNumber(barUnits(question.amplitudeY)) + ", Phase y " +
           degrees(question.phaseY);
}

std::string quizSeries(const QuizRange& range, std::uint32_t seed, int count)
{
    Quiz quiz(range, seed);
    std::string lines;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            quiz.next();
        lines += quizFigureLine(quiz.number(), quiz.question()) + "\n";
    }
    return lines;
}

} // namespace korvelian
