#include "headlessexport.h"

#include "form/form1.h"
#include "headlesswindow.h"
#include "lesson/lessonstep.h"
#include "picture/pictureexporter.h"
#include "picture/plateexporter.h"

#include <QFileInfo>

namespace korvelian {

namespace {

bool noSize = false;

void noteNoSize(QtMsgType, const QMessageLogContext&, const QString& text)
{
    if (text.startsWith(QLatin1String("QFont::setPixelSize: Pixel size <= 0")))
        noSize = true;
}

// Whether drawing asks the toolkit for a font of no size, for a text that cannot be drawn: the
// toolkit says so only in a message of its own.
bool textOfNoSize(const std::function<void()>& draw)
{
    noSize = false;
    const QtMessageHandler before = qInstallMessageHandler(noteNoSize);
    draw();
    qInstallMessageHandler(before);
    return noSize;
}

} // namespace

const LessonSettings* HeadlessExport::lessonStep() const
{
    return m_settings.lesson ? &m_settings.lesson->steps.front() : nullptr;
}

bool HeadlessExport::view(bool option, LessonView view) const
{
    return option || (lessonStep() && lessonStep()->view(view));
}

void HeadlessExport::applyTo(WindowOperations& window) const
{
    if (const LessonSettings* step = lessonStep())
        applyControls(*step, window);
    for (const auto& [bar, value] : m_settings.scrollValues)
        window.setScrollValue(bar, static_cast<std::int16_t>(value));
    if (m_settings.ratio) {
        window.setText(TextBox::Numerator, m_settings.ratio->first.toStdString());
        window.setText(TextBox::Denominator, m_settings.ratio->second.toStdString());
    }
}

CommandLine::Answer HeadlessExport::run() const
{
    HeadlessWindow window;
    // Before the bars are set: the textbook's reading decides what they mean.
    window.form().setTextbook(m_settings.textbook);
    applyTo(window);
    // A refused ratio leaves the previous figure on the screen: a file of it would not show
    // what was asked for.
    if (window.form().variables().ratio.refused) {
        return CommandLine::failure(2,
                                    QString("--ratio %1:%2: %3")
                                        .arg(m_settings.ratio->first, m_settings.ratio->second,
                                             QString::fromStdString(window.text(TextBox::Hint))));
    }
    // The orientation and the fine curve apply to the picture and the plate alike; a lesson's
    // first step brings its views.
    window.screen().yUp = view(m_settings.yUp, LessonView::YUp) || m_settings.textbook;
    window.screen().fine = m_settings.fine;
    return m_settings.tablePath ? table(window) : picture(window);
}

CommandLine::Answer HeadlessExport::picture(HeadlessWindow& window) const
{
    ScreenPicture& screen = window.screen();
    screen.readingAid = view(m_settings.readingAid, LessonView::ReadingAid);
    screen.values = view(m_settings.values, LessonView::Values);
    screen.graticule = view(m_settings.graticule, LessonView::Graticule);
    const int usual = PictureExporter::widthAtHundred(screen);
    const int width = m_settings.exportWidth ? m_settings.exportWidth : usual;
    const int least = smallestDrawable(width, usual, [&](int tried) {
        static_cast<void>(PictureExporter::image(screen, tried, m_settings.worksheet));
    });
    if (least > width)
        return tooNarrow(width, least);
    QString error;
    if (!PictureExporter::save(screen, *m_settings.exportPath, width, &error, m_settings.worksheet))
        return CommandLine::failure(1, error.replace('\n', ' '));
    return {};
}

CommandLine::Answer HeadlessExport::table(HeadlessWindow& window) const
{
    const OverviewPlate plate =
        window.plate(m_settings.tableForm.value_or(OverviewPlate::Form::Ratios));
    const int width =
        m_settings.exportWidth ? m_settings.exportWidth : PlateExporter::kDefaultWidth;
    // Paper takes worksheet colours: a PDF and every worksheet, unless the screen's are asked
    // for.
    const bool sheet = m_settings.sheet.sheet != OverviewPlate::Sheet::Plate;
    const bool paper = QFileInfo(*m_settings.tablePath).suffix().toLower() == "pdf" || sheet;
    const bool worksheet = m_settings.worksheet || (paper && !m_settings.screenColours);
    const int least = smallestDrawable(width, PlateExporter::kDefaultWidth, [&](int tried) {
        if (sheet)
            static_cast<void>(PlateExporter::sheetImage(plate, tried, worksheet, m_settings.sheet));
        else
            static_cast<void>(PlateExporter::image(plate, tried, worksheet));
    });
    if (least > width)
        return tooNarrow(width, least);
    QString error;
    if (!PlateExporter::save(plate, *m_settings.tablePath, width, &error, worksheet,
                             m_settings.sheet))
        return CommandLine::failure(1, error.replace('\n', ' '));
    return {};
}

// Texts shrink with the picture, and at its usual width every one of them is drawn: below it
// the narrowest width that draws them all is sought between the two.
int HeadlessExport::smallestDrawable(int width, int usual, const std::function<void(int)>& draw)
{
    if (width >= usual || !textOfNoSize([&] { draw(width); }))
        return width;
    int tooNarrow = width;
    int enough = usual;
    while (enough - tooNarrow > 1) {
        const int middle = tooNarrow + (enough - tooNarrow) / 2;
        (textOfNoSize([&] { draw(middle); }) ? tooNarrow : enough) = middle;
    }
    return enough;
}

CommandLine::Answer HeadlessExport::tooNarrow(int width, int least)
{
    return CommandLine::failure(2, QString("--size %1: So schmal hätten Schriften des Bildes keine "
                                           "Größe mehr; bitte mindestens %2 Pixel angeben.")
                                       .arg(width)
                                       .arg(least));
}

} // namespace korvelian
