#include "presetmenus.h"

#include "form/layout.h"
#include "scene/presets.h"
#include "valuedialog.h"

#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>

namespace korvelian {

namespace {

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
    for (const BarPreset& preset : barPresets(row)) {
        const int value = preset.value;
        menu->addAction(QString::fromStdString(preset.caption), bar,
                        [bar, value] { bar->setValue(value); });
    }
    menu->addSeparator();
    menu->addAction(QString::fromUtf8(kValueEntryCaption), bar, [this, bar, &row] {
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
        auto* ratios = new QMenu(QString::fromUtf8(kRatiosCaption), &m_window);
        ratios->setObjectName(menuName(box));
        for (const RatioPreset& ratio : kRatioPresets) {
            ratios->addAction(QString::fromStdString(ratio.caption()), box,
                              [numerator, denominator, ratio] {
                                  type(numerator, ratio.numerator);
                                  type(denominator, ratio.denominator);
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
