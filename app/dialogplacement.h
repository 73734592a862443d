#pragma once

#include <QObject>

class QDialog;
class QScreen;
class QWidget;

namespace korvelian {

// Menus, message boxes and dialogs of the window are windows of their own and keep the
// desktop's font unless given one; given the window's, they grow with the zoom. Dialogs are
// kept on the screen.
class DialogPlacement : public QObject
{
public:
    explicit DialogPlacement(QWidget& window);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A dialog as large as the zoom makes it may not fit its screen: its font is made smaller
    // until its least size fits, its size is held within the screen and it is placed on it
    // with its title bar, so that its buttons and fields stay in reach. A dialog about to be
    // shown is placed over the middle of centreOn, as it would place itself; a shown one keeps
    // its place as far as the screen allows.
    static void fitOnScreen(QWidget& dialog, const QScreen& screen, const QWidget* centreOn);
    void fit(QDialog* dialog, const QWidget* centreOn);

    QWidget& m_window;
};

} // namespace korvelian
