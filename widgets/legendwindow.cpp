#include "legendwindow.h"

#include <QEvent>
#include <QMoveEvent>
#include <QScreen>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

// Lines of about this many characters, or no fewer than the least where room is short.
constexpr int kWideLine = 60;
constexpr int kNarrowLine = 16;

} // namespace

LegendWindow::LegendWindow(QWidget& window, const QWidget& screen)
    : QLabel(&window, Qt::Tool | Qt::WindowDoesNotAcceptFocus), m_window(window), m_screen(screen)
{
    setObjectName("legend");
    setWindowTitle(QStringLiteral("Ablesehilfe"));
    setAccessibleName(QStringLiteral("Legende der Ablesehilfe"));
    setTextFormat(Qt::RichText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMargin(8);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void LegendWindow::setSuppressed(bool suppressed)
{
    m_suppressed = suppressed;
    if (suppressed)
        hide();
}

void LegendWindow::windowStateChanged()
{
    m_besideWindow = true;
    follow();
}

void LegendWindow::showLines(const QStringList& lines)
{
    if (lines.isEmpty() || m_suppressed) {
        hide();
        m_besideWindow = true;
        return;
    }
    setText(lines.join(QStringLiteral("<br>")));
    if (!isVisible()) {
        placeBesideWindow();
        show();
    } else {
        fitWidth(width());
    }
}

// As wide as given and as tall as its text then is.
void LegendWindow::fitWidth(int width)
{
    QTextDocument text;
    text.setDefaultFont(font());
    text.setDocumentMargin(0);
    text.setHtml(this->text());
    text.setTextWidth(width - 2 * margin());
    setFixedSize(width, static_cast<int>(std::ceil(text.size().height())) + 2 * margin());
}

void LegendWindow::follow()
{
    if (isVisible() && m_besideWindow)
        placeBesideWindow();
}

void LegendWindow::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    // The window's zoom changed the font.
    if (event->type() == QEvent::FontChange && isVisible())
        fitWidth(width());
}

void LegendWindow::moveEvent(QMoveEvent* event)
{
    QLabel::moveEvent(event);
    if (pos() != m_placed)
        m_besideWindow = false;
}

// Beside the window where the screen has room, right or else left, its foot level with the
// window's, as the time signals take the top of the same side; where neither side has room,
// over the foot of the column of controls, whence the user can move it.
void LegendWindow::placeBesideWindow()
{
    const QRect frame = m_window.frameGeometry();
    const QSize border = frame.size() - m_window.size();
    const int wide = fontMetrics().averageCharWidth() * kWideLine + 2 * margin();
    const int narrow = fontMetrics().averageCharWidth() * kNarrowLine + 2 * margin();
    const QRect room = m_window.screen() ? m_window.screen()->availableGeometry()
                                         : QRect(frame.topLeft(), QSize(wide, wide));
    const int right = room.right() - frame.right() - border.width();
    const int left = frame.left() - room.left() - border.width();
    int width = wide;
    QPoint corner;
    if (right >= narrow || left >= narrow) {
        width = std::min(wide, right >= narrow ? right : left);
        corner.setX(right >= narrow ? frame.right() + 1 : frame.left() - width - border.width());
    } else {
        // Over the foot of the column of controls, clear of the screen.
        width =
            std::min(wide, m_screen.mapToGlobal(QPoint(0, 0)).x() - frame.left() - border.width());
        corner.setX(frame.left());
    }
    fitWidth(width);
    const QSize outer = size() + border;
    corner.setY(frame.bottom() + 1 - outer.height());
    corner.setX(std::clamp(corner.x(), room.left(),
                           std::max(room.left(), room.right() + 1 - outer.width())));
    corner.setY(std::clamp(corner.y(), room.top(),
                           std::max(room.top(), room.bottom() + 1 - outer.height())));
    m_placed = corner;
    move(corner);
}

} // namespace korvelian
