#pragma once

#include <QString>

#include <optional>

class QPrintDialog;
class QPrinter;
class QWidget;

namespace korvelian {

// The print dialog with a tab for the colours.
class PrintChoice
{
public:
    // Worksheet colours unless screen colours are ticked. Gives whether the page is in
    // worksheet colours, nothing when the dialog is cancelled.
    static std::optional<bool> ask(QWidget& parent, QPrinter& printer, const QString& title);

private:
    // The dialog's own check of the output file opens it, and opening a named pipe waits
    // until someone reads it: the window would hang. "Drucken" asks the program's check first.
    static void checkOutputFirst(QPrintDialog& dialog);
};

} // namespace korvelian
