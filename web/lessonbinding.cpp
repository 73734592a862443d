// The lesson's face to the page: the link that opens a setting (its views, "Wie im Lehrbuch",
// "Feine Kurve" and the quiz too), read by the same code as a lesson file's step.
#include "core.h"
#include "form/form1.h"
#include "form/linksetting.h"
#include "handlers/phasedrift.h"
#include "handlers/speedcontrol.h"
#include "lesson/classroomwords.h"
#include "lesson/lessonfields.h"
#include "lesson/lessonlink.h"
#include "lesson/lessonstep.h"

#include <array>
#include <optional>
#include <string_view>

using namespace korvelian;

extern "C" void korvSetView(int index, int on);

namespace {

// The lesson file's views in the order of the page's view list: the screen's, then the beam's.
constexpr std::array<std::string_view, 7> kViewNames{
    "reading-aid", "values", "graticule", "y-up", "time-signals", "afterglow", "drift"};
static_assert(kViewNames.size() == kScreenViews.size() + kMotionViews.size());

// The lesson opened last and the step on show, once one was shown.
Lesson lesson;
std::size_t shownStep = 0;
bool stepShown = false;
// The speed of a beam the page starts for a step or a link, set in its first frame: the start
// sets its own.
std::optional<double> pendingSpeed;

const char* stepState(const std::string& refusal)
{
    Core& c = core();
    c.json.clear();
    c.json.begin('{').field("refusal", refusal);
    c.json.field("steps", static_cast<double>(lesson.steps.size()));
    c.json.field("step", static_cast<double>(shownStep));
    c.json.field("title", lesson.steps.empty() ? std::string() : lesson.steps[shownStep].title);
    c.json.field("heading", lessonHeading());
    c.json.field("beam", !lesson.steps.empty() && lesson.steps[shownStep].beam).end('}');
    return written(c.json);
}

// The beam as a step has it: stopped ("Stop" ticked, as the desktop ends it), or at the step's
// speed; one that does not run yet the page starts as a click does, and korv_stepSpeed sets
// its speed then.
void applyBeam(bool beam, double speed)
{
    Core& c = core();
    pendingSpeed.reset();
    if (!c.window.form().oscillation().runs()) {
        if (beam)
            pendingSpeed = speed;
        return;
    }
    if (!beam) {
        c.window.setCheckValue(1);
        return;
    }
    c.window.form().variables().dt = speed;
    drawSpeedBar(c.window, speed);
}

// A step as the desktop shows it: the controls through their handlers (a drift running ends
// there, as for a user's entry), then the step's views, then the beam.
void showStep(std::size_t index)
{
    Core& c = core();
    if (index >= lesson.steps.size() || c.window.ended())
        return;
    shownStep = index;
    stepShown = true;
    const LessonSettings& step = lesson.steps[index];
    applyControls(step, c.window);
    c.window.form().drift().setSecondsPerTurn(step.driftSecondsPerTurn);
    for (std::size_t i = 0; i < kViewNames.size(); ++i)
        korvSetView(static_cast<int>(i), step.views[i] ? 1 : 0);
    applyBeam(step.beam, step.speed);
}

// The setting as it stands, as a lesson's step.
LessonSettings currentStep()
{
    Core& c = core();
    Form1& form = c.window.form();
    LessonSettings now = readControls(c.window, form.variables().ratio);
    for (std::size_t i = 0; i < kViewNames.size(); ++i)
        now.views[i] = viewOn(static_cast<int>(i));
    now.driftSecondsPerTurn = form.drift().secondsPerTurn();
    now.beam = form.oscillation().runs();
    // Before the first run the step is the one every start takes.
    now.speed = form.variables().dt > 0 ? form.variables().dt : kStartStep;
    return now;
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

std::string lessonHeading()
{
    return stepShown && shownStep < lesson.steps.size()
               ? classroom::stepHeading(shownStep, lesson.steps.size(),
                                        lesson.steps[shownStep].title)
               : std::string();
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
        // The beam and its speed as a step applies them; a speed alone changes a running beam.
        if (reading.names("beam"))
            applyBeam(reading.step.beam, reading.step.speed);
        else if (reading.names("speed") && c.window.form().oscillation().runs())
            applyBeam(true, reading.step.speed);
        hostChanged(PageHost::Screen | PageHost::Overlays | PageHost::Controls);
    }
    c.json.clear();
    c.json.begin('{').field("fault", reading.fault);
    c.json.field("beam", reading.fault.empty() && reading.names("beam") && pendingSpeed);
    if (reading.fault.empty() && reading.quiz)
        writeQuiz(c.json, *reading.quiz);
    c.json.end('}');
    return written(c.json);
}

// The setting as a link's fragment: the controls where they differ from the start, then the
// views that are on, the drift's time and a running beam. While the quiz asks, the controls
// show its figure: the link opens its series instead, as a teacher hands it to another class,
// and gives no answer away.
KORV_EXPORT(link) const char* korvLink()
{
    Core& c = core();
    const QuizLink* asked = askedQuiz();
    std::string fragment = asked ? quizLink(*asked) : linkFragment(c.window, c.yUpTicked);
    const auto add = [&fragment](std::string_view part) {
        if (!fragment.empty())
            fragment += '&';
        fragment += part;
    };
    if (asked && c.yUpTicked)
        add("y-up");
    for (std::size_t i = 0; i < kViewNames.size(); ++i) {
        if (kViewNames[i] != "y-up" && viewOn(static_cast<int>(i)))
            add(kViewNames[i]);
    }
    if (figureViewOn(FigureView::Textbook))
        add("textbook");
    if (figureViewOn(FigureView::Fine))
        add("fine");
    const LessonSettings now = currentStep();
    const auto valued = [&now](std::string_view name) {
        return std::string(name) + "=" + lessonField(name)->write(now);
    };
    if (now.driftSecondsPerTurn != LessonSettings{}.driftSecondsPerTurn)
        add(valued("drift-seconds"));
    if (now.beam) {
        add("beam");
        if (now.speed != LessonSettings{}.speed)
            add(valued("speed"));
    }
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
    stepShown = false;
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

// The beam started by the page for a step or a link runs at its speed, set once it has moved
// (its start sets the start's speed): 0 while it has not, 1 once the speed is set (or none
// waits).
KORV_EXPORT(stepSpeed) int korvStepSpeed()
{
    Core& c = core();
    if (!pendingSpeed)
        return 1;
    // Only once a frame has moved the beam, as the desktop waits for it: before that the start
    // may still be on its way to setting its own speed.
    if (!c.window.form().oscillation().runs() || !c.window.beamRunning())
        return 0;
    c.window.form().variables().dt = *pendingSpeed;
    drawSpeedBar(c.window, *pendingSpeed);
    pendingSpeed.reset();
    return 1;
}

// "Als Schritt anhängen": the setting as a new step after the one on show (at the end where
// none is), titled by its place, as the desktop appends it.
KORV_EXPORT(appendStep) const char* korvAppendStep()
{
    if (lesson.steps.size() < kMostLessonSteps) {
        const std::size_t at = stepShown ? shownStep + 1 : lesson.steps.size();
        LessonSettings step = currentStep();
        step.title = "Schritt " + std::to_string(at + 1);
        lesson.steps.insert(lesson.steps.begin() + static_cast<std::ptrdiff_t>(at), step);
        shownStep = at;
        stepShown = true;
    }
    return stepState({});
}

// The text of a lesson file of the setting as it stands, as the desktop saves it: the lesson
// opened with its step on show replaced, or this setting alone.
KORV_EXPORT(saveLesson) const char* korvSaveLesson()
{
    Core& c = core();
    LessonSettings now = currentStep();
    Lesson saved = lesson;
    if (!stepShown || saved.steps.empty()) {
        saved.steps = {now};
        shownStep = 0;
        stepShown = true;
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
    c.json.field("presentation", classroom::kPresentation);
    c.json.field("appendStep", classroom::kAppendStep);
    c.json.field("nextStep", classroom::kNextStep).field("previousStep", classroom::kPreviousStep);
    c.json.end('}');
    return written(c.json);
}
