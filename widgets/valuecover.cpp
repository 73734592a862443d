#include "valuecover.h"

#include "form/layout.h"

#include <QEvent>
#include <QLabel>

namespace korvelian {

ValueCover::ValueCover(QWidget& window) : QObject(&window)
{
    for (const TextBox box : {TextBox::Numerator, TextBox::Denominator, TextBox::ClosingCount}) {
        auto* edit = window.findChild<QWidget*>(controlName(box));
        auto* cover = new QLabel(QStringLiteral("?"), edit->parentWidget());
        cover->setObjectName(QStringLiteral("cover_%1").arg(controlName(box)));
        cover->setAlignment(Qt::AlignCenter);
        cover->setAutoFillBackground(true);
        cover->setFrameShape(QFrame::Box);
        cover->setAccessibleName(QStringLiteral("verborgen"));
        cover->hide();
        edit->installEventFilter(this);
        m_pairs.push_back({edit, cover});
    }
}

void ValueCover::setCovered(bool covered)
{
    m_covered = covered;
    for (const Pair& pair : m_pairs) {
        place(*pair.box, *pair.cover);
        pair.cover->setVisible(covered);
        if (covered)
            pair.cover->raise();
    }
}

void ValueCover::place(QWidget& box, QLabel& cover) const
{
    cover.setGeometry(box.geometry());
    cover.setFont(box.font());
}

bool ValueCover::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
        event->type() == QEvent::FontChange) {
        for (const Pair& pair : m_pairs) {
            if (pair.box == watched)
                place(*pair.box, *pair.cover);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace korvelian
