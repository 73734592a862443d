#include "app/classroom.h"
#include "app/lessonsteps.h"
#include "app/picturefilename.h"
#include "app/presentation.h"
#include "app/viewoptions.h"
#include "form/layout.h"
#include "lesson/classroomwords.h"
#include "picture/pictureexporter.h"
#include "picture/scenepainter.h"
#include "scene/presentationpanel.h"
#include "widgets/presentationpanel.h"
#include "widgets/quizwindow.h"
#include "widgets/screenarea.h"
#include "widgets/timesignalview.h"
#include "tests/windowfixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

// Every letter's cap height in the scene, each text in the font it is drawn in.
std::vector<std::pair<double, std::string>> capHeights(const Scene& scene)
{
    std::vector<std::pair<double, std::string>> caps;
    std::vector<Font> fonts{Font{}};
    for (const Item& item : scene.items()) {
        if (std::holds_alternative<item::Save>(item))
            fonts.push_back(fonts.back());
        else if (std::holds_alternative<item::Restore>(item))
            fonts.pop_back();
        else if (const auto* set = std::get_if<item::SetFont>(&item))
            fonts.back() = set->font;
        else if (const auto* text = std::get_if<item::Text>(&item))
            caps.emplace_back(qtTextMetrics().capHeight(fonts.back()), text->text);
        else if (const auto* rich = std::get_if<item::RichText>(&item))
            caps.emplace_back(qtTextMetrics().capHeight(rich->font), rich->html);
        else if (const auto* label = std::get_if<item::Label>(&item))
            caps.emplace_back(qtTextMetrics().capHeight(label->font), label->html);
    }
    return caps;
}

} // namespace

class TestClassroom : public QObject
{
    Q_OBJECT

private slots:
    void presentationDocksViewsInLettersForTheRoom_data();
    void presentationDocksViewsInLettersForTheRoom();
    void quizSetsTheFigureAndCoversTheBoxes();
    void predictionHidesTheFigureUntilResolved();
    void pageKeysStepALessonButNotAFocusedBar();
};

void TestClassroom::presentationDocksViewsInLettersForTheRoom_data()
{
    QTest::addColumn<int>("display");
    QTest::newRow("projector 1920 x 1080") << 0;
    QTest::newRow("projector 1024 x 768") << 1;
}

void TestClassroom::presentationDocksViewsInLettersForTheRoom()
{
    QFETCH(int, display);
    const QScreen* screen = QGuiApplication::screens().at(display);
    WindowFixture f;
    f.window.move(screen->geometry().topLeft() + QPoint(20, 20));
    QVERIFY(f.show());
    f.window.viewOptions().setOption(ViewOption::TimeSignals, true);
    f.window.viewOptions().setOption(ViewOption::ReadingAid, true);
    f.control<QLineEdit>("txtZaehler")->setText("3");
    const QRect before = f.window.geometry();

    Presentation& presentation = f.window.classroom().presentation();
    presentation.setOn(true);
    QTRY_VERIFY(f.window.isFullScreen());
    QTRY_COMPARE(f.window.geometry(), screen->geometry());
    const auto* panel = f.window.findChild<QWidget*>("presentationPanel");
    QTRY_VERIFY(panel->isVisible());
    // The views stand in the margin, not in windows of their own over the controls.
    QVERIFY(!f.window.timeSignals().isVisible());
    QVERIFY(f.window.rect().contains(panel->geometry()));
    QVERIFY(panel->width() >= kPresentationMarginShare * screen->geometry().width() - 1);
    for (const QWidget* child : f.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != panel && child->isVisible() && !child->isWindow()) {
            QVERIFY2(!child->geometry().intersects(panel->geometry()),
                     qPrintable(child->objectName()));
        }
    }

    // Each letter of the margin is read from the back of the room.
    PresentationContent content;
    content.timeSignals = f.window.timeSignals().scene();
    const auto* area = f.window.findChild<ScreenArea*>();
    for (const QString& line : area->legendBeside())
        content.legend.push_back(line.toStdString());
    QVERIFY(!content.legend.empty());
    Scene scene;
    describePresentation(scene, qtTextMetrics(),
                         {0, 0, double(panel->width()), double(panel->height())}, content,
                         screen->geometry().height(), 1, 1);
    // The values written on the screen as well.
    f.window.viewOptions().setOption(ViewOption::Values, true);
    area->picture().describeReadings(
        scene, qtTextMetrics(), {0, 0, double(area->width()), double(area->height())}, 1, false);
    const auto caps = capHeights(scene);
    QVERIFY(caps.size() > 8);
    for (const auto& [cap, text] : caps) {
        QVERIFY2(cap >= 0.025 * screen->geometry().height(),
                 qPrintable(QString("%1 px: %2").arg(cap).arg(QString::fromStdString(text))));
    }

    // So is the quiz, in the margin's width beside the controls, the teacher's choices hidden.
    QuizWindow& quiz = f.window.classroom().startQuiz({}, 7);
    const int cap = static_cast<int>(std::ceil(0.025 * screen->geometry().height()));
    auto* range = quiz.findChild<QWidget*>("range");
    QVERIFY(!range->isVisible());
    for (const QWidget* shown : quiz.findChildren<QWidget*>()) {
        if (shown->isVisible())
            QVERIFY2(QFontMetricsF(shown->font()).capHeight() >= cap,
                     qPrintable(shown->objectName()));
    }
    for (const QWidget* control : f.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->isVisible() && !control->isWindow() && control != panel &&
            control->objectName() != "picBildschirm") {
            const QRect global(control->mapToGlobal(QPoint()), control->size());
            QVERIFY2(!quiz.frameGeometry().intersects(global), qPrintable(control->objectName()));
        }
    }

    presentation.setOn(false);
    QTRY_VERIFY(!f.window.isFullScreen());
    QTRY_COMPARE(f.window.geometry(), before);
    QVERIFY(!panel->isVisible());
    QTRY_VERIFY(range->isVisible());
    QVERIFY(QFontMetricsF(range->font()).capHeight() < cap);
    quiz.close();
    QTRY_VERIFY(f.window.timeSignals().isVisible());
}

void TestClassroom::quizSetsTheFigureAndCoversTheBoxes()
{
    WindowFixture f;
    QVERIFY(f.show());
    QuizRange range;
    range.largest = 6;
    QuizWindow& quiz = f.window.classroom().startQuiz(range, 7);
    const QuizQuestion question = quiz.quiz()->question();
    QCOMPARE(f.text("txtZaehler"), QString::number(question.numerator));
    QCOMPARE(f.text("txtNenner"), QString::number(question.denominator));
    for (const char* box : {"txtZaehler", "txtNenner"}) {
        const auto* cover = f.window.findChild<QLabel*>(QStringLiteral("cover_%1").arg(box));
        QVERIFY(cover->isVisible());
        QCOMPARE(cover->geometry(), f.control(box)->geometry());
    }
    QVERIFY(!f.window.viewOptions().option(ViewOption::Values));
    // Nothing written from the window gives the asked figure away: a picture's proposed name,
    // its description and page lines, a lesson saved or a step appended.
    const auto written = [&f] {
        const ScreenPicture& picture = f.control<ScreenArea>("picBildschirm")->picture();
        QStringList seen{PictureFileName::screen(picture, QStringLiteral("png")),
                         PictureFileName::timeSignals(picture, QStringLiteral("png")),
                         QString::number(PictureExporter::parameterLines(picture).size())};
        for (QAction* action : f.window.findChildren<QAction*>()) {
            if (action->text() == QString::fromUtf8(classroom::kSave) ||
                action->text() == QString::fromUtf8(classroom::kAppendStep))
                seen << (action->isEnabled() ? QStringLiteral("on") : QStringLiteral("off"));
        }
        return seen.join(' ');
    };
    QCOMPARE(written(), QStringLiteral("korvelian.png zeitverlaeufe.png 0 off off"));

    // Unreduced, the ratio is the same figure: judged right, and the score counts it. Without
    // phases in the range no phase is asked.
    QVERIFY(!question.asksPhase);
    quiz.answer(QStringLiteral("%1 : %2").arg(2 * question.numerator).arg(2 * question.denominator),
                QString());
    QVERIFY2(quiz.explanation().startsWith(QStringLiteral("Richtig")),
             qPrintable(quiz.explanation()));
    QVERIFY2(quiz.score().contains(QStringLiteral("1 von 1")), qPrintable(quiz.score()));

    quiz.close();
    QTRY_VERIFY(!f.window.findChild<QLabel*>("cover_txtZaehler")->isVisible());
    const QString ratio = QStringLiteral("%1-%2").arg(question.numerator).arg(question.denominator);
    QCOMPARE(written(), QStringLiteral("korvelian-%1.png zeitverlaeufe-%1.png 3 on on").arg(ratio));
    // Values hidden for a prediction keep the numbers out of the files; the lesson is the
    // teacher's to save.
    f.window.classroom().setValuesHidden(true);
    QCOMPARE(written(), QStringLiteral("korvelian.png zeitverlaeufe.png 0 on on"));
}

void TestClassroom::predictionHidesTheFigureUntilResolved()
{
    WindowFixture f;
    QVERIFY(f.show());
    f.control<QPushButton>("Command1")->click();
    auto* area = f.window.findChild<ScreenArea*>();
    // The figure's pixels: grey to white, which neither the light-blue axes nor the markers
    // nor the yellow beam are.
    const auto figurePixels = [area] {
        const QImage shown = area->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb c = shown.pixel(x, y);
                count += std::min({qRed(c), qGreen(c), qBlue(c)}) > 160 ? 1 : 0;
            }
        }
        return count;
    };
    const int whole = figurePixels();
    QVERIFY(whole > 100);

    Classroom& classroom = f.window.classroom();
    classroom.setPrediction(Prediction::Mode::TimeSignals);
    // The class predicts from the time signals alone.
    QVERIFY(f.window.viewOptions().option(ViewOption::TimeSignals));
    QCOMPARE(figurePixels(), 0);
    classroom.resolve();
    QCOMPARE(figurePixels(), whole);

    // A new figure is hidden again until it is resolved.
    f.control<QLineEdit>("txtZaehler")->setText("2");
    QTest::keyClick(f.control("txtZaehler"), Qt::Key_Return);
    f.control<QPushButton>("Command1")->click();
    QCOMPARE(figurePixels(), 0);

    // The beam draws it from nothing: part of it after a few frames, never more than all.
    classroom.setPrediction(Prediction::Mode::Beam);
    QCOMPARE(figurePixels(), 0);
    int drawn = -1;
    f.runFrames(20, [&](int pump) {
        if (pump == 19)
            drawn = figurePixels();
    });
    QTRY_VERIFY(drawn >= 0);
    QVERIFY2(drawn > 0, qPrintable(QString::number(drawn)));
    classroom.setPrediction(Prediction::Mode::Off);
    QVERIFY2(drawn < figurePixels(), qPrintable(QString::number(drawn)));
}

void TestClassroom::pageKeysStepALessonButNotAFocusedBar()
{
    WindowFixture f;
    QVERIFY(f.show());
    const LessonReading read =
        readLesson("Korvelian-Einstellungen 1\n[Gerade]\nratio = 1:1\n[<b>Zwei</b>]\nratio = "
                   "1:2\nEnde\n");
    QVERIFY2(read.lesson, read.refusal.c_str());
    LessonSteps& steps = f.window.classroom().lessonSteps();
    steps.start(*read.lesson, {});
    QCOMPARE(f.text("txtNenner"), QString("1"));

    // On a bar with the focus the key pages the bar, as it does without a lesson.
    auto* bar = f.control<QScrollBar>("HScroll1");
    bar->setValue(bar->maximum() / 2);
    const int before = bar->value();
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_PageDown);
    QCOMPARE(steps.step(), std::optional<std::size_t>(0));
    QVERIFY(bar->value() != before);

    // Elsewhere it steps through the lesson.
    f.control("Command1")->setFocus();
    QTest::keyClick(f.control("Command1"), Qt::Key_PageDown);
    QCOMPARE(steps.step(), std::optional<std::size_t>(1));
    QCOMPARE(f.text("txtNenner"), QString("2"));

    // A presentation's margin heads its views with the step, the title as the teacher wrote it.
    const auto& panel = f.window.classroom().presentation().panel();
    QCOMPARE(panel.heading(), QString("Schritt 2 von 2: <b>Zwei</b>"));
    PresentationContent content;
    content.heading = panel.heading().toStdString();
    Scene scene;
    describePresentation(scene, qtTextMetrics(), {0, 0, 400, 800}, content, 1080, 1, 1);
    const auto caps = capHeights(scene);
    QCOMPARE(caps.size(), std::size_t(1));
    QCOMPARE(caps[0].second, std::string("<div>Schritt 2 von 2: &lt;b&gt;Zwei&lt;/b&gt;</div>"));
    QVERIFY(caps[0].first >= 0.025 * 1080);
}

// A projector of 1920 × 1080 and a smaller one of 1024 × 768 beside it.
int runClassroomTest(int argc, char* argv[])
{
    return runWidgetTest<TestClassroom>(argc, argv, R"({"screens": [{"name": "projector",
        "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96,
        "dpr": 1}, {"name": "small", "x": 1920, "y": 0, "width": 1024, "height": 768,
        "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
}

} // namespace korvelian

KORVELIAN_TEST_AREA(classroom, korvelian::runClassroomTest)
#include "tst_classroom.moc"
