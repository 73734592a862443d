#include "lessonstep.h"

#include "handlers/ratioinuse.h"
#include "handlers/windowoperations.h"

#include <cmath>

namespace korvelian {

void applyControls(const LessonSettings& step, WindowOperations& window)
{
    window.setScrollValue(ScrollBar::AmplitudeX, static_cast<std::int16_t>(step.amplitudeX));
    window.setScrollValue(ScrollBar::PhaseX, static_cast<std::int16_t>(step.phaseX));
    window.setScrollValue(ScrollBar::AmplitudeY, static_cast<std::int16_t>(step.amplitudeY));
    window.setScrollValue(ScrollBar::PhaseY, static_cast<std::int16_t>(step.phaseY));
    window.setText(TextBox::Numerator, std::to_string(step.numerator));
    window.setText(TextBox::Denominator, std::to_string(step.denominator));
}

void applyQuestion(const QuizQuestion& question, WindowOperations& window)
{
    LessonSettings step;
    step.numerator = question.numerator;
    step.denominator = question.denominator;
    step.amplitudeX = question.amplitudeX;
    step.phaseX = question.phaseX;
    step.amplitudeY = question.amplitudeY;
    step.phaseY = question.phaseY;
    applyControls(step, window);
}

LessonSettings readControls(WindowOperations& window, const RatioInUse& ratio)
{
    LessonSettings step;
    step.amplitudeX = window.scrollValue(ScrollBar::AmplitudeX);
    step.phaseX = window.scrollValue(ScrollBar::PhaseX);
    step.amplitudeY = window.scrollValue(ScrollBar::AmplitudeY);
    step.phaseY = window.scrollValue(ScrollBar::PhaseY);
    // The numerator in use is the box's number rounded as the closing count takes it.
    step.numerator = static_cast<int>(std::nearbyint(ratio.numerator));
    step.denominator = static_cast<int>(ratio.denominator);
    return step;
}

} // namespace korvelian
