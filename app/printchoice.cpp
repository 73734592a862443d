#include "printchoice.h"

#include <QCheckBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

namespace korvelian {

std::optional<bool> PrintChoice::ask(QWidget& parent, QPrinter& printer, const QString& title)
{
    QPrintDialog dialog(&printer, &parent);
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

} // namespace korvelian
