#include "valueoptions.h"

#include "form/layout.h"
#include "form/linksetting.h"
#include "lesson/lessonlink.h"
#include "model/barvalues.h"
#include "model/constants.h"
#include "model/numbertext.h"
#include "picture/pictureexporter.h"
#include "picture/plateexporter.h"

#include <QRegularExpression>

namespace korvelian {

namespace {

using Settings = CommandLine::Settings;

// A series longer than a lesson's is no preparation.
constexpr int kLongestQuizSeries = 100;

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

// The quiz's seed, range and tolerance are read as a link to the browser edition reads them.
QString readQuiz(const QString& value, const char* option, ScrollBar, Settings& settings)
{
    QuizLink quiz{settings.quizRange, std::nullopt};
    const std::string fault =
        readQuizValue(option, value.toStdString(), std::string("--") + option, quiz);
    if (!fault.empty())
        return QString::fromStdString(fault);
    if (quiz.seed) {
        settings.seed = *quiz.seed;
        settings.seedGiven = true;
        settings.sheet.seed = settings.seed;
    } else {
        settings.quizRange = quiz.range;
        settings.quizOptions = true;
    }
    return {};
}

QString readQuizSeries(const QString& value, const char* option, ScrollBar, Settings& settings)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,3}$"));
    const int count = digits.match(value).hasMatch() ? value.toInt() : 0;
    if (count < 1 || count > kLongestQuizSeries) {
        return QString("--%1 erwartet eine Anzahl von 1 bis %2, nicht '%3'.")
            .arg(option)
            .arg(kLongestQuizSeries)
            .arg(value);
    }
    settings.quizSeries = count;
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
     readQuiz},
    {"quiz-range",
     "N",
     "Mit --quiz: Verhältnisse bis 4 : 4 (so ohne die Option) oder bis 6 : 6.",
     {},
     readQuiz},
    {"quiz-series",
     "N",
     "Mit --quiz: schreibt die ersten N Figuren der Reihe (1 bis 100) mit ihren Lösungen auf "
     "die Ausgabe, statt das Fenster zu öffnen; mit demselben --seed zeigt das Quiz dieselben "
     "Figuren, auch im Browser.",
     {},
     readQuizSeries},
    {"quiz-tolerance",
     "GRAD",
     "Mit --quiz: wie weit eine Phase bei 1 : 1 daneben liegen darf, 1 bis 45 Grad; ohne die "
     "Option 10.",
     {},
     readQuiz},
};

} // namespace

std::span<const ValueOption> valueOptions()
{
    return kOptions;
}

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

} // namespace korvelian
