#include "presets.h"

#include "form/layout.h"
#include "model/barvalues.h"
#include "model/numbertext.h"
#include "texts.h"

namespace korvelian {

namespace {

constexpr std::array kPhaseDegrees{0, 30, 45, 60, 90, 120, 135, 150, 180, 270};
constexpr std::array kAmplitudes{50, 100, 150, 200};

} // namespace

std::vector<BarPreset> barPresets(const ControlLayout& bar)
{
    std::vector<BarPreset> presets;
    if (!isAmplitudeBar(bar)) {
        for (const int degrees : kPhaseDegrees)
            presets.push_back({std::to_string(degrees) + "°", phaseBarValue(degrees)});
    } else {
        for (const int value : kAmplitudes)
            presets.push_back({germanNumber(barUnits(value), 'f', 1), value});
    }
    return presets;
}

std::string RatioPreset::caption() const
{
    return std::to_string(numerator) + ":" + std::to_string(denominator);
}

void resetControls(WindowOperations& window)
{
    for (const ScrollBar bar :
         {ScrollBar::AmplitudeX, ScrollBar::PhaseX, ScrollBar::AmplitudeY, ScrollBar::PhaseY})
        window.setScrollValue(bar, static_cast<std::int16_t>(control(bar).value));
    for (const TextBox box : {TextBox::Numerator, TextBox::Denominator})
        window.setText(box, control(box).caption);
}

} // namespace korvelian
