#include "valuedialog.h"

#include "model/barvalues.h"
#include "form/layout.h"
#include "model/numbertext.h"
#include "scene/texts.h"
#include "scene/typedvalue.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace korvelian {

ValueDialog::ValueDialog(QScrollBar& bar, const ControlLayout& row, QWidget* parent)
    : QDialog(parent), m_bar(bar), m_row(row), m_field(new QLineEdit(this)),
      m_message(new QLabel(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(QString::fromStdString(valueEntryTitle(row)));
    auto* prompt = new QLabel(QString::fromStdString(valueEntryPrompt(row)), this);
    prompt->setBuddy(m_field);
    m_field->setText(QString::fromStdString(valueEntryStart(row, bar.value())));
    m_field->selectAll();
    // Room for the longest message in one line from the start, so that the dialog neither
    // jumps nor cuts a message short while the user types.
    const QFontMetrics metrics(m_message->font());
    m_message->setMinimumSize(
        metrics.horizontalAdvance(
            QStringLiteral("359,99° → 359,82°: der Regler stellt in Hundertstel Radiant ein")),
        metrics.height());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_field);
    layout->addWidget(m_message);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &ValueDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &ValueDialog::reject);
    connect(m_field, &QLineEdit::textChanged, this, &ValueDialog::check);
    check();
}

void ValueDialog::check()
{
    const TypedValue typed = readTypedValue(m_row, m_field->text().toStdString());
    m_message->setText(QString::fromStdString(typed.message));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(typed.barValue.has_value());
}

void ValueDialog::accept()
{
    const TypedValue typed = readTypedValue(m_row, m_field->text().toStdString());
    if (!typed.barValue)
        return;
    // The bar's Change handler redraws, as after a drag.
    m_bar.setValue(*typed.barValue);
    QDialog::accept();
}

} // namespace korvelian
