#pragma once

#include "lesson/lessonfile.h"

#include <QObject>
#include <QString>

#include <optional>

class QAction;
class QWidget;

namespace korvelian {

class Form1;
class ScreenArea;
class ViewOptions;
class WindowOperations;

// A lesson in the window: "Einstellungen speichern…" and "…öffnen…", a step appended to the
// lesson in hand, and Page Down / Page Up through its steps. A step sets the six parameter
// controls through their handlers, the views of the screen's menu, the drift's speed, and
// the beam: started or stopped, at the step's speed.
class LessonSteps : public QObject
{
    Q_OBJECT

public:
    LessonSteps(QWidget& window, WindowOperations& ops, Form1& form, ViewOptions& views,
                ScreenArea& screen);

    // The window's setting as a step: the controls, the views, the beam and its speed.
    LessonSettings current() const;
    // A lesson read elsewhere (the command line): its first step is shown.
    void start(const Lesson& lesson, const QString& path);
    // Asks for a file and opens it; a refused one is named in a message box and changes
    // nothing.
    void open();
    // Asks for a name and saves the lesson in hand, the step shown taken from the window, or
    // the window's setting alone.
    void save();
    // The window's setting as a new step after the one shown.
    void append();
    void next();
    void previous();
    // Shows step index (0 first).
    void show(std::size_t index);

    const Lesson& lesson() const { return m_lesson; }
    std::optional<std::size_t> step() const { return m_step; }
    QAction* nextAction() const { return m_next; }
    QAction* previousAction() const { return m_previous; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The step shown, 0 first, of count.
    void stepShown(std::size_t index, std::size_t count, const QString& title);

private:
    void apply(const LessonSettings& step);
    void updateActions();

    QWidget& m_window;
    WindowOperations& m_ops;
    Form1& m_form;
    ViewOptions& m_views;
    ScreenArea& m_screen;
    Lesson m_lesson;
    std::optional<std::size_t> m_step;
    QString m_path;
    // The speed a step set, for the beam that step starts: the start sets its own.
    std::optional<double> m_pendingSpeed;
    QAction* m_next;
    QAction* m_previous;
};

} // namespace korvelian
