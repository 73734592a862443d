#include "lessonsteps.h"

#include "form/form1.h"
#include "form/layout.h"
#include "handlers/phasedrift.h"
#include "handlers/speedcontrol.h"
#include "lesson/classroomwords.h"
#include "lesson/lessonstep.h"
#include "lessonfiles.h"
#include "filechoice.h"
#include "viewoptions.h"
#include "widgets/screenarea.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

namespace korvelian {

namespace {

const QString kFilter = QStringLiteral("Korvelian-Einstellungen (*.korvelian)");

// The lesson file's views and the menu's, in pairs.
constexpr std::pair<LessonView, ViewOption> kViews[] = {
    {LessonView::ReadingAid, ViewOption::ReadingAid},
    {LessonView::Values, ViewOption::Values},
    {LessonView::Graticule, ViewOption::Graticule},
    {LessonView::YUp, ViewOption::YUp},
    {LessonView::TimeSignals, ViewOption::TimeSignals},
    {LessonView::Afterglow, ViewOption::Afterglow},
    {LessonView::Drift, ViewOption::Drift},
};
static_assert(std::size(kViews) == kLessonViews.size());

QString documents()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

LessonSteps::LessonSteps(QWidget& window, WindowOperations& ops, Form1& form, ViewOptions& views,
                         ScreenArea& screen)
    : QObject(&window), m_window(window), m_ops(ops), m_form(form), m_views(views), m_screen(screen)
{
    m_next = new QAction(QString::fromUtf8(classroom::kNextStep), this);
    m_next->setShortcut(QKeySequence(Qt::Key_PageDown));
    connect(m_next, &QAction::triggered, this, &LessonSteps::next);
    m_previous = new QAction(QString::fromUtf8(classroom::kPreviousStep), this);
    m_previous->setShortcut(QKeySequence(Qt::Key_PageUp));
    connect(m_previous, &QAction::triggered, this, &LessonSteps::previous);
    updateActions();
    // A scroll bar with the focus keeps Page Down / Page Up for its own page step, as it has
    // them without a lesson.
    for (QScrollBar* bar : window.findChildren<QScrollBar*>())
        bar->installEventFilter(this);
    // A step that starts the beam sets its speed in the first frame: the start sets its own.
    connect(&screen, &ScreenArea::beamMoved, this, [this] {
        if (!m_pendingSpeed)
            return;
        m_form.variables().dt = *m_pendingSpeed;
        drawSpeedBar(m_ops, *m_pendingSpeed);
        m_pendingSpeed.reset();
    });
}

LessonSettings LessonSteps::current() const
{
    LessonSettings step = readControls(m_ops, m_form.variables().ratio);
    for (const auto& [lessonView, option] : kViews)
        step.setView(lessonView, m_views.option(option));
    step.driftSecondsPerTurn = m_form.drift().secondsPerTurn();
    step.beam = m_screen.beamRunning();
    // Before the first run the step is the one every start takes.
    step.speed = m_form.variables().dt > 0 ? m_form.variables().dt : kStartStep;
    return step;
}

void LessonSteps::start(const Lesson& lesson, const QString& path)
{
    m_lesson = lesson;
    m_path = path;
    show(0);
}

void LessonSteps::open()
{
    const QString path = QFileDialog::getOpenFileName(
        &m_window, QStringLiteral("Einstellungen öffnen"),
        m_path.isEmpty() ? documents() : QFileInfo(m_path).path(), kFilter);
    if (path.isEmpty())
        return;
    QString refusal;
    const std::optional<Lesson> lesson = readLessonFile(path, &refusal);
    if (!lesson) {
        QMessageBox::warning(&m_window, QStringLiteral("Einstellungen öffnen"),
                             refusal + QStringLiteral("\n\n") +
                                 QString::fromUtf8(classroom::kNothingTaken));
        return;
    }
    start(*lesson, path);
}

void LessonSteps::save()
{
    Lesson lesson = m_lesson;
    if (!m_step || lesson.steps.empty()) {
        lesson.steps = {current()};
    } else {
        const std::string title = lesson.steps[*m_step].title;
        lesson.steps[*m_step] = current();
        lesson.steps[*m_step].title = title;
    }
    const QString proposed =
        m_path.isEmpty() ? QDir(documents()).filePath(QStringLiteral("stunde.korvelian")) : m_path;
    const QString path = FileChoice::ask(m_window, QStringLiteral("Einstellungen speichern unter"),
                                         proposed, {kFilter}, {QStringLiteral("korvelian")});
    if (path.isEmpty())
        return;
    QString error;
    if (!saveLessonFile(path, lesson, &error)) {
        QMessageBox::warning(&m_window, QStringLiteral("Einstellungen speichern"), error);
        return;
    }
    m_lesson = lesson;
    m_path = path;
    if (!m_step)
        m_step = 0;
    updateActions();
}

void LessonSteps::append()
{
    if (m_lesson.steps.size() >= kMostLessonSteps)
        return;
    const std::size_t at = m_step ? *m_step + 1 : m_lesson.steps.size();
    LessonSettings step = current();
    step.title = "Schritt " + std::to_string(at + 1);
    m_lesson.steps.insert(m_lesson.steps.begin() + static_cast<std::ptrdiff_t>(at), step);
    m_step = at;
    updateActions();
    emit stepShown(at, m_lesson.steps.size(), QString::fromStdString(step.title));
}

void LessonSteps::next()
{
    if (m_step && *m_step + 1 < m_lesson.steps.size())
        show(*m_step + 1);
}

void LessonSteps::previous()
{
    if (m_step && *m_step > 0)
        show(*m_step - 1);
}

void LessonSteps::show(std::size_t index)
{
    if (index >= m_lesson.steps.size())
        return;
    m_step = index;
    apply(m_lesson.steps[index]);
    updateActions();
    emit stepShown(index, m_lesson.steps.size(),
                   QString::fromStdString(m_lesson.steps[index].title));
}

void LessonSteps::apply(const LessonSettings& step)
{
    // The controls first, through their handlers: a drift still running ends there, as it
    // would for a user's entry, before the step's own views turn it on again.
    applyControls(step, m_ops);
    m_views.setDriftSecondsPerTurn(step.driftSecondsPerTurn);
    for (const auto& [lessonView, option] : kViews)
        m_views.setOption(option, step.view(lessonView));
    if (!step.beam) {
        if (m_screen.beamRunning())
            m_ops.setCheckValue(1);
        return;
    }
    if (m_screen.beamRunning()) {
        m_form.variables().dt = step.speed;
        drawSpeedBar(m_ops, step.speed);
        return;
    }
    // Started as a click starts it, after this step is done: the animation's loop runs inside.
    m_pendingSpeed = step.speed;
    auto* start = m_window.findChild<QPushButton*>(controlName(Event::Command2_Click));
    QTimer::singleShot(0, start, &QPushButton::click);
}

bool LessonSteps::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_PageDown || key == Qt::Key_PageUp)
            event->accept();
    }
    return QObject::eventFilter(watched, event);
}

void LessonSteps::updateActions()
{
    const bool stepping = m_step && m_lesson.steps.size() > 1;
    m_next->setEnabled(stepping && *m_step + 1 < m_lesson.steps.size());
    m_previous->setEnabled(stepping && *m_step > 0);
}

} // namespace korvelian
