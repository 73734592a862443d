#include "helpwindow.h"

#include "zoompolicy.h"

#include <QApplication>
#include <QScreen>

#include <cmath>

namespace korvelian {

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent)
{
    // A window of its own beside the main window, which stays usable.
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Hilfe – Korvelian-Figuren"));
    setObjectName("help");
    setOpenExternalLinks(false);
    setSource(QUrl(QStringLiteral("qrc:/help/hilfe.html")));
}

void HelpWindow::showAt(double zoom)
{
    setFont(ZoomPolicy::zoomed(QApplication::font(this), zoom));
    QSize wanted(static_cast<int>(std::lround(560 * zoom)),
                 static_cast<int>(std::lround(620 * zoom)));
    if (const QScreen* shownOn = parentWidget() ? parentWidget()->screen() : screen())
        wanted = wanted.boundedTo(shownOn->availableSize() * 9 / 10);
    resize(wanted);
    show();
    raise();
    activateWindow();
}

} // namespace korvelian
