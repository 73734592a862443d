#pragma once

#include <QTextBrowser>

namespace korvelian {

// The German help: every control, the marks on the screen, the frequency factor and the
// closing count, and how to read a phase difference from an ellipse.
class HelpWindow : public QTextBrowser
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the window, raised above the main window, at this zoom; fittingZoom is the largest
    // at which the main window fits its screen, which the help names.
    void showAt(double zoom, int fittingZoom);
    // The examples are drawn in the screen's orientation.
    void setYUp(bool yUp);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The examples of the reading aid are drawn by the program when the help shows them.
    QVariant loadResource(int type, const QUrl& name) override;

private:
    // The help's text with every number it states taken from where the program takes it.
    QString text(const QString& written) const;

    bool m_yUp = false;
    int m_fittingZoom = 0;
    // The zoom the text and its pictures are shown at.
    double m_zoom = 1;
};

} // namespace korvelian
