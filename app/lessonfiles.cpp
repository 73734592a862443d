#include "lessonfiles.h"

#include "picture/filewriter.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace korvelian {

namespace {

QString named(const QString& path)
{
    return QStringLiteral("„%1“: ").arg(QFileInfo(path).fileName());
}

} // namespace

std::optional<Lesson> readLessonFile(const QString& path, QString* refusal)
{
    auto fail = [&](const QString& why) {
        if (refusal)
            *refusal = named(path) + why;
        return std::nullopt;
    };
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return fail(QStringLiteral("Das ist keine Datei."));
    // Opened with the system's own calls for its reason in German; one byte more than a lesson
    // may have tells a larger file without reading it all.
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        std::fopen(QFile::encodeName(path).constData(), "rb"), std::fclose);
    if (!file)
        return fail(QStringLiteral("Die Datei lässt sich nicht öffnen: %1.")
                        .arg(FileWriter::reason(errno)));
    std::string text(kLargestLessonFile + 1, '\0');
    const std::size_t read = std::fread(text.data(), 1, text.size(), file.get());
    if (std::ferror(file.get()))
        return fail(
            QStringLiteral("Die Datei lässt sich nicht lesen: %1.").arg(FileWriter::reason(errno)));
    text.resize(read);
    LessonReading reading = readLesson(text);
    if (!reading.lesson)
        return fail(QString::fromStdString(reading.refusal));
    return std::move(reading.lesson);
}

bool saveLessonFile(const QString& path, const Lesson& lesson, QString* error)
{
    const std::string text = writeLesson(lesson);
    return FileWriter::write(path, QByteArrayView(text.data(), qsizetype(text.size())), error);
}

} // namespace korvelian
