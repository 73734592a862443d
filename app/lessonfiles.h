#pragma once

#include "lesson/lessonfile.h"

#include <QString>

namespace korvelian {

// A lesson file on the disk: read whole and checked before anything of it is used, written as
// every file is (complete, or the old one kept).

// The lesson, or nothing and in refusal one German message beginning with the file's name.
std::optional<Lesson> readLessonFile(const QString& path, QString* refusal);

// On failure gives false and a German message in *error.
bool saveLessonFile(const QString& path, const Lesson& lesson, QString* error);

} // namespace korvelian
