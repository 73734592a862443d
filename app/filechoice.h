#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace korvelian {

// The save dialog: the name of a file to be written, in the pictures folder to begin with, with
// the ending of the format chosen, and replacing an existing file only when the user says so.
class FileChoice
{
public:
    // The file name the user chose, or an empty one. filters and endings pair up
    // ("PNG-Bild (*.png)", "png"): a name without one of the endings gets the chosen filter's.
    static QString ask(QWidget& parent, const QString& title, const QString& proposed,
                       const QStringList& filters, const QStringList& endings);

private:
    // Asks whether the existing file of this name is to be replaced.
    static bool replaceConfirmed(QWidget& parent, const QString& path, const QString& title);
    static void fitColumnsOnceRead(QFileDialog& dialog);
    static void explainLongNames(QFileDialog& dialog);
    // The most bytes a name may have in the folder.
    static long longestName(const QString& folder);
};

} // namespace korvelian
