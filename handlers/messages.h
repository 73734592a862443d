#pragma once

namespace korvelian {

// What the hint line says when an entry cannot be drawn.
inline constexpr const char* kDenominatorZero = "Der Nenner darf nicht 0 sein.";
inline constexpr const char* kNotDrawable = "Zähler und Nenner ergeben keine darstellbare Figur.";
inline constexpr const char* kKgvTooLarge = "kgV höchstens 32767: die Figur wird nicht gezeichnet.";
inline constexpr const char* kKgvNegative = "kgV nicht unter 0: die Figur wird nicht gezeichnet.";
inline constexpr const char* kRatioDomain =
    "Zähler und Nenner: ganze Zahlen von 1 bis 32767 eingeben.";
inline constexpr const char* kRatioTooLarge =
    "Das kgV von Zähler und Nenner darf höchstens 32767 sein.";

} // namespace korvelian
