#pragma once

#include "handlers/windowoperations.h"
#include "viewsettings.h"
#include "lesson/lessonfile.h"
#include "lesson/quiz.h"
#include "picture/plateexporter.h"
#include "scene/overviewplate.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class QWidget;

namespace korvelian {

// The program's command line: --help, --version and the start options that set the scroll
// bars and the frequency factor as a user would. Each option with a value is one row of the
// table in valueoptions.cpp.
class CommandLine
{
public:
    // Before the application exists the toolkit's own options are still among the arguments;
    // once it exists it has taken out those it knows.
    enum class Stage { BeforeToolkit, AfterToolkit };

    // What to print and with which status the program ends instead of opening its window.
    struct Answer
    {
        int status = 0;
        QString text; // one or more whole lines; standard output for status 0, else errors
    };

    CommandLine();

    // Reads the arguments, the program's name first. Gives the answer when the program ends
    // here: help, version, or one line saying what is wrong (status 2).
    std::optional<Answer> read(const QStringList& arguments, Stage stage);

    // Prints the answer and gives its status.
    static int print(const Answer& answer);
    // The program's name, then what is wrong, on one line.
    static Answer failure(int status, const QString& what);

    // Sets the window's controls to the start options through their Change handlers: the
    // scroll bars first, then numerator and denominator as if typed, so a refused ratio
    // leaves its message in the hint line as a typed one does. A lesson file's first step
    // comes this way too.
    void applyTo(QWidget& window) const;

    // Writes the file --export or --export-table names instead of opening the window
    // (HeadlessExport).
    Answer exportFile() const;

    struct Settings
    {
        std::vector<std::pair<ScrollBar, int>> scrollValues;
        std::optional<std::pair<QString, QString>> ratio; // numerator, denominator texts
        std::optional<QString> exportPath;
        std::optional<QString> tablePath;
        std::optional<OverviewPlate::Form> tableForm;
        int exportWidth = 0; // 0: the screen's width at 100 %, or the plate's default
        bool worksheet = false;
        bool readingAid = false;
        bool yUp = false;
        bool values = false;
        bool graticule = false;
        bool fine = false;
        bool textbook = false;

        // The views of the screen's menu the window turns on for this run.
        std::vector<ViewOption> viewOptions() const;
        // A worksheet instead of the plate, its order's seed and its page.
        PlateSheet sheet;
        // A PDF and a worksheet are in worksheet colours unless asked for the screen's.
        bool screenColours = false;
        // The quiz opens with the window, its figures picked by the seed.
        bool quiz = false;
        QuizRange quizRange;
        bool quizOptions = false;
        std::uint32_t seed = 1;
        bool seedGiven = false;
        // The series' first figures printed instead of the window (0: the window).
        int quizSeries = 0;
        // A lesson file named on the command line (a double-click in the file manager), read
        // completely: its steps, or why it is refused.
        QString lessonPath;
        std::optional<Lesson> lesson;
        QString lessonRefusal;
    };
    const Settings& settings() const { return m_settings; }

private:
    std::optional<Answer> checkCombination() const;
    std::vector<const QCommandLineOption*> flags() const;
    std::optional<Answer> readLesson(const QStringList& positional);

    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineOption m_worksheet;
    QCommandLineOption m_readingAid;
    QCommandLineOption m_values;
    QCommandLineOption m_graticule;
    QCommandLineOption m_yUp;
    QCommandLineOption m_fine;
    QCommandLineOption m_textbook;
    QCommandLineOption m_screenColours;
    QCommandLineOption m_quiz;
    QCommandLineOption m_quizPhases;
    QCommandLineOption m_quizAmplitudes;
    std::vector<std::pair<QCommandLineOption, OverviewPlate::Sheet>> m_sheets;
    Settings m_settings;
};

} // namespace korvelian
