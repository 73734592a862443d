#include "pictureoutput.h"

#include "filechoice.h"
#include "picturefilename.h"
#include "printchoice.h"
#include "picture/pictureexporter.h"
#include "picture/plateexporter.h"
#include "widgets/pageprinter.h"
#include "widgets/screenarea.h"
#include "widgets/timesignalview.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrinter>

#include <cmath>
#include <optional>

namespace korvelian {

namespace {

const QString kPng = QStringLiteral("PNG-Bild (*.png)");
const QString kSvg = QStringLiteral("SVG-Grafik (*.svg)");
const QString kPdf = QStringLiteral("PDF-Dokument (*.pdf)");

} // namespace

PictureOutput::PictureOutput(QWidget& window, ScreenArea& screen, TimeSignalView& timeSignals,
                             const RatioInUse& ratio, PlateMaker plate)
    : m_window(window), m_screen(screen), m_timeSignals(timeSignals), m_ratio(ratio),
      m_plate(std::move(plate))
{
}

void PictureOutput::copyToClipboard(const QImage& picture, const QString& title)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setImage(picture);
    // Too little memory for the picture, or a clipboard the system did not hand over.
    if (picture.isNull() || clipboard->image().size() != picture.size()) {
        QMessageBox::warning(&m_window, title,
                             QStringLiteral("Das Bild konnte nicht in die Zwischenablage "
                                            "kopiert werden."));
    }
}

void PictureOutput::copyPicture(bool worksheet)
{
    const int width = m_screen.imageSize().width();
    copyToClipboard(PictureExporter::image(m_screen.picture(), width, worksheet),
                    QStringLiteral("Bild kopieren"));
}

void PictureOutput::savePicture(bool worksheet)
{
    const QString path = FileChoice::ask(m_window, QStringLiteral("Bild speichern unter"),
                                         PictureFileName::screen(m_screen.picture(), "png"),
                                         {kPng, kSvg}, {"png", "svg"});
    if (path.isEmpty())
        return;
    QString error;
    if (!PictureExporter::save(m_screen.picture(), path, m_screen.imageSize().width(), &error,
                               worksheet)) {
        QMessageBox::warning(&m_window, QStringLiteral("Bild speichern"), error);
        return;
    }
    if (path.endsWith(".svg", Qt::CaseInsensitive) &&
        PictureExporter::figureAsImage(m_screen.picture())) {
        QMessageBox::information(
            &m_window, QStringLiteral("Bild speichern"),
            QStringLiteral("Die Figur hat mehr als 200.000 Punkte. Die SVG-Datei enthält sie "
                           "deshalb als eingebettetes PNG-Bild; die Achsen sind Linien."));
    }
}

void PictureOutput::printPicture()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(PictureFileName::screen(m_screen.picture(), "pdf"));
    const std::optional<bool> worksheet =
        PrintChoice::ask(m_window, printer, QStringLiteral("Korvelian-Figur drucken"));
    if (!worksheet)
        return;
    QString error;
    if (!PagePrinter::print(m_screen.picture(), printer, *worksheet, &error))
        QMessageBox::warning(&m_window, QStringLiteral("Drucken"), error);
}

int PictureOutput::timeSignalsWidth() const
{
    // As many pixels as the window shows.
    return static_cast<int>(std::lround(m_timeSignals.width() * m_timeSignals.devicePixelRatioF()));
}

void PictureOutput::copyTimeSignals(bool worksheet)
{
    copyToClipboard(m_timeSignals.picture(timeSignalsWidth(), worksheet),
                    QStringLiteral("Zeitverläufe kopieren"));
}

void PictureOutput::saveTimeSignals(bool worksheet)
{
    const QString path = FileChoice::ask(m_window, QStringLiteral("Zeitverläufe speichern unter"),
                                         PictureFileName::timeSignals(m_screen.picture(), "png"),
                                         {kPng, kSvg}, {"png", "svg"});
    if (path.isEmpty())
        return;
    QString error;
    if (!m_timeSignals.save(path, timeSignalsWidth(), &error, worksheet))
        QMessageBox::warning(&m_timeSignals, QStringLiteral("Zeitverläufe speichern"), error);
}

void PictureOutput::copyPlate(OverviewPlate::Form form, bool worksheet)
{
    copyToClipboard(PlateExporter::image(m_plate(form), PlateExporter::kDefaultWidth, worksheet),
                    QStringLiteral("Tafel kopieren"));
}

void PictureOutput::savePlate(OverviewPlate::Form form, bool worksheet)
{
    const QString path = FileChoice::ask(
        m_window, QStringLiteral("Übersichtstafel speichern unter"),
        PictureFileName::plate(form, m_ratio, "png"), {kPng, kSvg, kPdf}, {"png", "svg", "pdf"});
    if (path.isEmpty())
        return;
    QString error;
    if (!PlateExporter::save(m_plate(form), path, PlateExporter::kDefaultWidth, &error, worksheet))
        QMessageBox::warning(&m_window, QStringLiteral("Übersichtstafel speichern"), error);
}

void PictureOutput::printPlate(OverviewPlate::Form form)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Übersichtstafel"));
    const std::optional<bool> worksheet =
        PrintChoice::ask(m_window, printer, QStringLiteral("Übersichtstafel drucken"));
    if (!worksheet)
        return;
    QString error;
    if (!PagePrinter::print(m_plate(form), printer, *worksheet, &error))
        QMessageBox::warning(&m_window, QStringLiteral("Drucken"), error);
}

} // namespace korvelian
