#pragma once

#include "lessonfile.h"

#include <span>
#include <string>
#include <string_view>

namespace korvelian {

// One name of a lesson file and of the link: how its value is read into a step and written
// from one, the same for both.
struct LessonField
{
    std::string_view name;
    // What is wrong with the value, empty once it is taken into the settings.
    std::string (*read)(std::string_view name, std::string_view value, LessonSettings& s);
    std::string (*write)(const LessonSettings& s);
};

// In the order a file is written.
std::span<const LessonField> lessonFields();
// The field of that name, or nullptr.
const LessonField* lessonField(std::string_view name);

// The value as the refusal quotes it: a line of garbage is not repeated whole.
std::string quoted(std::string_view value);

} // namespace korvelian
