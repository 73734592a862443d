#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace korvelian {

// The words of the lesson's entries and of the quiz, the same in the window and on the page.
namespace classroom {

inline constexpr const char* kMenu = "Unterricht";
inline constexpr const char* kPresentation = "Präsentation";
inline constexpr const char* kAppendStep = "Als Schritt anhängen";
inline constexpr const char* kQuiz = "Welches Verhältnis?";
inline constexpr const char* kPrediction = "Vorhersage";
// In the order of Prediction::Mode.
inline constexpr std::array<const char*, 3> kPredictionModes{
    "Ohne Vorhersage", "Der Strahl zeichnet die Figur",
    "Nur die Zeitverläufe, Figur beim Auflösen"};
inline constexpr const char* kResolve = "Auflösen";
inline constexpr const char* kHideValues = "Werte verbergen";
inline constexpr const char* kSave = "Einstellungen speichern…";
inline constexpr const char* kOpen = "Einstellungen öffnen…";
inline constexpr const char* kNextStep = "Nächster Schritt";
inline constexpr const char* kPreviousStep = "Voriger Schritt";
// A refused file: the reason, then this.
inline constexpr const char* kNothingTaken = "Nichts davon wurde übernommen.";

// The lesson's step on show, "Schritt 2 von 5: Die Parabel", counted from one.
inline std::string stepHeading(std::size_t index, std::size_t count, const std::string& title)
{
    std::string text = "Schritt " + std::to_string(index + 1) + " von " + std::to_string(count);
    return title.empty() ? text : text + ": " + title;
}

inline constexpr const char* kQuizTitle = "Welches Verhältnis? – Korvelian-Figuren";
inline constexpr const char* kRatioLabel = "<i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> =";
inline constexpr const char* kRatioPlaceholder = "etwa 3 : 2";
inline constexpr const char* kPhaseLabel = "Phase in Grad:";
inline constexpr const char* kPhasePlaceholder = "etwa 45";
inline constexpr const char* kCheck = "Prüfen";
inline constexpr const char* kNext = "Nächste Figur";
// The teacher's choice of the figures a series asks.
inline constexpr const char* kRangeTitle = "Auswahl der Figuren";
inline constexpr const char* kLargestLabel = "Verhältnisse:";
// In the order of kQuizLargestChoices.
inline constexpr std::array<const char*, 2> kLargestChoices{"bis 4 : 4", "bis 6 : 6"};
inline constexpr const char* kPhasesChoice = "Phasen von 0° bis 180°";
inline constexpr const char* kAmplitudesChoice = "Amplituden von 0,5 bis 2";
inline constexpr const char* kToleranceLabel = "Phase bei 1 : 1 auf ± ";
inline constexpr const char* kSeedLabel = "Reihe Nr. (gleiche Nummer, gleiche Figuren):";
inline constexpr const char* kNewSeries = "Neue Reihe";

// "Figur 3: Welches Verhältnis f_y : f_x zeigt der Schirm?" as rich text, with the phase asked
// too where it is.
inline std::string quizQuestionText(int number, bool asksPhase)
{
    return "Figur " + std::to_string(number) +
           ": Welches Verhältnis <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> zeigt der Schirm?" +
           (asksPhase ? " Und welche Phase?" : "");
}

} // namespace classroom

} // namespace korvelian
