#pragma once

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

} // namespace korvelian
