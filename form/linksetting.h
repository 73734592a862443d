#pragma once

#include "handlers/windowoperations.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvelian {

// The controls' setting carried in a link's fragment, as the command line's start options name
// it: ratio=3:2&amplitude-x=1,5&phase-y=45&y-up. The same values are refused as there, for the
// same reasons, with the same German words.
struct LinkSetting
{
    // Numerator and denominator as the boxes get them: typed, and so checked as typed.
    std::optional<std::pair<std::string, std::string>> ratio;
    std::vector<std::pair<ScrollBar, std::int16_t>> values;
    bool yUp = false;
};

// The screen menu's entry that puts the current setting into a link, and what the page says
// when the link is on the clipboard or could not be put there.
inline constexpr const char* kCopyLinkCaption = "Link kopieren";
inline constexpr const char* kLinkCopied = "Link kopiert: ";
inline constexpr const char* kLinkNotCopied =
    "Der Browser lässt den Link nicht in die Zwischenablage; er steht in der Adresszeile: ";

// The longest fragment read at all: a setting takes some eighty characters.
inline constexpr std::size_t kLongestLink = 1000;

// One start option's value, as the command line and a link give it ("ratio", "amplitude-x",
// "phase-x", "amplitude-y", "phase-y"): put into setting, or why not in German, the option
// called shownName there ("--ratio erwartet …").
std::string readStartValue(std::string_view option, std::string_view value,
                           std::string_view shownName, LinkSetting& setting);

// The value as a refusal quotes it ('3:2'): a long one cut, so that a message stays a line.
std::string quotedArgument(std::string_view value);

// The setting put into the controls as the command line puts its options: the bars, then
// numerator and denominator, each firing its Change.
void applyLink(const LinkSetting& setting, WindowOperations& window);

// The controls' setting as a fragment that readLink (lesson/lessonlink.h) reads back to the same
// values: only what differs from the start.
std::string linkFragment(WindowOperations& window, bool yUp);

} // namespace korvelian
