#include "lessonlink.h"

#include "lessonfields.h"
#include "typedvalues.h"

#include <algorithm>
#include <array>

namespace korvelian {

namespace {

// %XX as the byte it stands for; nullopt where a % is not followed by two hex digits.
std::optional<std::string> decoded(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const auto hex = [](char c) {
            return c >= '0' && c <= '9'   ? c - '0'
                   : c >= 'a' && c <= 'f' ? c - 'a' + 10
                   : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                          : -1;
        };
        if (i + 2 >= text.size() || hex(text[i + 1]) < 0 || hex(text[i + 2]) < 0)
            return std::nullopt;
        out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
        i += 2;
    }
    return out;
}

// The five values the boxes and bars take: given to the window as typed, as the command line
// gives them.
bool control(std::string_view name)
{
    return name == "ratio" || name.starts_with("amplitude-") || name.starts_with("phase-");
}

// What a link names beyond a lesson file's step: the options of the figure and the quiz.
constexpr std::array<std::string_view, 5> kFlags{"textbook", "fine", "quiz", "quiz-phases",
                                                 "quiz-amplitudes"};
constexpr std::array<std::string_view, 3> kQuizValues{"seed", "quiz-range", "quiz-tolerance"};

QuizLink& quizOf(LinkReading& reading)
{
    if (!reading.quiz)
        reading.quiz.emplace();
    return *reading.quiz;
}

std::string readFlag(std::string_view name, bool valued, LinkReading& reading)
{
    if (valued)
        return std::string(name) + " steht ohne Wert.";
    if (name == "textbook")
        reading.textbook = true;
    else if (name == "fine")
        reading.fine = true;
    else if (name == "quiz-phases")
        quizOf(reading).range.phases = true;
    else if (name == "quiz-amplitudes")
        quizOf(reading).range.amplitudes = true;
    else
        quizOf(reading);
    return {};
}

std::string readVersion(std::string_view value)
{
    const std::optional<long> version = wholeNumber(value);
    if (version && *version > kLessonVersion)
        return newerVersion(*version);
    if (version == kLessonVersion)
        return {};
    return "korvelian erwartet die Version " + std::to_string(kLessonVersion) + ", nicht " +
           quotedArgument(value) + ".";
}

// name or name=value into reading.
std::string readPart(std::string_view name, std::optional<std::string_view> value,
                     LinkReading& reading)
{
    if (std::ranges::find(kFlags, name) != kFlags.end())
        return readFlag(name, value.has_value(), reading);
    if (std::ranges::find(kQuizValues, name) != kQuizValues.end())
        return readQuizValue(name, value.value_or(""), name, quizOf(reading));
    if (name == "korvelian")
        return readVersion(value.value_or(""));
    const LessonField* field = lessonField(name);
    if (!field)
        return "Unbekannte Angabe " + quotedArgument(name) + ".";
    reading.named.emplace_back(name);
    if (control(name))
        return readStartValue(name, value.value_or(""), name, reading.setting);
    // A view named alone is on; a value that is no view's is refused with what it expects.
    if (!value && field->read(name, "ja", reading.step).empty())
        return {};
    return field->read(name, value.value_or(""), reading.step);
}

// The controls read as typed into the step too, where they make a figure.
void controlsIntoStep(LinkReading& reading)
{
    LessonSettings& step = reading.step;
    for (const auto& [bar, value] : reading.setting.values) {
        int* const members[] = {&step.amplitudeX, &step.phaseX, &step.amplitudeY, &step.phaseY};
        *members[static_cast<std::size_t>(bar)] = value;
    }
    if (const auto& ratio = reading.setting.ratio) {
        const std::optional<TypedRatio> typed =
            typedRatio(ratio->first + ":" + ratio->second, false);
        if (typed && ratioRefusal(*typed).empty()) {
            step.numerator = static_cast<int>(typed->numerator);
            step.denominator = static_cast<int>(typed->denominator);
        }
    }
    reading.setting.yUp = step.view(LessonView::YUp);
}

} // namespace

bool LinkReading::names(std::string_view field) const
{
    return std::ranges::find(named, field) != named.end();
}

LinkReading readLink(std::string_view fragment)
{
    LinkReading reading;
    if (fragment.size() > kLongestLink) {
        reading.fault = "Der Link ist zu lang: höchstens " + std::to_string(kLongestLink) +
                        " Zeichen nach dem #.";
        return reading;
    }
    const std::optional<std::string> text = decoded(fragment);
    if (!text) {
        reading.fault = "Der Link ist nicht lesbar: ein % ohne zwei Ziffern danach.";
        return reading;
    }
    std::vector<std::string_view> seen;
    std::string_view rest = *text;
    while (!rest.empty()) {
        const std::size_t amp = rest.find('&');
        const std::string_view part = rest.substr(0, amp);
        rest = amp == std::string_view::npos ? std::string_view() : rest.substr(amp + 1);
        if (part.empty())
            continue;
        const std::size_t equals = part.find('=');
        const std::string_view name = part.substr(0, equals);
        std::string fault;
        if (std::ranges::find(seen, name) != seen.end())
            fault = std::string(name) + " darf nur einmal angegeben werden.";
        else if (equals == std::string_view::npos)
            fault = readPart(name, std::nullopt, reading);
        else
            fault = readPart(name, part.substr(equals + 1), reading);
        if (!fault.empty()) {
            LinkReading refused;
            refused.fault = std::move(fault);
            return refused;
        }
        seen.push_back(name);
    }
    controlsIntoStep(reading);
    return reading;
}

std::string readQuizValue(std::string_view option, std::string_view value,
                          std::string_view shownName, QuizLink& quiz)
{
    if (option == "seed") {
        // Ten digits are more than wholeNumber takes: read here, up to 2^32 - 1.
        unsigned long long seed = 0;
        bool digitsOnly = !value.empty() && value.size() <= 10;
        for (const char c : value) {
            digitsOnly = digitsOnly && c >= '0' && c <= '9';
            seed = seed * 10 + static_cast<unsigned>(c - '0');
        }
        if (!digitsOnly || seed > 0xffffffffULL) {
            return std::string(shownName) +
                   " erwartet eine ganze Zahl von 0 bis 4294967295, nicht " +
                   quotedArgument(value) + ".";
        }
        quiz.seed = static_cast<std::uint32_t>(seed);
        return {};
    }
    if (option == "quiz-range") {
        if (value != "4" && value != "6") {
            return std::string(shownName) +
                   " erwartet 4 oder 6 (Verhältnisse bis 4 : 4 oder 6 : 6), nicht " +
                   quotedArgument(value) + ".";
        }
        quiz.range.largest = value == "4" ? 4 : 6;
        return {};
    }
    const long degrees = value.size() <= 2 ? wholeNumber(value).value_or(0) : 0;
    if (degrees < kQuizToleranceMin || degrees > kQuizToleranceMax) {
        return std::string(shownName) + " erwartet Grad von " + std::to_string(kQuizToleranceMin) +
               " bis " + std::to_string(kQuizToleranceMax) + ", nicht " + quotedArgument(value) +
               ".";
    }
    quiz.range.toleranceDegrees = static_cast<int>(degrees);
    return {};
}

std::string quizLink(const QuizLink& quiz)
{
    const QuizRange start;
    std::string link("quiz");
    if (quiz.seed) {
        link += "&seed=";
        link += std::to_string(*quiz.seed);
    }
    if (quiz.range.largest != start.largest) {
        link += "&quiz-range=";
        link += std::to_string(quiz.range.largest);
    }
    if (quiz.range.phases)
        link += "&quiz-phases";
    if (quiz.range.amplitudes)
        link += "&quiz-amplitudes";
    if (quiz.range.toleranceDegrees != start.toleranceDegrees) {
        link += "&quiz-tolerance=";
        link += std::to_string(quiz.range.toleranceDegrees);
    }
    return link;
}

std::string lessonLink(const LessonSettings& settings)
{
    // Appended piece by piece: a sum of strings here trips GCC 12's -Wrestrict.
    std::string link("korvelian=");
    link += std::to_string(kLessonVersion);
    for (const LessonField& f : lessonFields()) {
        link += '&';
        link += f.name;
        link += '=';
        link += f.write(settings);
    }
    return link;
}

} // namespace korvelian
