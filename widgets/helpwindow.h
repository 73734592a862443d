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

    // Shows the window, raised above the main window, at this zoom.
    void showAt(double zoom);
    // The examples are drawn in the screen's orientation.
    void setYUp(bool yUp);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The examples of the reading aid are drawn by the program when the help shows them.
    QVariant loadResource(int type, const QUrl& name) override;

private:
    bool m_yUp = false;
};

} // namespace korvelian
