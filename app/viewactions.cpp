#include "viewactions.h"

#include "application.h"
#include "model/driftstep.h"
#include "widgets/helpwindow.h"
#include "form/layout.h"
#include "widgets/pageprinter.h"
#include "picture/pictureexporter.h"
#include "picture/plateexporter.h"
#include "widgets/plateview.h"
#include "handlers/ratioinuse.h"
#include "widgets/screenarea.h"
#include "handlers/soundcontrol.h"
#include "widgets/timesignalview.h"
#include "model/numbertext.h"
#include "windowzoom.h"
#include "widgets/zoompolicy.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QStandardPaths>
#include <QStyle>
#include <QTreeView>

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

const QString kPng = QStringLiteral("PNG-Bild (*.png)");
const QString kSvg = QStringLiteral("SVG-Grafik (*.svg)");
const QString kPdf = QStringLiteral("PDF-Dokument (*.pdf)");
const QString kSoundTip =
    QStringLiteral("x links, y rechts: f_x = Grundfrequenz, f_y = f_x · Zähler / Nenner");
const QString kSearchingOutput = QStringLiteral("Der Audioausgang wird gesucht …");

} // namespace

ViewActions::ViewActions(QWidget& window, ScreenArea& screen, TimeSignalView& timeSignals,
                         WindowZoom& zoom, const RatioInUse& ratio, PlateMaker plate)
    : QObject(&window), m_window(window), m_screen(screen), m_timeSignals(timeSignals),
      m_zoom(zoom), m_ratio(ratio), m_plate(std::move(plate))
{
    const QList<QAction*> pictureActions = {
        add(QStringLiteral("Bild kopieren"), QKeySequence::Copy, &ViewActions::copyPicture),
        add(QStringLiteral("Bild speichern unter…"), QKeySequence(Qt::CTRL | Qt::Key_S),
            &ViewActions::savePicture),
        add(QStringLiteral("Drucken…"), QKeySequence(Qt::CTRL | Qt::Key_P),
            &ViewActions::printPicture)};
    m_worksheet = add(QStringLiteral("Arbeitsblatt-Farben"), {}, nullptr);
    m_worksheet->setCheckable(true);
    addSeparator();
    addOption(QStringLiteral("Ablesehilfe"), {}, ViewOption::ReadingAid);
    addOption(QStringLiteral("Werte einblenden"), {}, ViewOption::Values);
    addOption(QStringLiteral("Raster"), {}, ViewOption::Graticule);
    addOption(QStringLiteral("y-Achse nach oben (wie am Oszilloskop)"), {}, ViewOption::YUp);
    addOption(QStringLiteral("Zeitverläufe"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
              ViewOption::TimeSignals);
    addOption(QStringLiteral("Nachleuchten"), {}, ViewOption::Afterglow);
    addOption(QStringLiteral("Phase wandern lassen"), {}, ViewOption::Drift);
    addDriftSpeeds();
    addPlateMenu();
    addSeparator();
    addSound();
    addSeparator();
    add(QStringLiteral("Zurücksetzen"), {}, &ViewActions::resetControls);
    addSeparator();
    QAction* larger = add(QStringLiteral("Vergrößern"), QKeySequence::ZoomIn, nullptr);
    // Ctrl and "+" is Ctrl+Shift+"=" on many keyboards, and the keypad has its own "+".
    larger->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(larger, &QAction::triggered, &m_zoom, &WindowZoom::zoomIn);
    QAction* smaller = add(QStringLiteral("Verkleinern"), QKeySequence::ZoomOut, nullptr);
    connect(smaller, &QAction::triggered, this,
            [this] { m_zoom.setZoomPercent(ZoomPolicy::smaller(m_zoom.zoomPercent())); });
    QAction* original =
        add(QStringLiteral("Originalgröße (100 %)"), QKeySequence(Qt::CTRL | Qt::Key_0), nullptr);
    connect(original, &QAction::triggered, this,
            [this] { m_zoom.setZoomPercent(ZoomPolicy::kSmallest); });
    QAction* fullScreen = add(QStringLiteral("Vollbild"), QKeySequence(Qt::Key_F11), nullptr);
    fullScreen->setCheckable(true);
    // Each press toggles; the tick shows the window's state, which the window manager may change
    // too.
    connect(fullScreen, &QAction::triggered, &m_zoom, &WindowZoom::toggleFullScreen);
    connect(&m_zoom, &WindowZoom::fullScreenChanged, fullScreen, &QAction::setChecked);
    addSeparator();
    add(QStringLiteral("Hilfe"), QKeySequence(Qt::Key_F1), &ViewActions::showHelp);
    add(QStringLiteral("Über %1").arg(kProgramName), {}, &ViewActions::showAbout);

    // Ctrl+Q is the "Programm beenden" button, without a menu entry of its own.
    auto* quit = new QAction(QStringLiteral("Programm beenden"), this);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &ViewActions::quitChosen);
    m_window.addAction(quit);

    // A menu of the screen's actions as the toolkit would make it, but showing the tooltips,
    // which say why there is no sound.
    m_screen.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_screen, &QWidget::customContextMenuRequested, this, &ViewActions::showContextMenu);
    addTimeSignalActions(pictureActions);
}

QAction* ViewActions::addOption(const QString& text, const QKeySequence& key, ViewOption option)
{
    QAction* action = add(text, key, nullptr);
    action->setCheckable(true);
    connect(action, &QAction::toggled, this, [this, option](bool on) {
        emit optionChosen(option, on);
        if (option == ViewOption::YUp && m_help)
            m_help->setYUp(on);
    });
    m_options[static_cast<std::size_t>(option)] = action;
    return action;
}

void ViewActions::addDriftSpeeds()
{
    auto* menu = new QMenu(QStringLiteral("Wandergeschwindigkeit"), &m_window);
    auto* group = new QActionGroup(menu);
    static const char* const words[] = {"sehr langsam", "langsam", "normal", "schnell",
                                        "sehr schnell"};
    static_assert(std::size(words) == kDriftChoices.size());
    for (std::size_t i = 0; i < kDriftChoices.size(); ++i) {
        const double seconds = kDriftChoices[i];
        QAction* speed = menu->addAction(QStringLiteral("%1: eine Umdrehung in %2 s")
                                             .arg(QString::fromUtf8(words[i]))
                                             .arg(seconds));
        speed->setCheckable(true);
        speed->setChecked(seconds == kDriftSecondsPerTurn);
        group->addAction(speed);
        connect(speed, &QAction::triggered, this,
                [this, seconds] { emit driftSpeedChosen(seconds); });
        m_driftSpeeds << speed;
    }
    m_screen.addAction(menu->menuAction());
}

void ViewActions::addTimeSignalActions(const QList<QAction*>& pictureActions)
{
    // The window's keys work there too, as that window's shortcuts, so that no key has two
    // meanings in either window. The screen's picture is not copied, saved or printed from
    // there: its Ctrl+C and Ctrl+S are the time signals' own.
    for (QAction* action : m_window.actions()) {
        if (pictureActions.contains(action))
            continue;
        for (const QKeySequence& key : action->shortcuts()) {
            connect(new QShortcut(key, &m_timeSignals), &QShortcut::activated, action,
                    &QAction::trigger);
        }
    }
    auto addTo = [this](const QString& text, const QKeySequence& key, void (ViewActions::*slot)()) {
        auto* action = new QAction(text, this);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        m_timeSignals.addAction(action);
    };
    addTo(QStringLiteral("Zeitverläufe kopieren"), QKeySequence::Copy,
          &ViewActions::copyTimeSignals);
    addTo(QStringLiteral("Zeitverläufe speichern unter…"), QKeySequence(Qt::CTRL | Qt::Key_S),
          &ViewActions::saveTimeSignals);
    m_timeSignals.addAction(m_worksheet);
}

void ViewActions::setOption(ViewOption option, bool on)
{
    m_options[static_cast<std::size_t>(option)]->setChecked(on);
}

bool ViewActions::option(ViewOption option) const
{
    return m_options[static_cast<std::size_t>(option)]->isChecked();
}

void ViewActions::setDriftSecondsPerTurn(double seconds)
{
    for (std::size_t i = 0; i < kDriftChoices.size(); ++i) {
        if (kDriftChoices[i] == seconds)
            m_driftSpeeds[static_cast<qsizetype>(i)]->trigger();
    }
}

void ViewActions::showDriftSpeed(double seconds)
{
    for (std::size_t i = 0; i < kDriftChoices.size(); ++i) {
        if (kDriftChoices[i] == seconds)
            m_driftSpeeds[static_cast<qsizetype>(i)]->setChecked(true);
    }
}

void ViewActions::addSound()
{
    m_sound = add(QStringLiteral("Ton"), QKeySequence(Qt::CTRL | Qt::Key_T), nullptr);
    m_sound->setCheckable(true);
    connect(m_sound, &QAction::toggled, this, &ViewActions::soundChosen);
    auto* frequencies = new QMenu(QStringLiteral("Grundfrequenz"), &m_window);
    frequencies->setToolTipsVisible(true);
    auto* group = new QActionGroup(frequencies);
    for (const int hertz : kBaseFrequencies) {
        QAction* entry = frequencies->addAction(QStringLiteral("%1 Hz").arg(hertz));
        entry->setCheckable(true);
        entry->setChecked(hertz == static_cast<int>(SoundControl::kDefaultBaseFrequency));
        entry->setData(hertz);
        group->addAction(entry);
        connect(entry, &QAction::triggered, this,
                [this, hertz] { emit baseFrequencyChosen(hertz); });
    }
    m_baseFrequency = frequencies->menuAction();
    m_screen.addAction(m_baseFrequency);
    setSoundAvailable(false, kSearchingOutput);
}

void ViewActions::showContextMenu(const QPoint& position)
{
    QMenu menu(&m_screen);
    menu.setToolTipsVisible(true);
    menu.addActions(m_screen.actions());
    menu.exec(m_screen.mapToGlobal(position));
}

QAction* ViewActions::add(const QString& text, const QKeySequence& key, void (ViewActions::*slot)())
{
    auto* action = new QAction(text, this);
    action->setShortcut(key);
    if (slot)
        connect(action, &QAction::triggered, this, slot);
    m_window.addAction(action);
    m_screen.addAction(action);
    return action;
}

void ViewActions::addPlateMenu()
{
    auto* menu = new QMenu(QStringLiteral("Übersichtstafel"), &m_window);
    menu->setObjectName("plate");
    auto* forms = new QActionGroup(menu);
    QAction* ratios = menu->addAction(QStringLiteral("Verhältnisse 1 bis 4"));
    m_phasesPlate = menu->addAction(QStringLiteral("Phasen 0° bis 180°"));
    for (QAction* form : {ratios, m_phasesPlate}) {
        form->setCheckable(true);
        forms->addAction(form);
    }
    ratios->setChecked(true);
    // The phases' entry names the ratio they are drawn at.
    connect(menu, &QMenu::aboutToShow, this, [this] {
        m_phasesPlate->setText(QStringLiteral("Phasen 0° bis 180° bei %1 : %2")
                                   .arg(QString::fromStdString(germanNumber(m_ratio.numerator)),
                                        QString::fromStdString(germanNumber(m_ratio.denominator))));
    });
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Tafel zeigen")), &QAction::triggered, this,
            &ViewActions::showPlate);
    m_plateFiles = {menu->addAction(QStringLiteral("Tafel kopieren")),
                    menu->addAction(QStringLiteral("Tafel speichern unter…")),
                    menu->addAction(QStringLiteral("Tafel drucken…"))};
    connect(m_plateFiles[0], &QAction::triggered, this, &ViewActions::copyPlate);
    connect(m_plateFiles[1], &QAction::triggered, this, &ViewActions::savePlate);
    connect(m_plateFiles[2], &QAction::triggered, this, &ViewActions::printPlate);
    m_screen.addAction(menu->menuAction());
}

void ViewActions::addSeparator()
{
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    m_screen.addAction(separator);
}

bool ViewActions::worksheet() const
{
    return m_worksheet->isChecked();
}

void ViewActions::setSoundAvailable(bool available, const QString& why)
{
    if (!available)
        m_sound->setChecked(false);
    m_sound->setEnabled(available);
    m_sound->setToolTip(available ? kSoundTip : why);
    m_baseFrequency->setEnabled(available);
    m_baseFrequency->setToolTip(available ? QString() : why);
}

void ViewActions::showBaseFrequency(int hertz)
{
    for (QAction* entry : m_baseFrequency->menu()->actions())
        entry->setChecked(entry->data().toInt() == hertz);
}

void ViewActions::copyToClipboard(const QImage& picture, const QString& title)
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

void ViewActions::copyPicture()
{
    const int width = m_screen.image().width();
    copyToClipboard(PictureExporter::image(m_screen.picture(), width, worksheet()),
                    QStringLiteral("Bild kopieren"));
}

QString ViewActions::askFileName(const QString& title, const QString& proposed,
                                 const QStringList& filters, const QStringList& endings)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    QFileDialog dialog(&m_window, title, QDir(folder).filePath(proposed), filters.join(";;"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The dialog adds the ending before it asks whether to replace a file, so that it asks
    // about the name that will be written.
    dialog.setDefaultSuffix(endings.front());
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(endings.value(filters.indexOf(filter), endings.front()));
    });
    // The toolkit keeps the columns' widths from one dialog to the next, also from one at 100 %
    // to one in the zoomed font, where size, type and date then show as "1…B": once the folder
    // is read they are fitted to what they show, and the name takes the room left (less a
    // scroll bar's, which the rows may bring after).
    auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* files = dialog.findChild<QFileSystemModel*>();
    if (details && files) {
        connect(files, &QFileSystemModel::directoryLoaded, &dialog, [details] {
            int others = 0;
            for (int column = 1; column < details->header()->count(); ++column) {
                details->resizeColumnToContents(column);
                others += details->columnWidth(column);
            }
            const auto* view = static_cast<const QAbstractItemView*>(details);
            const int bar = details->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            details->setColumnWidth(0, std::max(view->sizeHintForColumn(0),
                                                details->viewport()->width() - others - bar));
        });
    }
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        const QString chosen = dialog.selectedFiles().constFirst();
        QString path = chosen;
        if (!endings.contains(QFileInfo(path).suffix().toLower()))
            path += '.' + dialog.defaultSuffix();
        // A name with another ending ("notes.txt"), or a dialog of the desktop that adds no
        // ending, asked about another name than the one written: the question comes here.
        if (path == chosen || !QFileInfo::exists(path) || replaceConfirmed(path, title))
            return path;
        dialog.selectFile(path);
    }
}

void ViewActions::savePicture()
{
    const QString path = askFileName(QStringLiteral("Bild speichern unter"),
                                     PictureExporter::defaultFileName(m_screen.picture(), "png"),
                                     {kPng, kSvg}, {"png", "svg"});
    if (path.isEmpty())
        return;
    QString error;
    if (!PictureExporter::save(m_screen.picture(), path, m_screen.image().width(), &error,
                               worksheet())) {
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

bool ViewActions::replaceConfirmed(const QString& path, const QString& title)
{
    // The file dialog's own question, in the toolkit's translation.
    const QString question =
        QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
            .arg(QFileInfo(path).fileName());
    return QMessageBox::warning(&m_window, title, question, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

int ViewActions::timeSignalsWidth() const
{
    // As many pixels as the window shows.
    return static_cast<int>(std::lround(m_timeSignals.width() * m_timeSignals.devicePixelRatioF()));
}

void ViewActions::copyTimeSignals()
{
    copyToClipboard(m_timeSignals.picture(timeSignalsWidth(), worksheet()),
                    QStringLiteral("Zeitverläufe kopieren"));
}

void ViewActions::saveTimeSignals()
{
    const QString path = askFileName(QStringLiteral("Zeitverläufe speichern unter"),
                                     PictureExporter::defaultFileName(m_screen.picture(), "png")
                                         .replace("korvelian", "zeitverlaeufe"),
                                     {kPng, kSvg}, {"png", "svg"});
    if (path.isEmpty())
        return;
    QString error;
    if (!m_timeSignals.save(path, timeSignalsWidth(), &error, worksheet()))
        QMessageBox::warning(&m_timeSignals, QStringLiteral("Zeitverläufe speichern"), error);
}

void ViewActions::printPicture()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(PictureExporter::defaultFileName(m_screen.picture(), "pdf"));
    const std::optional<bool> worksheet =
        askPrinter(printer, QStringLiteral("Korvelian-Figur drucken"));
    if (!worksheet)
        return;
    QString error;
    if (!PagePrinter::print(m_screen.picture(), printer, *worksheet, &error))
        QMessageBox::warning(&m_window, QStringLiteral("Drucken"), error);
}

std::optional<bool> ViewActions::askPrinter(QPrinter& printer, const QString& title)
{
    QPrintDialog dialog(&printer, &m_window);
    dialog.setWindowTitle(title);
    // A page in worksheet colours unless asked otherwise: a black page wastes a cartridge and
    // is hard to write on.
    auto* colours = new QWidget;
    colours->setWindowTitle(QStringLiteral("Farben"));
    auto* screenColours = new QCheckBox(
        QStringLiteral("In Bildschirmfarben drucken (weiße Figur auf Schwarz)"), colours);
    screenColours->setObjectName("screenColours");
    auto* layout = new QVBoxLayout(colours);
    layout->addWidget(screenColours);
    layout->addStretch();
    dialog.setOptionTabs({colours});
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return !screenColours->isChecked();
}

void ViewActions::resetControls()
{
    // The six parameter controls back to their start values, each through its own Change
    // handler as a user's entry would go: the bars first, then the ratio as typed.
    for (const ControlLayout& row : kControls) {
        if (row.kind == ControlKind::ScrollBar)
            m_window.findChild<QScrollBar*>(row.name)->setValue(row.value);
    }
    for (const TextBox box : {TextBox::Numerator, TextBox::Denominator}) {
        m_window.findChild<QLineEdit*>(controlName(box))
            ->setText(QString::fromUtf8(control(box).caption));
    }
}

OverviewPlate::Form ViewActions::plateForm() const
{
    return m_phasesPlate->isChecked() ? OverviewPlate::Form::Phases : OverviewPlate::Form::Ratios;
}

void ViewActions::setPlateForm(OverviewPlate::Form form)
{
    const QList<QAction*> forms = m_phasesPlate->actionGroup()->actions();
    forms[form == OverviewPlate::Form::Phases ? 1 : 0]->setChecked(true);
}

void ViewActions::showPlate()
{
    if (!m_plateView) {
        m_plateView = new PlateView(m_window);
        m_plateView->setAttribute(Qt::WA_DeleteOnClose);
        // A right click on the plate copies, saves or prints it, as in the screen's menu.
        m_plateView->addActions(m_plateFiles);
        m_plateView->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    m_plateView->showPlate(m_plate(plateForm()), worksheet());
}

void ViewActions::copyPlate()
{
    copyToClipboard(
        PlateExporter::image(m_plate(plateForm()), PlateExporter::kDefaultWidth, worksheet()),
        QStringLiteral("Tafel kopieren"));
}

void ViewActions::savePlate()
{
    const QString name = plateForm() == OverviewPlate::Form::Ratios
                             ? QStringLiteral("korvelian-tafel-verhaeltnisse.png")
                             : QStringLiteral("korvelian-tafel-phasen-%1-%2.png")
                                   .arg(QString::number(m_ratio.numerator, 'g', 10),
                                        QString::number(m_ratio.denominator, 'g', 10));
    const QString path = askFileName(QStringLiteral("Übersichtstafel speichern unter"), name,
                                     {kPng, kSvg, kPdf}, {"png", "svg", "pdf"});
    if (path.isEmpty())
        return;
    QString error;
    if (!PlateExporter::save(m_plate(plateForm()), path, PlateExporter::kDefaultWidth, &error,
                             worksheet()))
        QMessageBox::warning(&m_window, QStringLiteral("Übersichtstafel speichern"), error);
}

void ViewActions::printPlate()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Übersichtstafel"));
    const std::optional<bool> worksheet =
        askPrinter(printer, QStringLiteral("Übersichtstafel drucken"));
    if (!worksheet)
        return;
    QString error;
    if (!PagePrinter::print(m_plate(plateForm()), printer, *worksheet, &error))
        QMessageBox::warning(&m_window, QStringLiteral("Drucken"), error);
}

void ViewActions::showHelp()
{
    if (!m_help) {
        m_help = new HelpWindow(&m_window);
        m_help->setYUp(option(ViewOption::YUp));
    }
    m_help->showAt(m_zoom.zoomPercent() / 100.0, m_zoom.largestFittingZoom());
}

void ViewActions::showAbout()
{
    QMessageBox::about(&m_window, QStringLiteral("Über %1").arg(kProgramName),
                       QStringLiteral("<p><b>%1</b> – Simulation Oszilloskop</p>"
                                      "<p>Version %2</p><p>Lizenz: %3</p><p>Mit Qt %4</p>")
                           .arg(kProgramName, QStringLiteral(KORVELIAN_VERSION),
                                QStringLiteral(KORVELIAN_LICENSE),
                                QString::fromLatin1(qVersion())));
}

} // namespace korvelian
