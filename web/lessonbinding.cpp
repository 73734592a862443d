// The lesson's face to the page: the link that opens a setting (its views, "Wie im Lehrbuch",
// "Feine Kurve" and the quiz too), read by the same code as a lesson file's step.
#include "core.h"
#include "form/form1.h"
#include "form/linksetting.h"
#include "handlers/phasedrift.h"
#include "handlers/speedcontrol.h"
#include "lesson/classroomwords.h"
#include "lesson/lessonlink.h"
#include "lesson/lessonstep.h"

#include <array>
#include <string_view>

using namespace korvelian;

extern "C" void korvSetView(int index, int on);

namespace {

// The lesson file's views in the order of the page's view list: the screen's, then the beam's.
constexpr std::array<std::string_view, 7> kViewNames{
    "reading-aid", "values", "graticule", "y-up", "time-signals", "afterglow", "drift"};
static_assert(kViewNames.size() == kScreenViews.size() + kMotionViews.size());

// The lesson opened last and the step on show.
Lesson lesson;
std::size_t shownStep = 0;

const char* stepState(const std::string& refusal)
{
    Core& c = core();
    c.json.clear();
    c.json.begin('{').field("refusal", refusal);
    c.json.field("steps", static_cast<double>(lesson.steps.size()));
    c.json.field("step", static_cast<double>(shownStep));
    c.json.field("title", lesson.steps.empty() ? std::string() : lesson.steps[shownStep].title);
    c.json.field("beam", !lesson.steps.empty() && lesson.steps[shownStep].beam).end('}');
    return written(c.json);
}

// A step as the desktop shows it: the controls through their handlers (a drift running ends
// there, as for a user's entry), then the step's views, then the beam's speed; the page starts
// or stops the beam as a click does.
void showStep(std::size_t index)
{
    Core& c = core();
    if (index >= lesson.steps.size() || c.window.ended())
        return;
    shownStep = index;
    const LessonSettings& step = lesson.steps[index];
    applyControls(step, c.window);
    c.window.form().drift().setSecondsPerTurn(step.driftSecondsPerTurn);
    for (std::size_t i = 0; i < kViewNames.size(); ++i)
        korvSetView(static_cast<int>(i), step.views[i] ? 1 : 0);
    if (!c.window.form().oscillation().runs())
        return;
    if (!step.beam) {
        // "Stop" ticked, as the desktop ends the beam for such a step.
        c.window.setCheckValue(1);
        return;
    }
    c.window.form().variables().dt = step.speed;
    drawSpeedBar(c.window, step.speed);
}

void writeQuiz(Json& json, const QuizLink& quiz)
{
    json.key("quiz").begin('{');
    json.field("largest", quiz.range.largest).field("phases", quiz.range.phases);
    json.field("amplitudes", quiz.range.amplitudes);
    json.field("tolerance", quiz.range.toleranceDegrees);
    if (quiz.seed)
        json.field("seed", static_cast<double>(*quiz.seed));
    json.end('}');
}

} // namespace

namespace korvelian {

bool figureViewOn(FigureView view)
{
    Core& c = core();
    return view == FigureView::Textbook ? c.window.form().variables().ratio.textbook
                                        : c.window.screen().fine;
}

void setFigureView(FigureView view, bool on)
{
    Core& c = core();
    if (view == FigureView::Fine) {
        c.window.screen().fine = on;
    } else if (!c.window.ended()) {
        c.window.form().setTextbook(on);
        showYUp();
    }
    hostChanged(PageHost::Screen | PageHost::Overlays | PageHost::Controls);
}

void showYUp()
{
    Core& c = core();
    c.window.screen().yUp = c.yUpTicked || figureViewOn(FigureView::Textbook);
}

} // namespace korvelian

// A link's fragment (without its '#'): its setting put into the controls as the command line
// puts its options, the views it names switched, or nothing of it where it is refused. Gives
// {"fault": why} in German, empty where it was taken, and the quiz where the link asks for it.
KORV_EXPORT(applyLink) const char* korvApplyLink(const char* text, int length)
{
    Core& c = core();
    const LinkReading reading = readLink(std::string_view(text, static_cast<std::size_t>(length)));
    if (reading.fault.empty()) {
        // Before the bars: the textbook's reading decides what they mean.
        if (reading.textbook)
            setFigureView(FigureView::Textbook, true);
        if (reading.fine)
            setFigureView(FigureView::Fine, true);
        applyLink(reading.setting, c.window);
        if (reading.names("drift-seconds"))
            c.window.form().drift().setSecondsPerTurn(reading.step.driftSecondsPerTurn);
        for (std::size_t i = 0; i < kViewNames.size(); ++i) {
            if (reading.names(kViewNames[i]))
                korvSetView(static_cast<int>(i), reading.step.views[i] ? 1 : 0);
        }
        hostChanged(PageHost::Screen | PageHost::Overlays | PageHost::Controls);
    }
    c.json.clear();
    c.json.begin('{').field("fault", reading.fault);
    if (reading.fault.empty() && reading.quiz)
        writeQuiz(c.json, *reading.quiz);
    c.json.end('}');
    return written(c.json);
}

// The setting as a link's fragment: the controls where they differ from the start, then the
// views that are on.
KORV_EXPORT(link) const char* korvLink()
{
    Core& c = core();
    std::string fragment = linkFragment(c.window, c.yUpTicked);
    const auto add = [&fragment](std::string_view name) {
        if (!fragment.empty())
            fragment += '&';
        fragment += name;
    };
    for (std::size_t i = 0; i < kViewNames.size(); ++i) {
        if (kViewNames[i] != "y-up" && viewOn(static_cast<int>(i)))
            add(kViewNames[i]);
    }
    if (figureViewOn(FigureView::Textbook))
        add("textbook");
    if (figureViewOn(FigureView::Fine))
        add("fine");
    c.json.clear();
    c.json.begin('{').field("fragment", fragment).end('}');
    return written(c.json);
}

// A lesson file's text, read completely and kept, or nothing of it kept and why not, naming
// the line: {refusal, steps, step, title, beam}. The page shows its first step (korv_showStep),
// a call that may wait as a user's entry may.
KORV_EXPORT(openLesson) const char* korvOpenLesson(const char* text, int length)
{
    LessonReading reading = readLesson(std::string_view(text, static_cast<std::size_t>(length)));
    if (!reading.lesson)
        return stepState(reading.refusal + "\n\n" + classroom::kNothingTaken);
    lesson = std::move(*reading.lesson);
    shownStep = 0;
    return stepState({});
}

// Another step of the lesson opened (Page Down, Page Up); outside it nothing changes.
KORV_EXPORT(showStep) void korvShowStep(int index)
{
    if (index >= 0)
        showStep(static_cast<std::size_t>(index));
}

KORV_EXPORT(lessonState) const char* korvLessonState()
{
    return stepState({});
}

// The beam started by the page for a step runs at the step's speed.
KORV_EXPORT(stepSpeed) void korvStepSpeed()
{
    Core& c = core();
    if (lesson.steps.empty() || !c.window.form().oscillation().runs())
        return;
    c.window.form().variables().dt = lesson.steps[shownStep].speed;
    drawSpeedBar(c.window, lesson.steps[shownStep].speed);
}

// The text of a lesson file of the setting as it stands, as the desktop saves it: the lesson
// opened with its step on show replaced, or this setting alone.
KORV_EXPORT(saveLesson) const char* korvSaveLesson()
{
    Core& c = core();
    Form1& form = c.window.form();
    LessonSettings now = readControls(c.window, form.variables().ratio);
    for (std::size_t i = 0; i < kViewNames.size(); ++i)
        now.views[i] = viewOn(static_cast<int>(i));
    now.driftSecondsPerTurn = form.drift().secondsPerTurn();
    now.beam = form.oscillation().runs();
    now.speed = form.variables().dt > 0 ? form.variables().dt : kStartStep;
    Lesson saved = lesson;
    if (saved.steps.empty()) {
        saved.steps = {now};
    } else {
        now.title = saved.steps[shownStep].title;
        saved.steps[shownStep] = now;
    }
    lesson = saved;
    c.json.clear();
    c.json.begin('{').field("text", writeLesson(saved)).end('}');
    return written(c.json);
}

// The words of the lesson's entries.
KORV_EXPORT(classroomWords) const char* korvClassroomWords()
{
    Core& c = core();
    c.json.clear();
    c.json.begin('{').field("menu", classroom::kMenu).field("quiz", classroom::kQuiz);
    c.json.field("open", classroom::kOpen).field("save", classroom::kSave);
    c.json.field("nextStep", classroom::kNextStep).field("previousStep", classroom::kPreviousStep);
    c.json.end('}');
    return written(c.json);
}
