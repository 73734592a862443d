#include "classroom.h"

#include "lesson/classroomwords.h"
#include "lesson/lessonstep.h"
#include "lessonsteps.h"
#include "presentation.h"
#include "viewoptions.h"
#include "scene/presentationpanel.h"
#include "widgets/presentationpanel.h"
#include "widgets/quizwindow.h"
#include "widgets/screenarea.h"
#include "widgets/scrollreadout.h"
#include "widgets/timesignalview.h"
#include "widgets/valuecover.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace korvelian {

Classroom::Classroom(const Parts& parts)
    : QObject(parts.window), m_parts(parts),
      m_presentation(new Presentation(*parts.window, *parts.zoom, *parts.screen, *parts.timeSignals,
                                      *parts.legend, *parts.views)),
      m_steps(new LessonSteps(*parts.window, *parts.ops, *parts.form, *parts.views, *parts.screen)),
      m_cover(new ValueCover(*parts.window))
{
    QMenu* menu = buildMenu();
    // Before the zoom and the help, which end the screen's menu.
    QWidget& screen = *parts.screen;
    QAction* before = nullptr;
    const QList<QAction*> actions = screen.actions();
    for (qsizetype i = 1; i < actions.size(); ++i) {
        if (actions[i]->shortcut() == QKeySequence(QKeySequence::ZoomIn) &&
            actions[i - 1]->isSeparator())
            before = actions[i - 1];
    }
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    screen.insertActions(before, {separator, menu->menuAction()});
    connect(m_steps, &LessonSteps::stepShown, this, &Classroom::showStep);
    connect(m_presentation, &Presentation::changed, m_presenting, &QAction::setChecked);
    connect(parts.screen, &ScreenArea::predictionChanged, this,
            [this] { m_resolve->setEnabled(!m_parts.screen->prediction().figureShown()); });
}

void Classroom::begin(const CommandLine::Settings& settings)
{
    if (settings.lesson)
        m_steps->start(*settings.lesson, settings.lessonPath);
    if (!settings.lessonRefusal.isEmpty()) {
        // Once the window stands: a double-click in the file manager has no terminal to read.
        const QString refusal = settings.lessonRefusal;
        QTimer::singleShot(0, m_parts.window, [this, refusal] {
            QMessageBox::warning(m_parts.window, QStringLiteral("Einstellungen öffnen"),
                                 refusal + QStringLiteral("\n\n") +
                                     QString::fromUtf8(classroom::kNothingTaken));
        });
    }
    if (settings.quiz)
        startQuiz(settings.quizRange, settings.seed);
}

QAction* Classroom::add(QMenu& menu, const QString& text, const QKeySequence& key)
{
    QAction* action = menu.addAction(text);
    action->setShortcut(key);
    // The keys work wherever the window has the focus, as the screen menu's own do.
    m_parts.window->addAction(action);
    return action;
}

QMenu* Classroom::buildMenu()
{
    auto* menu = new QMenu(QString::fromUtf8(classroom::kMenu), m_parts.window);
    menu->setObjectName("classroom");
    m_presenting =
        add(*menu, QString::fromUtf8(classroom::kPresentation), QKeySequence(Qt::Key_F5));
    m_presenting->setCheckable(true);
    connect(m_presenting, &QAction::triggered, this,
            [this](bool on) { m_presentation->setOn(on); });
    menu->addSeparator();

    auto* prediction = menu->addMenu(QString::fromUtf8(classroom::kPrediction));
    auto* modes = new QActionGroup(prediction);
    for (std::size_t i = 0; i < classroom::kPredictionModes.size(); ++i) {
        QAction* mode = prediction->addAction(QString::fromUtf8(classroom::kPredictionModes[i]));
        mode->setCheckable(true);
        modes->addAction(mode);
        connect(mode, &QAction::triggered, this,
                [this, m = static_cast<Prediction::Mode>(i)] { setPrediction(m); });
        m_modes[i] = mode;
    }
    m_modes[0]->setChecked(true);
    prediction->addSeparator();
    m_resolve = prediction->addAction(QString::fromUtf8(classroom::kResolve));
    m_resolve->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    m_resolve->setEnabled(false);
    m_parts.window->addAction(m_resolve);
    connect(m_resolve, &QAction::triggered, this, &Classroom::resolve);
    m_hideValues = prediction->addAction(QString::fromUtf8(classroom::kHideValues));
    m_hideValues->setCheckable(true);
    connect(m_hideValues, &QAction::toggled, this, &Classroom::setValuesHidden);

    connect(add(*menu, QString::fromUtf8(classroom::kQuiz),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)),
            &QAction::triggered, this, [this] {
                if (m_quiz && m_quiz->isVisible())
                    m_quiz->raise();
                else
                    startQuiz({}, 1);
            });
    menu->addSeparator();
    m_saveLesson = add(*menu, QString::fromUtf8(classroom::kSave),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(m_saveLesson, &QAction::triggered, m_steps, &LessonSteps::save);
    connect(add(*menu, QString::fromUtf8(classroom::kOpen), QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, m_steps, &LessonSteps::open);
    m_appendStep = menu->addAction(QString::fromUtf8(classroom::kAppendStep));
    connect(m_appendStep, &QAction::triggered, m_steps, &LessonSteps::append);
    menu->addAction(m_steps->nextAction());
    menu->addAction(m_steps->previousAction());
    m_parts.window->addAction(m_steps->nextAction());
    m_parts.window->addAction(m_steps->previousAction());
    return menu;
}

void Classroom::setPrediction(Prediction::Mode mode)
{
    m_modes[static_cast<std::size_t>(mode)]->setChecked(true);
    // Without the time signals there is nothing to predict from.
    if (mode == Prediction::Mode::TimeSignals)
        m_parts.views->setOption(ViewOption::TimeSignals, true);
    m_parts.screen->setPrediction(mode);
    m_resolve->setEnabled(!m_parts.screen->prediction().figureShown());
}

void Classroom::resolve()
{
    m_parts.screen->resolvePrediction();
}

void Classroom::setValuesHidden(bool hidden)
{
    m_valuesHidden = hidden;
    if (m_hideValues->isChecked() != hidden)
        m_hideValues->setChecked(hidden);
    hideValues(m_valuesHidden || m_quizHides);
}

void Classroom::quizAsks(bool asking)
{
    // The controls hold the asked figure: a lesson saved or a step appended now would write
    // the answer down for anyone who opens the file.
    m_saveLesson->setEnabled(!asking);
    m_appendStep->setEnabled(!asking);
}

void Classroom::hideValues(bool hidden)
{
    if (hidden == m_hiding)
        return;
    m_hiding = hidden;
    ViewOptions& views = *m_parts.views;
    if (hidden) {
        m_readingAidBefore = views.option(ViewOption::ReadingAid);
        m_valuesBefore = views.option(ViewOption::Values);
        views.setOption(ViewOption::ReadingAid, false);
        views.setOption(ViewOption::Values, false);
    } else {
        views.setOption(ViewOption::ReadingAid, m_readingAidBefore);
        views.setOption(ViewOption::Values, m_valuesBefore);
    }
    m_cover->setCovered(hidden);
    m_parts.screen->setNumbersWithheld(hidden);
    m_parts.readout->setSuppressed(hidden);
    m_parts.timeSignals->setFormulasHidden(hidden);
}

QuizWindow& Classroom::startQuiz(const QuizRange& range, std::uint32_t seed)
{
    if (!m_quiz) {
        m_quiz = new QuizWindow(m_parts.window);
        m_quiz->setAttribute(Qt::WA_DeleteOnClose);
        m_quiz->setYUp(m_parts.views->option(ViewOption::YUp));
        connect(m_parts.views, &ViewOptions::optionChanged, m_quiz,
                [this](ViewOption option, bool on) {
                    if (option == ViewOption::YUp)
                        m_quiz->setYUp(on);
                });
        connect(m_quiz, &QuizWindow::questionAsked, this, [this](const QuizQuestion& q) {
            // A drifting phase would change the figure under the class's eyes.
            m_parts.views->setOption(ViewOption::Drift, false);
            applyQuestion(q, *m_parts.ops);
        });
        connect(m_quiz, &QuizWindow::closed, this, [this] {
            m_quizHides = false;
            quizAsks(false);
            hideValues(m_valuesHidden);
        });
    }
    m_quizHides = true;
    quizAsks(true);
    hideValues(true);
    m_quiz->start(range, seed);
    placeQuiz();
    m_quiz->show();
    m_quiz->raise();
    m_quiz->activateWindow();
    return *m_quiz;
}

void Classroom::placeQuiz()
{
    const QScreen* display = m_parts.window->screen();
    if (!m_quiz || !display)
        return;
    const bool presenting = m_presentation->isOn();
    m_quiz->setLetterCap(presenting ? static_cast<int>(std::ceil(kPresentationCapShare *
                                                                 display->geometry().height()))
                                    : 0);
    m_quiz->adjustSize();
    // At the display's right edge, over the margin rather than the controls. Presenting, as
    // narrow as the margin allows and at its foot, beneath the step's heading; where its
    // letters need more room it stands at the top, over the screen's edge, as the hint line
    // runs along the foot of the window.
    const QRect room = presenting ? display->geometry() : display->availableGeometry();
    bool atFoot = false;
    if (presenting && m_presentation->panel().isVisible()) {
        const int margin = m_presentation->panel().width();
        const int width = std::max(margin, m_quiz->minimumSizeHint().width());
        const int height = m_quiz->heightForWidth(width);
        m_quiz->resize(width, height > 0 ? height : m_quiz->height());
        atFoot = width <= margin;
    }
    const QSize frame = m_quiz->frameGeometry().size();
    m_quiz->move(room.right() + 1 - frame.width(),
                 atFoot ? room.bottom() + 1 - frame.height() : room.top());
}

QuizWindow* Classroom::quizWindow() const
{
    return m_quiz;
}

void Classroom::showStep(std::size_t index, std::size_t count, const QString& title)
{
    const QString text =
        QString::fromStdString(classroom::stepHeading(index, count, title.toStdString()));
    m_presentation->setHeading(text);
    QToolTip::showText(m_parts.screen->mapToGlobal(QPoint(0, 0)), text, m_parts.screen);
}

void Classroom::layOut(double zoom, QPoint origin)
{
    m_presentation->layOut(zoom, origin);
    if (m_quiz && m_quiz->isVisible())
        placeQuiz();
}

} // namespace korvelian
