#include "lessonfields.h"

#include "form/linksetting.h"
#include "model/barvalues.h"
#include "model/numbertext.h"
#include "typedvalues.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

namespace korvelian {

namespace {

constexpr std::size_t kLongestQuoted = 40;
constexpr int kSpeedDecimals = 20;

using Settings = LessonSettings;
using Field = LessonField;

std::string expects(std::string_view name, const std::string& what, std::string_view value)
{
    return std::string(name) + " erwartet " + what + ", nicht " + quoted(value) + ".";
}

// A decimal with a comma, trailing zeros dropped: 1,5 and 0,75 and 90.
std::string shortDecimal(double value, int decimals)
{
    std::string text = germanNumber(value, 'f', decimals);
    if (text.find(',') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == ',')
            text.pop_back();
    }
    return text;
}

// The ratio, the amplitudes and the phases are read as the command line and the browser's
// link read them: the same forms, the same words. A ratio is taken with spaces around its
// colon, as a teacher writes it, and is checked as the boxes would check it before anything is
// applied.
std::string readRatio(std::string_view name, std::string_view value, Settings& s)
{
    std::string compact;
    for (const char c : value) {
        if (c != ' ')
            compact += c;
    }
    LinkSetting link;
    if (std::string fault = readStartValue("ratio", compact, name, link); !fault.empty())
        return fault;
    // What passed there but is no typed ratio here has a sign: no number of 1 to 32767.
    const TypedRatio ratio = typedRatio(compact, false).value_or(TypedRatio{0, 1});
    if (const std::string refusal = ratioRefusal(ratio); !refusal.empty())
        return std::string(name) + " " + compact + ": " + refusal;
    s.numerator = static_cast<int>(ratio.numerator);
    s.denominator = static_cast<int>(ratio.denominator);
    return {};
}

template <int Settings::*Member>
std::string readBarValue(std::string_view name, std::string_view value, Settings& s)
{
    LinkSetting link;
    if (std::string fault = readStartValue(name, value, name, link); !fault.empty())
        return fault;
    s.*Member = link.values.back().second;
    return {};
}

template <int Settings::*Member> std::string writeAmplitude(const Settings& s)
{
    return shortDecimal(barUnits(s.*Member), 2);
}

// A bar's step is 0,57°, so a tenth of a degree brings its position back exactly, and the
// bar at 157 reads 90 as a teacher would write it.
template <int Settings::*Member> std::string writePhase(const Settings& s)
{
    return shortDecimal(phaseDegrees(s.*Member), 1);
}

std::string readSpeed(std::string_view name, std::string_view value, Settings& s)
{
    const std::optional<double> speed = decimalNumber(value, kSpeedDecimals);
    if (!speed || *speed < kSmallestSpeed || *speed > kLargestSpeed)
        return expects(name, "den Schritt des Strahls je Bild von 0,001 bis 1, etwa 0,1", value);
    s.speed = *speed;
    return {};
}

// The shortest decimal that reads back as the same double, on every system.
std::string writeSpeed(const Settings& s)
{
    const double speed = std::clamp(s.speed, kSmallestSpeed, kLargestSpeed);
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), speed,
                                      std::chars_format::fixed);
    std::string text(buffer.data(), result.ptr);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::optional<bool> yesNo(std::string_view value)
{
    if (value == "ja")
        return true;
    if (value == "nein")
        return false;
    return std::nullopt;
}

std::string yesNoText(bool on)
{
    return on ? "ja" : "nein";
}

std::string readBeam(std::string_view name, std::string_view value, Settings& s)
{
    const std::optional<bool> on = yesNo(value);
    if (!on)
        return expects(name, "ja oder nein", value);
    s.beam = *on;
    return {};
}

template <LessonView View>
std::string readView(std::string_view name, std::string_view value, Settings& s)
{
    const std::optional<bool> on = yesNo(value);
    if (!on)
        return expects(name, "ja oder nein", value);
    s.setView(View, *on);
    return {};
}

template <LessonView View> std::string writeView(const Settings& s)
{
    return yesNoText(s.view(View));
}

std::string driftChoices()
{
    std::string text;
    for (std::size_t i = 0; i < kDriftChoices.size(); ++i) {
        text += (i == 0                          ? ""
                 : i + 1 == kDriftChoices.size() ? " oder "
                                                 : ", ") +
                germanNumber(kDriftChoices[i]);
    }
    return text;
}

std::string readDrift(std::string_view name, std::string_view value, Settings& s)
{
    const std::optional<long> seconds = wholeNumber(value);
    const auto offered = std::find(kDriftChoices.begin(), kDriftChoices.end(),
                                   seconds ? static_cast<double>(*seconds) : -1.0);
    if (offered == kDriftChoices.end())
        return expects(name, "die Sekunden einer Umdrehung, " + driftChoices(), value);
    s.driftSecondsPerTurn = *offered;
    return {};
}

// In the order a file is written.
const Field kFields[] = {
    {"ratio", readRatio,
     [](const Settings& s) {
         return std::to_string(s.numerator) + ":" + std::to_string(s.denominator);
     }},
    {"amplitude-x", readBarValue<&Settings::amplitudeX>, writeAmplitude<&Settings::amplitudeX>},
    {"phase-x", readBarValue<&Settings::phaseX>, writePhase<&Settings::phaseX>},
    {"amplitude-y", readBarValue<&Settings::amplitudeY>, writeAmplitude<&Settings::amplitudeY>},
    {"phase-y", readBarValue<&Settings::phaseY>, writePhase<&Settings::phaseY>},
    {"speed", readSpeed, writeSpeed},
    {"beam", readBeam, [](const Settings& s) { return yesNoText(s.beam); }},
    {"reading-aid", readView<LessonView::ReadingAid>, writeView<LessonView::ReadingAid>},
    {"values", readView<LessonView::Values>, writeView<LessonView::Values>},
    {"graticule", readView<LessonView::Graticule>, writeView<LessonView::Graticule>},
    {"y-up", readView<LessonView::YUp>, writeView<LessonView::YUp>},
    {"time-signals", readView<LessonView::TimeSignals>, writeView<LessonView::TimeSignals>},
    {"afterglow", readView<LessonView::Afterglow>, writeView<LessonView::Afterglow>},
    {"drift", readView<LessonView::Drift>, writeView<LessonView::Drift>},
    {"drift-seconds", readDrift,
     [](const Settings& s) { return germanNumber(s.driftSecondsPerTurn); }},
};

} // namespace

std::string quoted(std::string_view value)
{
    std::string text(value.substr(0, kLongestQuoted));
    if (value.size() > kLongestQuoted)
        text += "…";
    return "„" + text + "“";
}

std::span<const LessonField> lessonFields()
{
    return kFields;
}

const LessonField* lessonField(std::string_view name)
{
    const auto found = std::find_if(std::begin(kFields), std::end(kFields),
                                    [&](const Field& f) { return f.name == name; });
    return found == std::end(kFields) ? nullptr : found;
}

} // namespace korvelian
