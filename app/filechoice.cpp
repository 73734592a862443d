#include "filechoice.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QToolTip>
#include <QTreeView>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace korvelian {

QString FileChoice::ask(QWidget& parent, const QString& title, const QString& proposed,
                        const QStringList& filters, const QStringList& endings)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    QFileDialog dialog(&parent, title, QDir(folder).filePath(proposed), filters.join(";;"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The dialog adds the ending before it asks whether to replace a file, so that it asks
    // about the name that will be written.
    dialog.setDefaultSuffix(endings.front());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(endings.value(filters.indexOf(filter), endings.front()));
    });
    fitColumnsOnceRead(dialog);
    explainLongNames(dialog);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        const QString chosen = dialog.selectedFiles().constFirst();
        QString path = chosen;
        if (!endings.contains(QFileInfo(path).suffix().toLower()))
            path += '.' + dialog.defaultSuffix();
        // A name with another ending ("notes.txt"), or a dialog of the desktop that adds no
        // ending, asked about another name than the one written: the question comes here.
        if (path == chosen || !QFileInfo::exists(path) || replaceConfirmed(parent, path, title))
            return path;
        dialog.selectFile(path);
    }
}

// The toolkit keeps the columns' widths from one dialog to the next, also from one at 100 % to
// one in the zoomed font, where size, type and date then show as "1…B": once the folder is read
// they are fitted to what they show, and the name takes the room left (less a scroll bar's,
// which the rows may bring after). The details view has no other name than its object name.
void FileChoice::fitColumnsOnceRead(QFileDialog& dialog)
{
    auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* files = dialog.findChild<QFileSystemModel*>();
    if (!details || !files)
        return;
    QObject::connect(files, &QFileSystemModel::directoryLoaded, &dialog, [details] {
        int others = 0;
        for (int column = 1; column < details->header()->count(); ++column) {
            details->resizeColumnToContents(column);
            others += details->columnWidth(column);
        }
        const auto* view = static_cast<const QAbstractItemView*>(details);
        const int bar = details->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        details->setColumnWidth(
            0, std::max(view->sizeHintForColumn(0), details->viewport()->width() - others - bar));
    });
}

// The dialog greys "Speichern" for a name longer than the folder allows, without a word why:
// the reason stands in the tooltips of the name field and of the button, and shows at once.
// The field and the buttons are found by the names the toolkit gives them.
void FileChoice::explainLongNames(QFileDialog& dialog)
{
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QPushButton* save = buttons ? buttons->button(QDialogButtonBox::Save) : nullptr;
    if (!field || !save)
        return;
    QObject::connect(field, &QLineEdit::textChanged, &dialog, [&dialog, field, save] {
        const QFileInfo typed(QDir(dialog.directory()).filePath(field->text()));
        const qsizetype bytes = QFile::encodeName(typed.fileName()).size();
        const long most = longestName(typed.absolutePath());
        const QString why =
            bytes <= most ? QString()
                          : QStringLiteral("Der Dateiname ist zu lang: erlaubt sind höchstens %1 "
                                           "Bytes, dieser hat %2.")
                                .arg(most)
                                .arg(bytes);
        field->setToolTip(why);
        save->setToolTip(why);
        if (!why.isEmpty())
            QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), why, field);
    });
}

long FileChoice::longestName(const QString& folder)
{
    constexpr long kUsual = 255;
#ifdef Q_OS_UNIX
    // A folder not made yet has the limits of the file system it would be on.
    QString existing = folder;
    while (!QFileInfo(existing).isDir() && QFileInfo(existing).absolutePath() != existing)
        existing = QFileInfo(existing).absolutePath();
    const long most = ::pathconf(QFile::encodeName(existing).constData(), _PC_NAME_MAX);
    return most > 0 ? most : kUsual;
#else
    Q_UNUSED(folder);
    return kUsual;
#endif
}

bool FileChoice::replaceConfirmed(QWidget& parent, const QString& path, const QString& title)
{
    // The file dialog's own question, in the toolkit's translation.
    const QString question =
        QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
            .arg(QFileInfo(path).fileName());
    return QMessageBox::warning(&parent, title, question, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

} // namespace korvelian
