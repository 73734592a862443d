#include "controltable.h"

#include "form/layout.h"
#include "widgets/horizontalbar.h"
#include "widgets/picturearea.h"
#include "widgets/screenarea.h"
#include "widgets/zoomedstyle.h"
#include "widgets/zoompolicy.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace korvelian {

namespace {

const QColor kHintBackground(255, 255, 192);

// A ratio or closing-count box is just as wide as "32767" in its font; the toolkit's margins
// inside the frame would take the room and scroll the first digit out of sight. The text
// starts right inside the frame instead, and may use the right margin as well.
void fitFiveDigits(QLineEdit& edit)
{
    const QFontMetrics metrics(edit.font());
    // What the box itself asks for before it scrolls: the text, the cursor, the bearing.
    const int needed = metrics.horizontalAdvance(QStringLiteral("32767")) + 1 +
                       std::max(0, -metrics.minLeftBearing());
    constexpr int kToolkitMargin = 2;
    const int frame = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit);
    const int inside = edit.width() - 2 * frame;
    if (needed > inside - 2 * kToolkitMargin)
        edit.setTextMargins(-kToolkitMargin, 0, -(needed - inside + kToolkitMargin), 0);
    else
        edit.setTextMargins(0, 0, 0, 0);
}

// Every control names its font: a frame's font would otherwise pass to the "+" and "-"
// buttons and the scroll bars inside it, which keep the application's default.
QFont layoutFont(FontRole role, const QWidget* control, double zoom)
{
    const double points = fontPoints(role);
    if (points == 0)
        return ZoomPolicy::zoomed(QApplication::font(control), zoom);
    QFont font(QString::fromUtf8(kLayoutFamily));
    font.setWeight(QFont::Normal);
    font.setPointSizeF(points * zoom);
    return font;
}

} // namespace

void ControlTable::create(QWidget& window, ZoomedStyle& style)
{
    for (const ControlLayout& entry : kControls) {
        QWidget* parent = entry.parent ? window.findChild<QWidget*>(entry.parent) : &window;
        QWidget* control = createControl(entry, parent, style);
        control->setObjectName(entry.name);
        // Labels lie beneath the boxes and buttons they overlap: pointing or clicking there
        // reaches the control the user sees.
        if (entry.kind == ControlKind::Label)
            control->lower();
        control->setAccessibleName(
            QString::fromUtf8(entry.accessibleName ? entry.accessibleName : entry.caption));
    }
    setTabOrder(window);
}

QWidget* ControlTable::createControl(const ControlLayout& entry, QWidget* parent,
                                     ZoomedStyle& style)
{
    const QString caption = QString::fromUtf8(entry.caption);
    switch (entry.kind) {
    case ControlKind::Picture:
        if (entry.picture == Picture::Screen)
            return new ScreenArea(parent);
        // The speed bar's background is the theme's background of input areas.
        return new PictureArea(QColor(), QColor(255, 0, 0), parent);
    case ControlKind::Frame:
        return new QGroupBox(caption, parent);
    case ControlKind::Button:
        return new QPushButton(caption, parent);
    case ControlKind::CheckBox: {
        auto* check = new QCheckBox(caption, parent);
        check->setStyle(&style);
        return check;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::TextBox:
        return createTextBox(entry, parent);
    case ControlKind::ScrollBar:
        return createBar(entry, parent, style);
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

QWidget* ControlTable::createTextBox(const ControlLayout& entry, QWidget* parent)
{
    auto* edit = new QLineEdit(QString::fromUtf8(entry.caption), parent);
    if (entry.lightYellow) {
        // The text colour goes with the light background, or a dark theme's light text
        // would vanish on it.
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, kHintBackground);
        palette.setColor(QPalette::Text, Qt::black);
        edit->setPalette(palette);
    }
    return edit;
}

QWidget* ControlTable::createBar(const ControlLayout& entry, QWidget* parent, ZoomedStyle& style)
{
    auto* bar = new HorizontalBar(parent);
    // Named before its value is set: assistive technology asks for the bar's description
    // at the first change and keeps what it got, the raw number of an unnamed bar.
    bar->setObjectName(entry.name);
    bar->setStyle(&style);
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

void ControlTable::setTabOrder(QWidget& window)
{
    std::vector<const ControlLayout*> focusable;
    for (const ControlLayout& entry : kControls) {
        if (entry.tab >= 0)
            focusable.push_back(&entry);
    }
    std::sort(focusable.begin(), focusable.end(),
              [](const ControlLayout* a, const ControlLayout* b) { return a->tab < b->tab; });
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        QWidget::setTabOrder(window.findChild<QWidget*>(focusable[i - 1]->name),
                             window.findChild<QWidget*>(focusable[i]->name));
    }
}

void ControlTable::layOut(QWidget& window, double zoom, QPoint origin)
{
    for (const ControlLayout& entry : kControls) {
        QWidget* control = window.findChild<QWidget*>(entry.name);
        const QPoint corner = entry.parent ? QPoint() : origin;
        const int height =
            entry.kind == ControlKind::Line ? linePixels(zoom) : pixels(entry.height, zoom);
        control->setGeometry(corner.x() + pixels(entry.left, zoom),
                             corner.y() + pixels(entry.top, zoom), pixels(entry.width, zoom),
                             height);
        control->setFont(layoutFont(entry.font, control, zoom));
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            fitFiveDigits(*edit);
        if (auto* line = qobject_cast<QFrame*>(control); entry.kind == ControlKind::Line)
            line->setLineWidth(linePixels(zoom));
        if (auto* area = qobject_cast<PictureArea*>(control))
            area->setZoom(zoom);
    }
}

void ControlTable::reset(QWidget& window)
{
    for (const ControlLayout& row : kControls) {
        if (row.kind == ControlKind::ScrollBar)
            window.findChild<QScrollBar*>(row.name)->setValue(row.value);
    }
    for (const TextBox box : {TextBox::Numerator, TextBox::Denominator}) {
        window.findChild<QLineEdit*>(controlName(box))
            ->setText(QString::fromUtf8(control(box).caption));
    }
}

} // namespace korvelian
