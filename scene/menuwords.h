#pragma once

#include "model/numbertext.h"

#include <string>

namespace korvelian {

// Words of the screen's menu that both editions show.
inline constexpr const char* kResetCaption = "Zurücksetzen";
inline constexpr const char* kSavePictureCaption = "Bild speichern unter…";
inline constexpr const char* kPrintCaption = "Drucken…";
inline constexpr const char* kHelpCaption = "Hilfe";
inline constexpr const char* kHelpTitle = "Hilfe – Korvelian-Figuren";
inline constexpr const char* kFullScreenCaption = "Vollbild";
inline constexpr const char* kSoundCaption = "Ton";
// The browser saves by a download, one entry for each format.
inline constexpr const char* kSavePngCaption = "Bild als PNG speichern";
inline constexpr const char* kSaveSvgCaption = "Bild als SVG speichern";
inline constexpr const char* kNoWebAudio =
    "Dieser Browser kann keinen Ton ausgeben (Web Audio fehlt); alles andere geht.";
inline constexpr const char* kNoFullScreen =
    "Dieser Browser zeigt die Seite nicht auf dem ganzen Bildschirm; alles andere geht.";

// The overview plate's submenu and window.
inline constexpr const char* kPlateCaption = "Übersichtstafel";
inline constexpr const char* kPlateTitle = "Übersichtstafel – Korvelian-Figuren";
inline constexpr const char* kRatiosPlateCaption = "Verhältnisse 1 bis 4";
inline constexpr const char* kPhasesPlateCaption = "Phasen 0° bis 180°";
inline constexpr const char* kShowPlateCaption = "Tafel zeigen";
inline constexpr const char* kCopyPlateCaption = "Tafel kopieren";
inline constexpr const char* kSavePlateCaption = "Tafel speichern unter…";
inline constexpr const char* kPrintPlateCaption = "Tafel drucken…";
inline constexpr const char* kWorksheetColoursCaption = "Arbeitsblatt-Farben";
inline constexpr const char* kCopyPictureCaption = "Bild kopieren";

// The phases' entry names the ratio they are drawn at.
inline std::string phasesPlateCaption(double numerator, double denominator)
{
    return std::string(kPhasesPlateCaption) + " bei " + germanNumber(numerator) + " : " +
           germanNumber(denominator);
}

// The browser prints the plate's worksheets from its menu (the desktop writes them from the
// command line); the three sheets of one order belong together.
inline constexpr const char* kBlankSheetCaption = "Arbeitsblatt: Figuren zeichnen drucken…";
inline constexpr const char* kNamingSheetCaption = "Arbeitsblatt: Figuren benennen drucken…";
inline constexpr const char* kSolutionsSheetCaption = "Lösungsblatt drucken…";
inline constexpr const char* kNewOrderCaption = "Neue Reihenfolge der Arbeitsblätter";
inline constexpr const char* kNotCopied =
    "Dieser Browser lässt die Seite kein Bild in die Zwischenablage legen; „Bild als PNG "
    "speichern“ geht.";

} // namespace korvelian
