#include "filechoice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStyle>
#include <QTreeView>

#include <algorithm>

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
