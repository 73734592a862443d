#include "headlessexport.h"

#include "form/form1.h"
#include "headlesswindow.h"
#include "picture/pictureexporter.h"
#include "picture/plateexporter.h"

namespace korvelian {

void HeadlessExport::applyTo(WindowOperations& window) const
{
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
    applyTo(window);
    // A refused ratio leaves the previous figure on the screen: a file of it would not show
    // what was asked for.
    if (window.form().variables().ratio.refused) {
        return CommandLine::failure(2,
                                    QString("--ratio %1:%2: %3")
                                        .arg(m_settings.ratio->first, m_settings.ratio->second,
                                             QString::fromStdString(window.text(TextBox::Hint))));
    }
    // The orientation applies to the picture and the plate alike.
    window.screen().yUp = m_settings.yUp;
    return m_settings.tablePath ? table(window) : picture(window);
}

CommandLine::Answer HeadlessExport::picture(HeadlessWindow& window) const
{
    ScreenPicture& screen = window.screen();
    screen.readingAid = m_settings.readingAid;
    screen.values = m_settings.values;
    screen.graticule = m_settings.graticule;
    const int width =
        m_settings.exportWidth ? m_settings.exportWidth : PictureExporter::widthAtHundred(screen);
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
    QString error;
    if (!PlateExporter::save(plate, *m_settings.tablePath, width, &error, m_settings.worksheet))
        return CommandLine::failure(1, error.replace('\n', ' '));
    return {};
}

} // namespace korvelian
