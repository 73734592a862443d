#pragma once

#include "lessonfile.h"
#include "quiz.h"

namespace korvelian {

class WindowOperations;
struct RatioInUse;

// Sets the six parameter controls to a step's through their Change handlers, as a user's
// entry goes: the bars first, then numerator and denominator as typed. The views, the speed
// and the beam are the window's to set.
void applyControls(const LessonSettings& step, WindowOperations& window);

// The six parameter controls as they stand, the ratio in use (the last one accepted where the
// boxes hold a refused entry); views, speed and beam are left at their defaults for the
// window to fill in.
LessonSettings readControls(WindowOperations& window, const RatioInUse& ratio);

// The quiz's figure on the controls, the same way.
void applyQuestion(const QuizQuestion& question, WindowOperations& window);

} // namespace korvelian
