// The overview plate's entries of the screen's menu: which plate, shown in its window, copied,
// saved or printed, on the screen's colours or the worksheet's.
#include "viewactions.h"

#include "handlers/ratioinuse.h"
#include "scene/menuwords.h"
#include "widgets/plateview.h"
#include "widgets/screenarea.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace korvelian {

void ViewActions::addPlateMenu()
{
    auto* menu = new QMenu(QString::fromUtf8(kPlateCaption), &m_window);
    menu->setObjectName("plate");
    auto* forms = new QActionGroup(menu);
    QAction* ratios = menu->addAction(QString::fromUtf8(kRatiosPlateCaption));
    m_phasesPlate = menu->addAction(QString::fromUtf8(kPhasesPlateCaption));
    for (QAction* form : {ratios, m_phasesPlate}) {
        form->setCheckable(true);
        forms->addAction(form);
    }
    ratios->setChecked(true);
    // The phases' entry names the ratio they are drawn at.
    connect(menu, &QMenu::aboutToShow, this, [this] {
        m_phasesPlate->setText(
            QString::fromStdString(phasesPlateCaption(m_ratio.numerator, m_ratio.denominator)));
    });
    menu->addSeparator();
    connect(menu->addAction(QString::fromUtf8(kShowPlateCaption)), &QAction::triggered, this,
            &ViewActions::showPlate);
    m_plateFiles = {menu->addAction(QString::fromUtf8(kCopyPlateCaption)),
                    menu->addAction(QString::fromUtf8(kSavePlateCaption)),
                    menu->addAction(QString::fromUtf8(kPrintPlateCaption))};
    connect(m_plateFiles[0], &QAction::triggered, this, &ViewActions::copyPlate);
    connect(m_plateFiles[1], &QAction::triggered, this, &ViewActions::savePlate);
    connect(m_plateFiles[2], &QAction::triggered, this, &ViewActions::printPlate);
    m_screen.addAction(menu->menuAction());
}

bool ViewActions::worksheet() const
{
    return m_worksheet->isChecked();
}

OverviewPlate::Form ViewActions::plateForm() const
{
    return m_phasesPlate->isChecked() ? OverviewPlate::Form::Phases : OverviewPlate::Form::Ratios;
}

void ViewActions::setPlateForm(OverviewPlate::Form form)
{
    const QList<QAction*> forms = m_phasesPlate->actionGroup()->actions();
    forms[form == OverviewPlate::Form::Phases ? 1 : 0]->setChecked(true);
}

void ViewActions::showPlate()
{
    if (!m_plateView) {
        m_plateView = new PlateView(m_window);
        m_plateView->setAttribute(Qt::WA_DeleteOnClose);
        // A right click on the plate copies, saves or prints it, as in the screen's menu.
        m_plateView->addActions(m_plateFiles);
        m_plateView->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    m_plateView->showPlate(m_output.plate(plateForm()), worksheet());
}

void ViewActions::copyPlate()
{
    m_output.copyPlate(plateForm(), worksheet());
}

void ViewActions::savePlate()
{
    m_output.savePlate(plateForm(), worksheet());
}

void ViewActions::printPlate()
{
    m_output.printPlate(plateForm());
}

} // namespace korvelian
