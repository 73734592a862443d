#pragma once

#include "quiz.h"

#include <cstdint>
#include <string>

namespace korvelian {

// A quiz's figure as one line for the teacher who prepares a series at home, with what the
// class should answer: "Figur 2: 3 : 2, Amplitude x 1, Phase x 0°, Amplitude y 1, Phase y 45°".
std::string quizFigureLine(int number, const QuizQuestion& question);

// The first count figures of the series that seed gives in range, a line each.
std::string quizSeries(const QuizRange& range, std::uint32_t seed, int count);

} // namespace korvelian
