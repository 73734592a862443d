#include "presetmenus.h"

#include "model/barvalues.h"
#include "form/layout.h"
#include "scene/texts.h"
#include "valuedialog.h"

#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QScrollBar>

#include <array>
#include <cmath>

namespace korvelian {

namespace {

constexpr std::array kPhaseDegrees{0, 30, 45, 60, 90, 120, 135, 150, 180, 270};
constexpr std::array kAmplitudes{50, 100, 150, 200};
constexpr std::array<std::array<int, 2>, 9> kRatios{
    {{1, 1}, {1, 2}, {2, 1}, {1, 3}, {2, 3}, {3, 2}, {3, 4}, {4, 5}, {5, 6}}};

// As a user types it: the whole text replaced by the new one, undoable.
void type(QLineEdit* box, int number)
{
    box->selectAll();
    box->insert(QString::number(number));
}

QString menuName(const QWidget* control)
{
    return QStringLiteral("presets-") + control->objectName();
}

} // namespace

PresetMenus::PresetMenus(QWidget& window) : QObject(&window), m_window(window)
{
    for (const ControlLayout& row : kControls) {
        if (row.kind == ControlKind::ScrollBar)
            addBar(window.findChild<QScrollBar*>(row.name), row);
    }
    addRatioBoxes(window.findChild<QLineEdit*>(controlName(TextBox::Numerator)),
                  window.findChild<QLineEdit*>(controlName(TextBox::Denominator)));
}

QMenu* PresetMenus::menuFor(const QWidget* control) const
{
    return m_window.findChild<QMenu*>(menuName(control));
}

void PresetMenus::addBar(QScrollBar* bar, const ControlLayout& row)
{
    auto* menu = new QMenu(&m_window);
    menu->setObjectName(menuName(bar));
    if (!isAmplitudeBar(row)) {
        for (const int degrees : kPhaseDegrees) {
            const int value = phaseBarValue(degrees);
            menu->addAction(QStringLiteral("%1°").arg(degrees), bar,
                            [bar, value] { bar->setValue(value); });
        }
    } else {
        for (const int value : kAmplitudes) {
            const QString text =
                QLocale(QLocale::German, QLocale::Germany).toString(barUnits(value), 'f', 1);
            menu->addAction(text, bar, [bar, value] { bar->setValue(value); });
        }
    }
    menu->addSeparator();
    menu->addAction(QStringLiteral("Wert eingeben…"), bar, [this, bar, &row] {
        ValueDialog dialog(*bar, row, &m_window);
        dialog.exec();
    });
    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(bar, &QWidget::customContextMenuRequested, menu,
            [bar, menu](const QPoint& at) { menu->exec(bar->mapToGlobal(at)); });
}

void PresetMenus::addRatioBoxes(QLineEdit* numerator, QLineEdit* denominator)
{
    for (QLineEdit* box : {numerator, denominator}) {
        auto* ratios = new QMenu(QStringLiteral("Verhältnis Zähler : Nenner"), &m_window);
        ratios->setObjectName(menuName(box));
        for (const auto& [z, n] : kRatios) {
            ratios->addAction(QStringLiteral("%1:%2").arg(z).arg(n), box,
                              [numerator, denominator, z, n] {
                                  type(numerator, z);
                                  type(denominator, n);
                              });
        }
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QWidget::customContextMenuRequested, ratios, [box, ratios](const QPoint& at) {
            QMenu* menu = box->createStandardContextMenu();
            menu->addSeparator();
            menu->addMenu(ratios);
            menu->exec(box->mapToGlobal(at));
            delete menu;
        });
    }
}

} // namespace korvelian
