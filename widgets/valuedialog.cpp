#include "valuedialog.h"

#include "model/barvalues.h"
#include "form/layout.h"
#include "model/numbertext.h"
#include "scene/texts.h"
#include "picture/typedvalue.h"

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
    const QString name = QString::fromUtf8(row.accessibleName);
    const bool amplitude = isAmplitudeBar(row);
    setWindowTitle(QStringLiteral("%1 eingeben").arg(name));
    auto* prompt = new QLabel(amplitude ? QStringLiteral("%1 von 0 bis 2:").arg(name)
                                        : QStringLiteral("%1 in Grad, von 0 bis 360:").arg(name),
                              this);
    prompt->setBuddy(m_field);
    // The bar's value as the readout writes it, ready to be typed over.
    m_field->setText(QString::fromStdString(amplitude
                                                ? germanNumber(barUnits(bar.value()), 'f', 2)
                                                : germanNumber(phaseDegrees(bar.value()), 'f', 1)));
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
    const TypedValue typed = readTypedValue(m_row, m_field->text());
    m_message->setText(typed.message);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(typed.barValue.has_value());
}

void ValueDialog::accept()
{
    const TypedValue typed = readTypedValue(m_row, m_field->text());
    if (!typed.barValue)
        return;
    // The bar's Change handler redraws, as after a drag.
    m_bar.setValue(*typed.barValue);
    QDialog::accept();
}

} // namespace korvelian
