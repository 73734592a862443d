#include "valueoptions.h"

#include "form/layout.h"
#include "form/linksetting.h"
#include "model/barvalues.h"
#include "model/constants.h"
#include "model/numbertext.h"
#include "picture/pictureexporter.h"
#include "picture/plateexporter.h"

#include <QRegularExpression>

namespace korvelian {

namespace {

using Settings = CommandLine::Settings;

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
