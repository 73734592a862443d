#pragma once

#include "handlers/windowoperations.h"

#include <array>
#include <string>
#include <vector>

namespace korvelian {

struct ControlLayout;

// Typical settings a click away, in the desktop's menus and the page's alike: a bar's presets,
// the usual ratios and the start setting.

inline constexpr const char* kValueEntryCaption = "Wert eingeben…";
inline constexpr const char* kRatiosCaption = "Verhältnis Zähler : Nenner";

struct BarPreset
{
    std::string caption; // "45°", "1,5"
    int value;
};

// A phase bar's angles or an amplitude bar's amplitudes, as its menu lists them.
std::vector<BarPreset> barPresets(const ControlLayout& bar);

struct RatioPreset
{
    int numerator;
    int denominator;
    std::string caption() const;
};

inline constexpr std::array<RatioPreset, 9> kRatioPresets{
    {{1, 1}, {1, 2}, {2, 1}, {1, 3}, {2, 3}, {3, 2}, {3, 4}, {4, 5}, {5, 6}}};

// Every bar back at its start value and the ratio typed into its boxes as the window opened
// with it, each firing its Change as a user's own entry does.
void resetControls(WindowOperations& window);

} // namespace korvelian
