#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QScrollBar;

namespace korvelian {

struct ControlLayout;

// "Wert eingeben…" of a scroll bar's menu: the value typed as a teacher writes it, checked at
// every keystroke. OK sets the bar to the nearest value it can take, as a drag would, and the
// line beneath the field says beforehand when that differs from what was typed.
class ValueDialog : public QDialog
{
    Q_OBJECT

public:
    ValueDialog(QScrollBar& bar, const ControlLayout& row, QWidget* parent);

    QLineEdit& field() const { return *m_field; }
    QLabel& message() const { return *m_message; }

    void accept() override;

private:
    void check();

    QScrollBar& m_bar;
    const ControlLayout& m_row;
    QLineEdit* m_field;
    QLabel* m_message;
    QDialogButtonBox* m_buttons;
};

} // namespace korvelian
