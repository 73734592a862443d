#include "commandline.h"

#include "picture/filewriter.h"
#include "headlessexport.h"
#include "toolkitoptions.h"
#include "form/layout.h"
#include "lessonfiles.h"
#include "lesson/quizseries.h"
#include "valueoptions.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

namespace korvelian {

namespace {

constexpr const char* kProgram = "korvelian";

CommandLine::Answer fault(const QString& what)
{
    return CommandLine::failure(2, what);
}

// The worksheets --export-table writes instead of the plate.
std::vector<std::pair<QCommandLineOption, OverviewPlate::Sheet>> sheetOptions()
{
    return {
        {QCommandLineOption("blank", QString::fromUtf8("Mit --export-table: Arbeitsblatt mit "
                                                       "leeren Feldern zum Zeichnen.")),
         OverviewPlate::Sheet::Blank},
        {QCommandLineOption("name-figures",
                            QString::fromUtf8("Mit --export-table: Arbeitsblatt mit Figuren zum "
                                              "Benennen (Verhältnis und Phase frei).")),
         OverviewPlate::Sheet::Naming},
        {QCommandLineOption("solutions",
                            QString::fromUtf8("Mit --export-table: das Lösungsblatt zu beiden "
                                              "Arbeitsblättern desselben --seed.")),
         OverviewPlate::Sheet::Solutions},
    };
}

} // namespace

CommandLine::CommandLine()
    : m_help({"h", "help", "?"}, "Zeigt diese Hilfe an."),
      m_version({"v", "version"}, "Zeigt die Version an."),
      m_worksheet("worksheet", QString::fromUtf8("Mit --export oder --export-table: schwarze "
                                                 "Figur und graue Achsen auf Weiß.")),
      m_readingAid("reading-aid", QString::fromUtf8("Mit --export: mit der Ablesehilfe.")),
      m_values("values", QString::fromUtf8("Mit --export: mit den eingeblendeten Werten.")),
      m_graticule("graticule", QString::fromUtf8("Mit --export: mit dem Raster.")),
      m_yUp("y-up", QString::fromUtf8("y-Achse nach oben wie am Oszilloskop, auch mit --export "
                                      "und --export-table.")),
      m_fine("fine", QString::fromUtf8("Feine Kurve: die Figur so glatt, wie ein Oszilloskop sie "
                                       "zeichnet, auch mit --export und --export-table.")),
      m_textbook("textbook",
                 QString::fromUtf8("Wie im Lehrbuch: die Phase y ist die der y-Schwingung selbst, "
                                   "y = A_y · sin(Z/N · t + φ_y), y-Achse nach oben; auch mit "
                                   "--export und --export-table.")),
      m_screenColours("screen-colours",
                      QString::fromUtf8("Mit --export-table: PDF und Arbeitsblätter in den Farben "
                                        "des Schirms (weiße Figur auf Schwarz) statt in "
                                        "Arbeitsblatt-Farben.")),
      m_quiz("quiz", QString::fromUtf8("Öffnet das Fenster mit dem Quiz „Welches Verhältnis?“.")),
      m_quizPhases("quiz-phases",
                   QString::fromUtf8("Mit --quiz: auch Phasen von 0° bis 180°; bei 1 : 1 wird "
                                     "die Phase mit gefragt.")),
      m_quizAmplitudes("quiz-amplitudes",
                       QString::fromUtf8("Mit --quiz: auch Amplituden von 0,5 bis 2."))
{
    m_sheets = sheetOptions();
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.setApplicationDescription(
        "Korvelian-Figuren: Simulation eines Oszilloskops mit zwei senkrechten\n"
        "Schwingungen. Die Optionen stellen Regler und Frequenzfaktor beim Start ein.\n"
        "Eine Datei mit gespeicherten Einstellungen (.korvelian) wird ohne Option\n"
        "genannt. Dazu kommen die Optionen von Qt mit einem Strich, etwa\n"
        "-platform offscreen oder -style fusion.");
    m_parser.addPositionalArgument(
        "DATEI.korvelian", QString::fromUtf8("Gespeicherte Einstellungen oder eine Stunde öffnen."),
        "[DATEI.korvelian]");
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
    for (const ValueOption& option : valueOptions()) {
        m_parser.addOption(
            QCommandLineOption(option.name, withNumbers(option.description), option.valueName));
    }
    for (const QCommandLineOption* flag : flags()) {
        if (flag != &m_help && flag != &m_version)
            m_parser.addOption(*flag);
    }
}

std::vector<const QCommandLineOption*> CommandLine::flags() const
{
    std::vector<const QCommandLineOption*> all = {
        &m_help,      &m_version,    &m_worksheet,     &m_readingAid, &m_values,
        &m_graticule, &m_yUp,        &m_fine,          &m_textbook,   &m_screenColours,
        &m_quiz,      &m_quizPhases, &m_quizAmplitudes};
    for (const auto& [option, sheet] : m_sheets)
        all.push_back(&option);
    return all;
}

std::optional<CommandLine::Answer> CommandLine::read(const QStringList& arguments, Stage stage)
{
    m_settings = {};
    QStringList own = arguments;
    if (stage == Stage::BeforeToolkit) {
        QStringList withValue;
        for (const ValueOption& option : valueOptions())
            withValue << option.name;
        if (const QString wrong = ToolkitOptions::setAside(own, withValue); !wrong.isEmpty())
            return fault(wrong + QString(" Übersicht: %1 --help").arg(kProgram));
    }
    if (!m_parser.parse(own)) {
        return fault(m_parser.errorText() + QString(" Übersicht: %1 --help").arg(kProgram));
    }
    if (m_parser.isSet(m_help))
        return Answer{0, m_parser.helpText()};
    if (m_parser.isSet(m_version))
        return Answer{0, QString("%1 %2\n").arg(kProgram, KORVELIAN_VERSION)};
    if (const auto wrong = readLesson(m_parser.positionalArguments()))
        return wrong;
    for (const ValueOption& option : valueOptions()) {
        if (!m_parser.isSet(option.name))
            continue;
        // The last of two would win unseen: a script with two --export writes one file only.
        if (m_parser.values(option.name).size() > 1)
            return fault(QString("--%1 darf nur einmal angegeben werden.").arg(option.name));
        const QString wrong =
            option.read(m_parser.value(option.name), option.name, option.bar, m_settings);
        if (!wrong.isEmpty())
            return fault(wrong);
    }
    m_settings.worksheet = m_parser.isSet(m_worksheet);
    m_settings.readingAid = m_parser.isSet(m_readingAid);
    m_settings.yUp = m_parser.isSet(m_yUp);
    m_settings.values = m_parser.isSet(m_values);
    m_settings.graticule = m_parser.isSet(m_graticule);
    m_settings.fine = m_parser.isSet(m_fine);
    m_settings.textbook = m_parser.isSet(m_textbook);
    m_settings.screenColours = m_parser.isSet(m_screenColours);
    m_settings.quiz = m_parser.isSet(m_quiz);
    m_settings.quizRange.phases = m_parser.isSet(m_quizPhases);
    m_settings.quizRange.amplitudes = m_parser.isSet(m_quizAmplitudes);
    m_settings.quizOptions =
        m_settings.quizOptions || m_settings.quizRange.phases || m_settings.quizRange.amplitudes;
    int sheets = 0;
    for (const auto& [option, sheet] : m_sheets) {
        if (m_parser.isSet(option)) {
            m_settings.sheet.sheet = sheet;
            ++sheets;
        }
    }
    if (sheets > 1)
        return fault("--blank, --name-figures und --solutions schließen einander aus; bitte nur "
                     "eines.");
    if (const auto wrong = checkCombination())
        return wrong;
    if (m_settings.quizSeries > 0) {
        return Answer{0, QString::fromStdString(quizSeries(m_settings.quizRange, m_settings.seed,
                                                           m_settings.quizSeries))};
    }
    return std::nullopt;
}

// One argument without an option is a lesson file, as the file manager hands it over. It is
// read here, whole: a refused one ends an export, and the window says why it opens without it.
std::optional<CommandLine::Answer> CommandLine::readLesson(const QStringList& positional)
{
    const QString* path = positional.isEmpty() ? nullptr : &positional.front();
    if (positional.size() > 1 || (path && !path->endsWith(".korvelian", Qt::CaseInsensitive))) {
        return fault(
            QString("Unerwartetes Argument '%1'.")
                .arg(positional[path->endsWith(".korvelian", Qt::CaseInsensitive) ? 1 : 0]));
    }
    if (!path)
        return std::nullopt;
    m_settings.lessonPath = *path;
    m_settings.lesson = readLessonFile(*path, &m_settings.lessonRefusal);
    return std::nullopt;
}

std::optional<CommandLine::Answer> CommandLine::checkCombination() const
{
    const Settings& s = m_settings;
    const bool sheet = s.sheet.sheet != OverviewPlate::Sheet::Plate;
    const bool exporting = s.exportPath || s.tablePath;
    if (!s.lessonPath.isEmpty() && (s.ratio || !s.scrollValues.empty()))
        return fault("Eine Datei mit Einstellungen und --ratio, --amplitude-… oder --phase-… "
                     "schließen einander aus; bitte nur eines.");
    if (!s.lessonPath.isEmpty() && exporting && !s.lesson)
        return fault(s.lessonRefusal);
    if (sheet && !s.tablePath)
        return fault("--blank, --name-figures und --solutions gelten nur mit --export-table.");
    if (s.sheet.orientation && !sheet)
        return fault("--page gilt nur mit einem Arbeitsblatt (--blank, --name-figures, "
                     "--solutions).");
    if (s.quizOptions && !s.quiz)
        return fault("--quiz-range, --quiz-phases, --quiz-amplitudes, --quiz-tolerance und "
                     "--quiz-series gelten nur mit --quiz.");
    if (s.quiz && exporting)
        return fault("--quiz gilt nicht mit --export oder --export-table: das Quiz braucht das "
                     "Fenster.");
    if (s.seedGiven && !s.quiz && !sheet)
        return fault("--seed gilt nur mit --quiz oder einem Arbeitsblatt (--blank, "
                     "--name-figures, --solutions).");
    if (s.screenColours && !s.tablePath)
        return fault("--screen-colours gilt nur mit --export-table.");
    if (s.screenColours && s.worksheet)
        return fault("--worksheet und --screen-colours schließen einander aus; bitte nur eines.");
    if (s.exportPath && s.tablePath)
        return fault("--export und --export-table schließen einander aus; bitte nur eines.");
    if (!s.exportPath && !s.tablePath && (s.exportWidth || s.worksheet))
        return fault("--size und --worksheet gelten nur mit --export oder --export-table.");
    if (!s.exportPath && (s.readingAid || s.values || s.graticule))
        return fault("--reading-aid, --values und --graticule gelten nur mit --export.");
    if (!s.tablePath && s.tableForm)
        return fault("--table gilt nur mit --export-table.");
    if (s.tablePath && s.exportWidth && QFileInfo(*s.tablePath).suffix().toLower() == "pdf")
        return fault("--size gilt nicht für PDF: die Tafel füllt eine A4-Seite.");
    return std::nullopt;
}

int CommandLine::print(const Answer& answer)
{
    std::FILE* stream = answer.status == 0 ? stdout : stderr;
    errno = 0;
    if (std::fputs(answer.text.toUtf8().constData(), stream) >= 0 && std::fflush(stream) == 0)
        return answer.status;
    // Help or version into a full disk or a closed pipe: a script must not take it as shown.
    const int failure = errno;
    if (stream == stdout) {
        std::fprintf(stderr, "%s: Die Ausgabe konnte nicht geschrieben werden: %s.\n", kProgram,
                     FileWriter::reason(failure).toUtf8().constData());
    }
    return answer.status == 0 ? 1 : answer.status;
}

void CommandLine::applyTo(QWidget& window) const
{
    if (m_settings.lesson) {
        const LessonSettings& step = m_settings.lesson->steps.front();
        const std::pair<ScrollBar, int> bars[] = {{ScrollBar::AmplitudeX, step.amplitudeX},
                                                  {ScrollBar::PhaseX, step.phaseX},
                                                  {ScrollBar::AmplitudeY, step.amplitudeY},
                                                  {ScrollBar::PhaseY, step.phaseY}};
        for (const auto& [bar, value] : bars)
            window.findChild<QScrollBar*>(controlName(bar))->setValue(value);
        window.findChild<QLineEdit*>(controlName(TextBox::Numerator))
            ->setText(QString::number(step.numerator));
        window.findChild<QLineEdit*>(controlName(TextBox::Denominator))
            ->setText(QString::number(step.denominator));
    }
    for (const auto& [bar, value] : m_settings.scrollValues)
        window.findChild<QScrollBar*>(controlName(bar))->setValue(value);
    if (m_settings.ratio) {
        window.findChild<QLineEdit*>(controlName(TextBox::Numerator))
            ->setText(m_settings.ratio->first);
        window.findChild<QLineEdit*>(controlName(TextBox::Denominator))
            ->setText(m_settings.ratio->second);
    }
}

std::vector<ViewOption> CommandLine::Settings::viewOptions() const
{
    std::vector<ViewOption> options;
    for (const auto& [set, option] :
         {std::pair(yUp, ViewOption::YUp), std::pair(fine, ViewOption::Fine),
          std::pair(textbook, ViewOption::Textbook)}) {
        if (set)
            options.push_back(option);
    }
    return options;
}

CommandLine::Answer CommandLine::exportFile() const
{
    return HeadlessExport(m_settings).run();
}

CommandLine::Answer CommandLine::failure(int status, const QString& what)
{
    return {status, QString("%1: %2\n").arg(kProgram, what)};
}

} // namespace korvelian
