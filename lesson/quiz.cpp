#include "quiz.h"

#include "model/barvalues.h"
#include "model/figurereading.h"
#include "typedvalues.h"

#include <cmath>
#include <numeric>
#include <vector>

namespace korvelian {

namespace {

constexpr int kPhaseStepDegrees = 15;
constexpr int kLargestPhaseDegrees = 180;
constexpr int kSmallestAmplitude = 50;
constexpr int kAmplitudeStep = 25;
constexpr int kLargestAmplitude = 200;
constexpr int kUnitAmplitude = 100;

constexpr const char* kRatioForm = "Bitte das Verhältnis als Zähler : Nenner eingeben, etwa 3 : 2.";
constexpr const char* kPhaseForm = "Die Phase bitte in Grad von 0 bis 180 eingeben, etwa 45.";
constexpr const char* kPhaseMissing =
    "Bei 1 : 1 gehört die Phase dazu: bitte auch sie in Grad eingeben.";
constexpr const char* kJudgedAlready =
    "Diese Figur ist schon beurteilt: weiter mit „Nächste Figur“.";
constexpr const char* kFrequencies = "<i>f</i><sub>y</sub> : <i>f</i><sub>x</sub>";

struct Ratio
{
    int numerator;
    int denominator;
};

// The ratios in lowest terms up to largest : largest, row by row.
std::vector<Ratio> ratios(int largest)
{
    std::vector<Ratio> found;
    for (int z = 1; z <= largest; ++z) {
        for (int n = 1; n <= largest; ++n) {
            if (std::gcd(z, n) == 1)
                found.push_back({z, n});
        }
    }
    return found;
}

std::string ratioText(long z, long n)
{
    return std::to_string(z) + " : " + std::to_string(n);
}

std::string withNote(std::string text, const std::string& note)
{
    return note.empty() ? text : text + " " + note;
}

// The phase as the legend writes it, with a decimal comma: 45 or 45,5.
std::string degreesText(double degrees)
{
    const long tenths = std::lround(degrees * 10);
    std::string text = std::to_string(tenths / 10);
    // Appended piece by piece: a sum of strings here trips GCC 12's -Wrestrict.
    if (tenths % 10 != 0) {
        text += ',';
        text += std::to_string(tenths % 10);
    }
    text += "°";
    return text;
}

// The phase typed: digits, a comma or point and one or two decimals, a degree sign.
std::optional<double> typedPhase(std::string_view text)
{
    text = trimmed(text);
    constexpr std::string_view kDegree = "°";
    if (text.size() >= kDegree.size() && text.substr(text.size() - kDegree.size()) == kDegree)
        text = trimmed(text.substr(0, text.size() - kDegree.size()));
    const std::optional<double> degrees = decimalNumber(text, 2);
    if (!degrees || *degrees > kLargestPhaseDegrees)
        return std::nullopt;
    return degrees;
}

} // namespace

std::string checkQuizRange(const QuizRange& range)
{
    if (range.largest != kQuizLargestChoices[0] && range.largest != kQuizLargestChoices[1])
        return "Die Verhältnisse reichen bis 4 : 4 oder bis 6 : 6.";
    if (range.toleranceDegrees < kQuizToleranceMin || range.toleranceDegrees > kQuizToleranceMax)
        return "Die Toleranz der Phase liegt zwischen 1° und 45°.";
    return {};
}

Parameter QuizQuestion::parameter() const
{
    return {barUnits(amplitudeX), barUnits(phaseX),  barUnits(amplitudeY),
            barUnits(phaseY),     double(numerator), double(denominator)};
}

Quiz::Quiz(const QuizRange& range, std::uint32_t seed) : m_range(range), m_pick(seed)
{
    m_question = pick();
}

// The order of the choices is part of the series a seed gives: ratio, y phase, x amplitude,
// y amplitude, each only where the range varies it.
QuizQuestion Quiz::pick()
{
    const std::vector<Ratio> choices = ratios(m_range.largest);
    QuizQuestion question;
    for (;;) {
        const Ratio r = choices[m_pick.below(static_cast<std::uint32_t>(choices.size()))];
        question.numerator = r.numerator;
        question.denominator = r.denominator;
        // The same ratio twice running reads as no new question.
        if (m_number == 1 || r.numerator != m_question.numerator ||
            r.denominator != m_question.denominator)
            break;
    }
    if (m_range.phases) {
        const int steps = kLargestPhaseDegrees / kPhaseStepDegrees + 1;
        question.phaseY = phaseBarValue(m_pick.below(steps) * kPhaseStepDegrees);
    }
    if (m_range.amplitudes) {
        const int steps = (kLargestAmplitude - kSmallestAmplitude) / kAmplitudeStep + 1;
        question.amplitudeX = kSmallestAmplitude + kAmplitudeStep * int(m_pick.below(steps));
        question.amplitudeY = kSmallestAmplitude + kAmplitudeStep * int(m_pick.below(steps));
    } else {
        question.amplitudeX = kUnitAmplitude;
        question.amplitudeY = kUnitAmplitude;
    }
    question.asksPhase = m_range.phases && question.numerator == 1 && question.denominator == 1;
    return question;
}

const QuizQuestion& Quiz::next()
{
    ++m_number;
    m_question = pick();
    m_judged = false;
    return m_question;
}

Judgement Quiz::judge(std::string_view ratio, std::string_view phase, bool yUp)
{
    if (m_judged)
        return {Verdict::Refused, kJudgedAlready};
    const std::optional<TypedRatio> typed = typedRatio(trimmed(ratio), true);
    if (!typed)
        return {Verdict::Refused, kRatioForm};
    if (const std::string refusal = ratioRefusal(*typed); !refusal.empty())
        return {Verdict::Refused, refusal};
    return judgeRatio(static_cast<int>(typed->numerator), static_cast<int>(typed->denominator),
                      phase, yUp);
}

Judgement Quiz::judgeRatio(int numerator, int denominator, std::string_view phase, bool yUp)
{
    const QuizQuestion& q = m_question;
    const Parameter p = q.parameter();
    const TouchReading touch = readTouchPoints(p, true, yUp);
    const std::string counted = withNote(touch.legend + ".", touch.note);
    const int common = std::gcd(numerator, denominator);
    const bool sameRatio =
        numerator / common == q.numerator && denominator / common == q.denominator;
    if (!sameRatio) {
        if (numerator == q.denominator && denominator == q.numerator) {
            return count(
                {Verdict::Wrong, "Falsch: Zähler und Nenner sind vertauscht. Die Berührpunkte oben "
                                 "zählen für " +
                                     std::string("<i>f</i><sub>y</sub>, die rechts für "
                                                 "<i>f</i><sub>x</sub>: ") +
                                     counted});
        }
        return count({Verdict::Wrong, "Falsch, gesucht war " +
                                          ratioText(q.numerator, q.denominator) + ". " + counted});
    }
    const bool unreduced = common > 1;
    std::string said = unreduced
                           ? "Richtig, nur noch kürzen: " + ratioText(numerator, denominator) +
                                 " = " + ratioText(q.numerator, q.denominator) + ". "
                           : std::string("Richtig! ");
    const Verdict verdict = unreduced ? Verdict::Unreduced : Verdict::Right;
    if (!q.asksPhase)
        return count({verdict, said + counted});

    if (trimmed(phase).empty())
        return {Verdict::Refused, kPhaseMissing};
    const std::optional<double> degrees = typedPhase(phase);
    if (!degrees)
        return {Verdict::Refused, kPhaseForm};
    const PhaseReading reading = readPhase(p, true, yUp);
    const std::string read = withNote(reading.legend + ".", reading.note);
    if (std::abs(*degrees - reading.degrees) > m_range.toleranceDegrees) {
        return count({Verdict::Wrong,
                      "Das Verhältnis " + std::string(kFrequencies) + " = 1 : 1 " +
                          "stimmt, die Phase nicht: " + degreesText(*degrees) + " liegt mehr als " +
                          std::to_string(m_range.toleranceDegrees) + "° daneben. " + read});
    }
    return count({verdict, said + read});
}

Judgement Quiz::count(Judgement judgement)
{
    m_judged = true;
    ++m_answered;
    if (judgement.verdict == Verdict::Right || judgement.verdict == Verdict::Unreduced)
        ++m_right;
    return judgement;
}

std::string Quiz::scoreText() const
{
    return std::to_string(m_right) + " von " + std::to_string(m_answered) + " richtig";
}

} // namespace korvelian
