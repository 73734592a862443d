#include "lessonfile.h"

#include "lessonfields.h"
#include "typedvalues.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace korvelian {

namespace {

constexpr std::string_view kMagic = "Korvelian-Einstellungen";
constexpr int kVersion = kLessonVersion;
constexpr std::string_view kEnd = "Ende";
constexpr std::size_t kLongestLine = 200;
constexpr std::size_t kLongestTitle = 80;

using Settings = LessonSettings;

// Well-formed UTF-8 without control characters other than a tab: what a text editor writes.
// Gives what is wrong with it, or nothing.
std::string textFault(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size()) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte < 0x20 && byte != '\t')
            return "enthält Steuerzeichen: das ist keine Textdatei.";
        if (byte == 0x7f)
            return "enthält Steuerzeichen: das ist keine Textdatei.";
        std::size_t length = 1;
        if (byte >= 0xf0 && byte <= 0xf4)
            length = 4;
        else if (byte >= 0xe0)
            length = 3;
        else if (byte >= 0xc2)
            length = 2;
        else if (byte >= 0x80)
            return "ist kein gültiger UTF-8-Text.";
        if (byte >= 0xf5 || i + length > line.size())
            return "ist kein gültiger UTF-8-Text.";
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(line[i + k]) & 0xc0) != 0x80)
                return "ist kein gültiger UTF-8-Text.";
        }
        i += length;
    }
    return {};
}

// The assignments of one source: a file's lines or a link's parts, each with how a refusal
// names it ("Zeile 7", "Teil 3").
class Reader
{
public:
    explicit Reader(std::string where) : m_where(std::move(where)) {}

    std::string refusal(std::size_t number, const std::string& what) const
    {
        return m_where + " " + std::to_string(number) + ": " + what;
    }

    // A new step with a title; it starts from the step before.
    std::string startStep(std::size_t number, std::string title)
    {
        if (m_lesson.steps.size() >= kMostLessonSteps) {
            return refusal(number, "mehr als " + std::to_string(kMostLessonSteps) +
                                       " Schritte sind zu viel für eine Stunde.");
        }
        Settings step = m_lesson.steps.empty() ? Settings{} : m_lesson.steps.back();
        step.title = std::move(title);
        m_lesson.steps.push_back(step);
        m_seen.clear();
        return {};
    }

    std::string assign(std::size_t number, std::string_view name, std::string_view value)
    {
        const LessonField* f = lessonField(name);
        if (!f)
            return refusal(number, "unbekannte Einstellung " + quoted(name) + ".");
        if (const auto seen = m_seen.find(std::string(name)); seen != m_seen.end()) {
            return refusal(number, std::string(name) + " steht in diesem Schritt schon (" +
                                       m_where + " " + std::to_string(seen->second) + ").");
        }
        if (m_lesson.steps.empty())
            startStep(number, {});
        const std::string wrong = f->read(name, value, m_lesson.steps.back());
        if (!wrong.empty())
            return refusal(number, wrong);
        m_seen.emplace(name, number);
        return {};
    }

    Lesson& lesson() { return m_lesson; }

private:
    std::string m_where;
    Lesson m_lesson;
    std::map<std::string, std::size_t, std::less<>> m_seen;
};

LessonReading refused(std::string why)
{
    return {std::nullopt, std::move(why)};
}

// "Korvelian-Einstellungen 1": nothing, or why the line is no version line this program reads.
std::string versionFault(std::string_view line, std::string_view magic, char separator,
                         const Reader& reader)
{
    const std::string expected = std::string(magic) + separator + std::to_string(kVersion);
    if (line == expected)
        return {};
    const std::string_view rest = line.substr(std::min(line.size(), magic.size()));
    const std::optional<long> version =
        line.substr(0, magic.size()) == magic && !rest.empty() && rest[0] == separator
            ? wholeNumber(trimmed(rest.substr(1)))
            : std::nullopt;
    if (version && *version > kVersion)
        return reader.refusal(1, newerVersion(*version));
    return reader.refusal(1, "Das sind keine Einstellungen von Korvelian-Figuren: am Anfang muss " +
                                 quoted(expected) + " stehen.");
}

} // namespace

std::string newerVersion(long version)
{
    return "Die Einstellungen haben die Version " + std::to_string(version) +
           "; dieses Programm liest nur Version " + std::to_string(kVersion) +
           ". Bitte ein neueres Korvelian-Figuren verwenden.";
}

LessonReading readLesson(std::string_view text)
{
    if (text.size() > kLargestLessonFile)
        return refused("Die Datei ist größer als 256 KB: das sind keine Einstellungen.");
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return refused("Die Datei ist leer.");

    Reader reader("Zeile");
    bool ended = false;
    std::size_t number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t newline = text.find('\n', start);
        std::string_view raw = text.substr(
            start, newline == std::string_view::npos ? std::string_view::npos : newline - start);
        start = newline == std::string_view::npos ? text.size() : newline + 1;
        ++number;
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        if (raw.size() > kLongestLine) {
            return refused(reader.refusal(number, "ist länger als " + std::to_string(kLongestLine) +
                                                      " Zeichen: das sind keine Einstellungen."));
        }
        if (const std::string fault = textFault(raw); !fault.empty())
            return refused(reader.refusal(number, fault));
        const std::string_view line = trimmed(raw);
        if (number == 1) {
            if (std::string fault = versionFault(line, kMagic, ' ', reader); !fault.empty())
                return refused(std::move(fault));
            continue;
        }
        if (line.empty() || line.front() == '#')
            continue;
        if (ended)
            return refused(
                reader.refusal(number, "nach " + quoted(kEnd) + " darf nichts mehr stehen."));
        if (line == kEnd) {
            ended = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 2) {
                return refused(reader.refusal(
                    number, "der Titel eines Schritts steht in eckigen Klammern, etwa [Ellipse]."));
            }
            const std::string_view title = trimmed(line.substr(1, line.size() - 2));
            if (title.size() > kLongestTitle) {
                return refused(reader.refusal(number, "der Titel ist länger als " +
                                                          std::to_string(kLongestTitle) +
                                                          " Zeichen."));
            }
            if (std::string fault = reader.startStep(number, std::string(title)); !fault.empty())
                return refused(std::move(fault));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return refused(reader.refusal(number, quoted(line) + " ist keine Einstellung; "
                                                                 "erwartet wird Name = Wert."));
        }
        if (std::string fault = reader.assign(number, trimmed(line.substr(0, equals)),
                                              trimmed(line.substr(equals + 1)));
            !fault.empty())
            return refused(std::move(fault));
    }
    if (!ended) {
        return refused("Die Datei hört nach Zeile " + std::to_string(number) +
                       " ohne die Schlusszeile " + quoted(kEnd) + " auf: sie ist unvollständig.");
    }
    if (reader.lesson().steps.empty())
        return refused("Zeile " + std::to_string(number) +
                       ": die Datei enthält keine Einstellung.");
    return {std::move(reader.lesson()), {}};
}

std::string writeLesson(const Lesson& lesson)
{
    std::string text = std::string(kMagic) + " " + std::to_string(kVersion) + "\n";
    text += "# Korvelian-Figuren: Einstellungen, mit Bild auf/Bild ab Schritt für Schritt.\n";
    const bool titled =
        lesson.steps.size() > 1 || (!lesson.steps.empty() && !lesson.steps.front().title.empty());
    for (const Settings& step : lesson.steps) {
        if (titled)
            text += "\n[" + step.title + "]\n";
        for (const LessonField& f : lessonFields())
            text += std::string(f.name) + " = " + f.write(step) + "\n";
    }
    return text + std::string(kEnd) + "\n";
}

} // namespace korvelian
