#include "scrollreadout.h"

#include "scene/texts.h"
#include "form/layout.h"
#include "handlers/ratioinuse.h"
#include "zoompolicy.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QEvent>
#include <QCursor>
#include <QLabel>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

namespace korvelian {

namespace {

constexpr int kShownAfterStep = 1500; // ms a stepped bar keeps its readout

const ControlLayout* barRow(const QObject* object)
{
    for (const ControlLayout& row : kControls) {
        if (row.kind == ControlKind::ScrollBar && object->objectName() == row.name)
            return &row;
    }
    return nullptr;
}

// A scroll bar whose accessible value reads as its readout.
class ReadoutAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    ReadoutAccessible(QScrollBar* bar, const ControlLayout& row)
        : QAccessibleWidget(bar, QAccessible::ScrollBar), m_row(row)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Value)
            return QAccessibleWidget::text(t);
        // The window's readout knows the ratio in use.
        if (const auto* readout = bar()->window()->findChild<ScrollReadout*>())
            return readout->text(*bar());
        return QString::fromStdString(barText(m_row, bar()->sliderPosition(), 1, 1));
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override { return bar()->value(); }
    void setCurrentValue(const QVariant& value) override { bar()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return bar()->singleStep(); }

private:
    QScrollBar* bar() const { return static_cast<QScrollBar*>(widget()); }

    const ControlLayout& m_row;
};

QAccessibleInterface* readoutAccessible(const QString&, QObject* object)
{
    auto* bar = qobject_cast<QScrollBar*>(object);
    const ControlLayout* row = bar ? barRow(bar) : nullptr;
    return row ? new ReadoutAccessible(bar, *row) : nullptr;
}

} // namespace

QString ScrollReadout::text(const QScrollBar& bar) const
{
    return QString::fromStdString(barText(*barRow(&bar), bar.sliderPosition(), m_ratio.numerator,
                                          m_ratio.denominator, m_ratio.textbook));
}

void ScrollReadout::describeBars()
{
    static const bool installed = [] {
        QAccessible::installFactory(readoutAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

ScrollReadout::ScrollReadout(QWidget& window, const QWidget& screen, const RatioInUse& ratio)
    : QObject(&window), m_window(window), m_screen(screen), m_ratio(ratio),
      m_label(new QLabel(&window))
{
    m_label->setObjectName("readout");
    m_label->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_label->setPalette(QToolTip::palette());
    m_label->setAutoFillBackground(true);
    m_label->setMargin(1);
    m_label->hide();
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(kShownAfterStep);
    connect(&m_hideTimer, &QTimer::timeout, this, &ScrollReadout::hideUnlessHeld);
    setZoom(1);
}

void ScrollReadout::setZoom(double zoom)
{
    m_label->setFont(ZoomPolicy::zoomed(QToolTip::font(), zoom));
    // The bar moved away under the pointer without a Leave: the readout goes unless the
    // pointer is over the bar's new place.
    if (m_bar && m_label->isVisible()) {
        show(m_bar);
        hideLater();
    }
}

void ScrollReadout::watch(QScrollBar* bar)
{
    bar->installEventFilter(this);
    connect(bar, &QScrollBar::sliderPressed, this, [this, bar] { show(bar); });
    connect(bar, &QScrollBar::sliderMoved, this, [this, bar] { show(bar); });
    connect(bar, &QScrollBar::sliderReleased, this, &ScrollReadout::hideLater);
    connect(bar, &QScrollBar::valueChanged, this, [this, bar] {
        show(bar);
        hideLater();
    });
}

void ScrollReadout::setSuppressed(bool suppressed)
{
    m_suppressed = suppressed;
    if (suppressed)
        m_label->hide();
}

void ScrollReadout::show(QScrollBar* bar)
{
    if (m_suppressed)
        return;
    m_bar = bar;
    m_label->setText(text(*bar));
    m_label->setWordWrap(false);
    // Above the bar, over its caption; never further right than the screen's left edge. A
    // text wider than the room left of the screen (the y phase with the y oscillation's own,
    // as the drift shows it at every step) is wrapped to that room rather than laid over the
    // screen. Its unwrapped size is only measured: given to the label, it reached over the
    // screen for a moment, and the screen and the controls beneath were painted again there
    // at every step of a drifting phase.
    const QPoint barCorner = bar->mapTo(&m_window, QPoint(0, 0));
    const int room = std::max(1, m_screen.mapTo(&m_window, QPoint(0, 0)).x() - 1);
    const QSize unwrapped = m_label->sizeHint().expandedTo(m_label->minimumSize());
    if (unwrapped.width() > room) {
        m_label->setWordWrap(true);
        m_label->resize(room, m_label->heightForWidth(room));
    } else {
        m_label->adjustSize();
    }
    const int rightmost = room - m_label->width();
    m_label->move(std::max(0, std::min(barCorner.x(), rightmost)),
                  std::max(0, barCorner.y() - m_label->height()));
    m_label->raise();
    m_label->show();
}

void ScrollReadout::hideLater()
{
    m_hideTimer.start();
}

void ScrollReadout::hideUnlessHeld()
{
    // Where the pointer is now, not the bar's own idea of it: after a value from the bar's
    // menu the bar still believes the pointer is over it, as it never saw it leave.
    if (m_bar &&
        (m_bar->rect().contains(m_bar->mapFromGlobal(QCursor::pos())) || m_bar->isSliderDown()))
        return;
    m_label->hide();
}

bool ScrollReadout::eventFilter(QObject* watched, QEvent* event)
{
    // Only the watched bars come here, but also while they are being destroyed.
    auto* bar = qobject_cast<QScrollBar*>(watched);
    if (!bar)
        return false;
    if (event->type() == QEvent::Enter) {
        show(bar);
    } else if (event->type() == QEvent::Leave && !bar->isSliderDown()) {
        m_hideTimer.stop();
        m_label->hide();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace korvelian
