#pragma once

#include <QString>

#include <optional>

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
};

} // namespace korvelian
