#include "helpwindow.h"

#include "picture/examples.h"
#include "scene/helptext.h"
#include "scene/menuwords.h"
#include "zoompolicy.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>

#include <cmath>

namespace korvelian {

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent)
{
    // A window of its own beside the main window, which stays usable.
    setWindowFlag(Qt::Window);
    setWindowTitle(QString::fromUtf8(kHelpTitle));
    setObjectName("help");
    setOpenExternalLinks(false);
    setSource(QUrl(QStringLiteral("qrc:/help/hilfe.html")));
}

void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape puts it away, as it does a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

QString HelpWindow::text(const QString& written) const
{
    return QString::fromStdString(withHelpNumbers(written.toStdString(), m_fittingZoom));
}

QVariant HelpWindow::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::HtmlResource && name.scheme() == QLatin1String("qrc"))
        return text(QString::fromUtf8(QTextBrowser::loadResource(type, name).toByteArray()));
    if (name.scheme() != QLatin1String("bild"))
        return QTextBrowser::loadResource(type, name);
    // The pictures grow with the zoom as the text does.
    const auto zoomed = [this](int side) { return static_cast<int>(std::lround(side * m_zoom)); };
    // Generic phases, amplitudes that fill most of the screen.
    if (name.path() == QLatin1String("beruehrpunkte-3-2.png"))
        return readingAidExample({1.25, 0, 1.25, 0.3, 3, 2}, 6, zoomed(300), m_yUp);
    if (name.path() == QLatin1String("ellipse-45.png"))
        return readingAidExample(kHelpEllipse, 1, zoomed(300), m_yUp);
    // The beam a little past a quarter of the way through the closed figure.
    if (name.path() == QLatin1String("zeitverlaeufe-3-2.png"))
        return timeSignalsExample({1.25, 0, 1.25, 0.3, 3, 2}, 6, 4.0, {zoomed(420), zoomed(360)},
                                  m_yUp);
    if (name.path() == QLatin1String("nachleuchten-3-2.png"))
        return afterglowExample({1.25, 0, 1.25, 0.3, 3, 2}, 6, 4.0, zoomed(300), m_yUp);
    return {};
}

void HelpWindow::setYUp(bool yUp)
{
    if (yUp == m_yUp)
        return;
    m_yUp = yUp;
    // Loads the text again, and with it the pictures, keeping the place the reader is at.
    const int position = verticalScrollBar()->value();
    reload();
    verticalScrollBar()->setValue(position);
}

void HelpWindow::showAt(double zoom, int fittingZoom)
{
    if (fittingZoom != m_fittingZoom || zoom != m_zoom) {
        m_fittingZoom = fittingZoom;
        m_zoom = zoom;
        reload();
    }
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
