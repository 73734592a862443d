#include "mainwindow.h"

#include "form1.h"
#include "layout.h"
#include "qtwindowoperations.h"
#include "screenarea.h"
#include "smileyicon.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace korvelian {

namespace {

const QColor kHintBackground(255, 255, 192);

void exitAtOnce()
{
    std::fflush(nullptr);
    std::_Exit(0);
}

// Every control names its font: a frame's font would otherwise pass to the "+" and "-"
// buttons and the scroll bars inside it, which keep the application's default.
QFont layoutFont(FontKey key, const QWidget* control)
{
    double points = 0;
    switch (key) {
    case FontKey::A:
        points = 10.2;
        break;
    case FontKey::B:
        points = 10.8;
        break;
    case FontKey::C:
        points = 12;
        break;
    case FontKey::None:
    case FontKey::D:
        return QApplication::font(control);
    }
    QFont font("Times New Roman");
    font.setWeight(QFont::Normal);
    font.setPointSizeF(points);
    return font;
}

struct ClickEvent
{
    const char* control;
    Event click;
};

constexpr ClickEvent kClicks[] = {
    {"Command1", Event::Command1_Click},
    {"Command2", Event::Command2_Click},
    {"Command5", Event::Command5_Click},
    {"Command6", Event::Command6_Click},
    {"Command7", Event::Command7_Click},
    {"Command8", Event::Command8_Click},
    {"cmdplusZaehler", Event::cmdplusZaehler_Click},
    {"Command9", Event::Command9_Click},
    {"cmdplusNenner", Event::cmdplusNenner_Click},
    {"Command10", Event::Command10_Click},
};

struct ScrollEvents
{
    const char* control;
    Event change;
    Event scroll;
};

constexpr ScrollEvents kScrollEvents[] = {
    {"hscAmp1", Event::hscAmp1_Change, Event::hscAmp1_Scroll},
    {"HScroll1", Event::HScroll1_Change, Event::HScroll1_Scroll},
    {"hscAmp2", Event::hscAmp2_Change, Event::hscAmp2_Scroll},
    {"hscPhase", Event::hscPhase_Change, Event::hscPhase_Scroll},
};

struct HintEvent
{
    const char* control;
    Event mouseMove;
};

constexpr HintEvent kHints[] = {
    {"Command1", Event::Command1_MouseMove}, {"Command2", Event::Command2_MouseMove},
    {"Frame1", Event::Frame1_MouseMove},     {"Frame2", Event::Frame2_MouseMove},
    {"Label4", Event::Label4_MouseMove},
};

} // namespace

MainWindow::MainWindow(std::function<void()> exitProgram, QWidget* parent) : QWidget(parent)
{
    setWindowTitle("Korvelian-Figuren, Simulation Oszilloskop");
    setWindowIcon(smileyIcon());
    setFixedSize(pixels(kClientWidth), pixels(kClientHeight));

    for (const ControlLayout& entry : kControls) {
        QWidget* parentWidget = entry.parent ? findChild<QWidget*>(entry.parent) : this;
        QWidget* control = createControl(entry, parentWidget);
        control->setObjectName(entry.name);
        if (entry.kind == ControlKind::Line) {
            control->setGeometry(pixels(entry.left), pixels(entry.top), pixels(entry.width), 1);
        } else {
            control->setGeometry(pixels(entry.left), pixels(entry.top), pixels(entry.width),
                                 pixels(entry.height));
        }
        control->setFont(layoutFont(entry.font, control));
        if (entry.accessibleName)
            control->setAccessibleName(QString::fromUtf8(entry.accessibleName));
    }
    setTabOrder();

    QtWindowOperations::Controls controls;
    controls.window = this;
    controls.bildschirm = findChild<ScreenArea*>("picBildschirm");
    controls.velo = findChild<PictureArea*>("picVelo");
    controls.texts = {findChild<QLineEdit*>("txtZaehler"), findChild<QLineEdit*>("txtNenner"),
                      findChild<QLineEdit*>("txtkgV"), findChild<QLineEdit*>("txtHilfe")};
    controls.scrollBars = {findChild<QScrollBar*>("hscAmp1"), findChild<QScrollBar*>("HScroll1"),
                           findChild<QScrollBar*>("hscAmp2"), findChild<QScrollBar*>("hscPhase")};
    controls.check = findChild<QCheckBox*>("Check1");
    m_ops = std::make_unique<QtWindowOperations>(
        controls, exitProgram ? std::move(exitProgram) : std::function<void()>(exitAtOnce));
    m_form = std::make_unique<Form1>(*m_ops);

    connectEvents();
    handle(Event::Form_Load);
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::createControl(const ControlLayout& entry, QWidget* parent)
{
    const QString caption = QString::fromUtf8(entry.caption);
    switch (entry.kind) {
    case ControlKind::Picture:
        if (QLatin1String(entry.name) == QLatin1String("picBildschirm"))
            return new ScreenArea(parent);
        return new PictureArea(Qt::white, QColor(255, 0, 0), parent);
    case ControlKind::Frame:
        return new QGroupBox(caption, parent);
    case ControlKind::Button:
        return new QPushButton(caption, parent);
    case ControlKind::CheckBox:
        return new QCheckBox(caption, parent);
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::TextBox: {
        auto* edit = new QLineEdit(caption, parent);
        if (entry.font == FontKey::B) {
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, kHintBackground);
            edit->setPalette(palette);
        }
        return edit;
    }
    case ControlKind::ScrollBar: {
        auto* bar = new QScrollBar(Qt::Horizontal, parent);
        bar->setRange(0, entry.maximum);
        bar->setValue(entry.value);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        // Without tracking a drag reports the thumb with sliderMoved (Scroll) and the
        // value once, on release (Change); clicks and keys report Change at once.
        bar->setTracking(false);
        // Focus lets the arrow keys move the bar, and puts it in the tab order.
        bar->setFocusPolicy(Qt::StrongFocus);
        return bar;
    }
    case ControlKind::Line: {
        auto* line = new QFrame(parent);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        line->setLineWidth(1);
        return line;
    }
    }
    return new QWidget(parent);
}

void MainWindow::setTabOrder()
{
    std::vector<const ControlLayout*> focusable;
    for (const ControlLayout& entry : kControls) {
        if (entry.tab >= 0)
            focusable.push_back(&entry);
    }
    std::sort(focusable.begin(), focusable.end(),
              [](const ControlLayout* a, const ControlLayout* b) { return a->tab < b->tab; });
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        QWidget::setTabOrder(findChild<QWidget*>(focusable[i - 1]->name),
                             findChild<QWidget*>(focusable[i]->name));
    }
}

void MainWindow::connectEvents()
{
    for (const ClickEvent& click : kClicks) {
        const Event event = click.click;
        connect(findChild<QPushButton*>(click.control), &QPushButton::clicked, this,
                [this, event] { handle(event); });
    }
    for (const ScrollEvents& bar : kScrollEvents) {
        auto* scrollBar = findChild<QScrollBar*>(bar.control);
        const Event change = bar.change;
        const Event scroll = bar.scroll;
        connect(scrollBar, &QScrollBar::valueChanged, this, [this, change] { handle(change); });
        connect(scrollBar, &QScrollBar::sliderMoved, this, [this, scroll] { handle(scroll); });
    }
    connect(findChild<QLineEdit*>("txtZaehler"), &QLineEdit::textChanged, this,
            [this] { handle(Event::txtZaehler_Change); });
    connect(findChild<QLineEdit*>("txtNenner"), &QLineEdit::textChanged, this,
            [this] { handle(Event::txtNenner_Change); });
    for (const HintEvent& hint : kHints) {
        QWidget* control = findChild<QWidget*>(hint.control);
        control->setMouseTracking(true);
        control->installEventFilter(this);
        m_hintEvents.insert(control, hint.mouseMove);
    }
}

void MainWindow::handle(Event event)
{
    if (!m_ops->ended())
        m_form->handle(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        const auto found = m_hintEvents.constFind(watched);
        if (found != m_hintEvents.constEnd()) {
            auto* control = static_cast<QWidget*>(watched);
            const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
            // A frame's hint belongs to its own surface, not to the controls inside it.
            if (!qobject_cast<QGroupBox*>(control) || !control->childAt(position))
                handle(*found);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    handle(Event::Form_Unload);
    event->accept();
}

} // namespace korvelian
