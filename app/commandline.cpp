#include "commandline.h"

#include "model/barvalues.h"
#include "model/constants.h"
#include "picture/filewriter.h"
#include "headlessexport.h"
#include "toolkitoptions.h"
#include "form/layout.h"
#include "form/linksetting.h"
#include "lessonfiles.h"
#include "model/numbertext.h"
#include "picture/pictureexporter.h"
#include "picture/plateexporter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

namespace korvelian {

namespace {

constexpr const char* kProgram = "korvelian";

using Settings = CommandLine::Settings;

// Reads one option's value into the settings; gives what is wrong with it, or nothing.
using Reader = QString (*)(const QString& value, const char* option, ScrollBar bar,
                           Settings& settings);

struct ValueOption
{
    const char* name;
    const char* valueName;
    const char* description;
    ScrollBar bar; // the scroll bar it sets; unused by the ratio
    Reader read;
};

int maximum(ScrollBar bar)
{
    return control(bar).maximum;
}

// The largest amplitude a bar takes, as a German reader writes it: "2", "1,5".
QString largestAmplitude(ScrollBar bar)
{
    return QString::fromStdString(germanNumber(barUnits(maximum(bar))));
}

// Ratio, amplitudes and phases are read as a link to the browser edition reads them, with the
// same words: the ratio in whole numbers only, so that the boxes get exactly the digits given
// and what the closing count refuses is refused as if typed; an amplitude with at most two
// decimals, which a bar's hundredths hold exactly; a phase in degrees of a turn, to the
// nearest hundredth of a radian the bar holds.
QString readStart(const QString& value, const char* option, ScrollBar, Settings& settings)
{
    LinkSetting start;
    const std::string fault =
        readStartValue(option, value.toStdString(), std::string("--") + option, start);
    if (!fault.empty())
        return QString::fromStdString(fault);
    if (start.ratio) {
        settings.ratio = std::pair(QString::fromStdString(start.ratio->first),
                                   QString::fromStdString(start.ratio->second));
    }
    for (const auto& [bar, barValue] : start.values)
        settings.scrollValues.emplace_back(bar, barValue);
    return {};
}

// The ending decides the format; it is checked here, before anything is drawn, so that a
// mistyped name costs no start of the toolkit.
QString readExportPath(const QString& value, const char* option, ScrollBar, Settings& settings)
{
    if (!PictureExporter::knownFormat(value)) {
        return QString("--%1 erwartet einen Dateinamen auf .png oder .svg, nicht '%2'.")
            .arg(option, value);
    }
    settings.exportPath = value;
    return {};
}

QString readTablePath(const QString& value, const char* option, ScrollBar, Settings& settings)
{
    if (!PlateExporter::knownFormat(value)) {
        return QString("--%1 erwartet einen Dateinamen auf .png, .svg oder .pdf, nicht '%2'.")
            .arg(option, value);
    }
    settings.tablePath = value;
    return {};
}

QString readTableForm(const QString& value, const char* option, ScrollBar, Settings& settings)
{
    if (value == "ratios") {
        settings.tableForm = OverviewPlate::Form::Ratios;
    } else if (value == "phases") {
        settings.tableForm = OverviewPlate::Form::Phases;
    } else {
        return QString("--%1 erwartet ratios (Verhältnisse) oder phases (Phasen), nicht '%2'.")
            .arg(option, value);
    }
    return {};
}

QString readExportWidth(const QString& value, const char* option, ScrollBar, Settings& settings)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,5}$"));
    const int width = digits.match(value).hasMatch() ? value.toInt() : 0;
    if (width < 1 || width > PictureExporter::kLargestSize) {
        return QString("--%1 erwartet eine Bildbreite in Pixeln von 1 bis %2, nicht '%3'.")
            .arg(option, QString::number(PictureExporter::kLargestSize), value);
    }
    settings.exportWidth = width;
    return {};
}

QString readSeed(const QString& value, const char* option, ScrollBar, Settings& settings)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,10}$"));
    const qulonglong seed = digits.match(value).hasMatch() ? value.toULongLong() : 0;
    if (!digits.match(value).hasMatch() || seed > 0xffffffffULL) {
        return QString("--%1 erwartet eine ganze Zahl von 0 bis 4294967295, nicht '%2'.")
            .arg(option, value);
    }
    settings.seed = static_cast<std::uint32_t>(seed);
    settings.seedGiven = true;
    settings.sheet.seed = settings.seed;
    return {};
}

QString readQuizRange(const QString& value, const char* option, ScrollBar, Settings& settings)
{
    if (value != "4" && value != "6") {
        return QString("--%1 erwartet 4 oder 6 (Verhältnisse bis 4 : 4 oder 6 : 6), nicht '%2'.")
            .arg(option, value);
    }
    settings.quizRange.largest = value.toInt();
    settings.quizOptions = true;
    return {};
}

QString readQuizTolerance(const QString& value, const char* option, ScrollBar, Settings& settings)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,2}$"));
    const int degrees = digits.match(value).hasMatch() ? value.toInt() : 0;
    if (degrees < kQuizToleranceMin || degrees > kQuizToleranceMax) {
        return QString("--%1 erwartet Grad von %2 bis %3, nicht '%4'.")
            .arg(option)
            .arg(kQuizToleranceMin)
            .arg(kQuizToleranceMax)
            .arg(value);
    }
    settings.quizRange.toleranceDegrees = degrees;
    settings.quizOptions = true;
    return {};
}

QString readPage(const QString& value, const char* option, ScrollBar, Settings& settings)
{
    if (value == "portrait") {
        settings.sheet.orientation = QPageLayout::Portrait;
    } else if (value == "landscape") {
        settings.sheet.orientation = QPageLayout::Landscape;
    } else {
        return QString("--%1 erwartet portrait (hoch) oder landscape (quer), nicht '%2'.")
            .arg(option, value);
    }
    return {};
}

// The help lists them in this order. A {{name}} in a description is a number written where
// it is decided (see withNumbers).
constexpr ValueOption kOptions[] = {
    {"ratio",
     "Z:N",
     "Frequenzfaktor y zu x als Zähler:Nenner, etwa 3:2; geprüft wie eine Eingabe in die "
     "Kästchen.",
     {},
     readStart},
    {"amplitude-x", "A", "Amplitude der x-Schwingung, 0 bis {{amplitudeX}}, etwa 1,5.",
     ScrollBar::AmplitudeX, readStart},
    {"phase-x", "GRAD", "Phase der x-Schwingung in Grad, 0 bis {{turn}}.", ScrollBar::PhaseX,
     readStart},
    {"amplitude-y", "A", "Amplitude der y-Schwingung, 0 bis {{amplitudeY}}, etwa 0,75.",
     ScrollBar::AmplitudeY, readStart},
    {"phase-y", "GRAD", "Phase der y-Schwingung in Grad, 0 bis {{turn}}.", ScrollBar::PhaseY,
     readStart},
    {"export",
     "DATEI",
     "Speichert das Bild des Schirms als PNG oder SVG (nach der Endung) und beendet das "
     "Programm, ohne ein Fenster zu öffnen; braucht keine Anzeige.",
     {},
     readExportPath},
    {"export-table",
     "DATEI",
     "Speichert die Übersichtstafel als PNG, SVG oder PDF (nach der Endung) und beendet das "
     "Programm, ohne ein Fenster zu öffnen; braucht keine Anzeige.",
     {},
     readTablePath},
    {"table",
     "FORM",
     "Mit --export-table: ratios, die Verhältnisse 1 bis 4 (so ohne die Option), oder phases, "
     "das eingestellte Verhältnis bei den Phasen 0° bis 180°.",
     {},
     readTableForm},
    {"size",
     "PIXEL",
     "Mit --export oder --export-table (PNG, SVG): Bildbreite in Pixeln, 1 bis {{largestSize}}; "
     "ohne die Option {{screenWidth}}, die Breite des Schirms bei 100 %, und {{plateWidth}} für "
     "die Tafel.",
     {},
     readExportWidth},
    {"page",
     "SEITE",
     "Mit einem Arbeitsblatt: A4 portrait (hoch) oder landscape (quer); ohne die Option die "
     "Lage, in der die Felder größer werden.",
     {},
     readPage},
    {"seed",
     "ZAHL",
     "Mit --quiz oder einem Arbeitsblatt: Startwert der Zufallsauswahl, 0 bis 4294967295; "
     "derselbe Startwert gibt dieselbe Reihe von Figuren, auf jedem Rechner.",
     {},
     readSeed},
    {"quiz-range",
     "N",
     "Mit --quiz: Verhältnisse bis 4 : 4 (so ohne die Option) oder bis 6 : 6.",
     {},
     readQuizRange},
    {"quiz-tolerance",
     "GRAD",
     "Mit --quiz: wie weit eine Phase bei 1 : 1 daneben liegen darf, 1 bis 45 Grad; ohne die "
     "Option 10.",
     {},
     readQuizTolerance},
};

// A description with the numbers it names filled in.
QString withNumbers(const char* description)
{
    const QList<std::pair<const char*, QString>> numbers = {
        {"amplitudeX", largestAmplitude(ScrollBar::AmplitudeX)},
        {"amplitudeY", largestAmplitude(ScrollBar::AmplitudeY)},
        {"turn", QString::number(kTurnDegrees)},
        {"largestSize", QString::number(PictureExporter::kLargestSize)},
        {"screenWidth", QString::number(screenSide())},
        {"plateWidth", QString::number(PlateExporter::kDefaultWidth)},
    };
    QString text = QString::fromUtf8(description);
    for (const auto& [name, value] : numbers)
        text.replace(QStringLiteral("{{%1}}").arg(QLatin1String(name)), value);
    return text;
}

CommandLine::Answer fault(const QString& what)
{
    return CommandLine::failure(2, what);
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
    m_sheets = {
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
    for (const ValueOption& option : kOptions) {
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
        for (const ValueOption& option : kOptions)
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
    for (const ValueOption& option : kOptions) {
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
    return checkCombination();
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
        return fault("--quiz-range, --quiz-phases, --quiz-amplitudes und --quiz-tolerance gelten "
                     "nur mit --quiz.");
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
