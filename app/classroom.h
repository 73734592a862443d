#pragma once

#include "commandline.h"
#include "lesson/prediction.h"
#include "viewsettings.h"

#include <QObject>
#include <QPointer>

#include <array>

class QAction;
class QMenu;
class QWidget;

namespace korvelian {

class Form1;
class LegendWindow;
class LessonSteps;
class Presentation;
class QuizWindow;
class ScreenArea;
class ScrollReadout;
class TimeSignalView;
class ValueCover;
class ViewOptions;
class WindowOperations;
class WindowZoom;
struct QuizRange;

// What a lesson adds to the demonstration, in the screen's menu "Unterricht" and its keys:
// presentation, the prediction with "Auflösen" and "Werte verbergen", the quiz "Welches
// Verhältnis?", and the lesson's settings saved, opened and stepped through. None of it moves,
// resizes or re-captions a control of the window.
class Classroom : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        QWidget* window;
        ScreenArea* screen;
        TimeSignalView* timeSignals;
        LegendWindow* legend;
        ScrollReadout* readout;
        ViewOptions* views;
        WindowZoom* zoom;
        WindowOperations* ops;
        Form1* form;
    };
    explicit Classroom(const Parts& parts);

    // What the command line asks for once the window is shown: a lesson file's steps, or why
    // it was refused, and the quiz.
    void begin(const CommandLine::Settings& settings);

    Presentation& presentation() { return *m_presentation; }
    LessonSteps& lessonSteps() { return *m_steps; }
    // The quiz's window, opened with a series of this range and seed.
    QuizWindow& startQuiz(const QuizRange& range, std::uint32_t seed);
    QuizWindow* quizWindow() const;

    void setPrediction(Prediction::Mode mode);
    void resolve();
    // The values (the boxes' contents, the values and the legend on the screen, the bars'
    // readout, the time signals' formulas) hidden from the class.
    void setValuesHidden(bool hidden);
    bool valuesHidden() const { return m_hiding; }

    // The window laid out anew: presentation's margin follows.
    void layOut(double zoom, QPoint origin);

private:
    QMenu* buildMenu();
    QAction* add(QMenu& menu, const QString& text, const QKeySequence& key);
    void hideValues(bool hidden);
    void quizAsks(bool asking);
    // The quiz window beside the screen, its letters for the room while presenting.
    void placeQuiz();
    void showStep(std::size_t index, std::size_t count, const QString& title);

    Parts m_parts;
    Presentation* m_presentation;
    LessonSteps* m_steps;
    ValueCover* m_cover;
    QPointer<QuizWindow> m_quiz;
    std::array<QAction*, 3> m_modes{};
    QAction* m_resolve = nullptr;
    QAction* m_hideValues = nullptr;
    QAction* m_presenting = nullptr;
    QAction* m_saveLesson = nullptr;
    QAction* m_appendStep = nullptr;
    // Hidden for the prediction, or for the quiz.
    bool m_valuesHidden = false;
    bool m_quizHides = false;
    bool m_hiding = false;
    // The views that read the values, as they were before they were hidden.
    bool m_readingAidBefore = false;
    bool m_valuesBefore = false;
};

} // namespace korvelian
