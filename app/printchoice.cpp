#include "printchoice.h"

#include "picture/filewriter.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

namespace korvelian {

namespace {

// Why a print into this file is refused, or an empty string: a name that is no regular file
// (see FileWriter::refusal), or a new name in a folder that is missing or not writable.
QString outputRefusal(const QString& path)
{
    if (QString refused = FileWriter::refusal(path); !refused.isEmpty())
        return refused;
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (info.exists())
        return {};
    if (!folder.isDir()) {
        return QStringLiteral("Den Ordner „%1“ gibt es nicht")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    }
    if (!folder.isWritable()) {
        return QStringLiteral("In den Ordner „%1“ darf nicht geschrieben werden")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    }
    return {};
}

} // namespace

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
    checkOutputFirst(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return !screenColours->isChecked();
}

// The button box and the file name field are the dialog's own children, found by their type
// and by the name the toolkit gives the field; the dialog's check, which also asks before a
// file is replaced, follows the program's when that passes.
void PrintChoice::checkOutputFirst(QPrintDialog& dialog)
{
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly);
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
    if (!buttons || !name)
        return;
    QObject::disconnect(buttons, &QDialogButtonBox::accepted, &dialog, nullptr);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, name] {
        // Disabled, the field belongs to no file: a printer is chosen.
        const QString refused = name->isEnabled() ? outputRefusal(name->text()) : QString();
        if (!refused.isEmpty()) {
            QMessageBox::warning(
                &dialog, dialog.windowTitle(),
                QStringLiteral("In die Datei „%1“ kann nicht gedruckt werden:\n%2.")
                    .arg(QDir::toNativeSeparators(QFileInfo(name->text()).absoluteFilePath()),
                         refused));
            return;
        }
        if (!QMetaObject::invokeMethod(&dialog, "_q_checkFields"))
            dialog.accept();
    });
}

} // namespace korvelian
