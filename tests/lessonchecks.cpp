#include "lessonchecks.h"

#include "lesson/quiz.h"

#include <array>
#include <vector>

namespace korvelian {

namespace {

struct Series
{
    QuizRange range;
    // numerator, denominator, then the bars: amplitude x, phase x, amplitude y, phase y
    std::vector<std::array<int, 6>> questions;
};

} // namespace

std::string checkQuizSeries()
{
    const Series series[] = {
        {{4, false, false, 10},
         {{1, 4, 100, 0, 100, 0},
          {1, 2, 100, 0, 100, 0},
          {4, 1, 100, 0, 100, 0},
          {1, 3, 100, 0, 100, 0},
          {4, 3, 100, 0, 100, 0},
          {1, 1, 100, 0, 100, 0},
          {3, 1, 100, 0, 100, 0},
          {2, 1, 100, 0, 100, 0}}},
        {{6, true, true, 10},
         {{3, 2, 200, 0, 75, 314},
          {1, 2, 200, 0, 75, 131},
          {1, 6, 125, 0, 200, 236},
          {2, 3, 100, 0, 75, 79},
          {1, 4, 100, 0, 75, 288},
          {1, 1, 125, 0, 125, 79},
          {2, 1, 50, 0, 125, 79},
          {1, 4, 75, 0, 175, 209}}},
    };
    for (const Series& s : series) {
        Quiz quiz(s.range, 7);
        for (std::size_t i = 0; i < s.questions.size(); ++i) {
            const QuizQuestion& q = i == 0 ? quiz.question() : quiz.next();
            const std::array<int, 6> got{q.numerator, q.denominator, q.amplitudeX,
                                         q.phaseX,    q.amplitudeY,  q.phaseY};
            if (got != s.questions[i]) {
                return "seed 7, ratios up to " + std::to_string(s.range.largest) + ": question " +
                       std::to_string(i + 1) + " is " + std::to_string(got[0]) + " : " +
                       std::to_string(got[1]) + " at phase bar " + std::to_string(got[5]);
            }
        }
    }
    return {};
}

} // namespace korvelian
