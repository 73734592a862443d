#include "quizwindow.h"

#include "lesson/classroomwords.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace korvelian {

namespace {

// The largest seed a spin box holds; the command line takes any 32-bit one.
constexpr int kLargestSeedInBox = 999999;

} // namespace

QuizWindow::QuizWindow(QWidget* parent) : QWidget(parent)
{
    // A window of its own beside the main window, kept above it.
    setWindowFlag(Qt::Dialog);
    setWindowTitle(QString::fromUtf8(classroom::kQuizTitle));
    setObjectName("quiz");

    m_range = rangeBox();

    m_number = new QLabel(this);
    m_number->setWordWrap(true);
    m_ratio = new QLineEdit(this);
    m_ratio->setObjectName("answerRatio");
    m_ratio->setPlaceholderText(QString::fromUtf8(classroom::kRatioPlaceholder));
    m_phaseCaption = new QLabel(QString::fromUtf8(classroom::kPhaseLabel), this);
    m_phase = new QLineEdit(this);
    m_phase->setObjectName("answerPhase");
    m_phase->setPlaceholderText(QString::fromUtf8(classroom::kPhasePlaceholder));
    m_check = new QPushButton(QString::fromUtf8(classroom::kCheck), this);
    m_check->setDefault(true);
    m_next = new QPushButton(QString::fromUtf8(classroom::kNext), this);
    m_explanation = new QLabel(this);
    m_explanation->setObjectName("explanation");
    m_explanation->setTextFormat(Qt::RichText);
    m_explanation->setWordWrap(true);
    m_explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_score = new QLabel(this);
    m_score->setObjectName("score");

    // A caption goes above its box where the row is too narrow: in a presentation the window
    // is as narrow as the margin beside the screen and its letters are large.
    auto* answers = new QFormLayout;
    answers->setRowWrapPolicy(QFormLayout::WrapLongRows);
    answers->addRow(new QLabel(QString::fromUtf8(classroom::kRatioLabel), this), m_ratio);
    answers->addRow(m_phaseCaption, m_phase);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_check);
    buttons->addWidget(m_next);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_range);
    layout->addWidget(m_number);
    layout->addLayout(answers);
    layout->addLayout(buttons);
    layout->addWidget(m_explanation, 1);
    layout->addWidget(m_score);
    setLetterCap(0);

    connect(m_check, &QPushButton::clicked, this, &QuizWindow::check);
    connect(m_ratio, &QLineEdit::returnPressed, this, &QuizWindow::check);
    connect(m_phase, &QLineEdit::returnPressed, this, &QuizWindow::check);
    connect(m_next, &QPushButton::clicked, this, &QuizWindow::next);
}

// What the teacher chooses: the range the figures come from and the series' number.
QGroupBox* QuizWindow::rangeBox()
{
    const auto words = [](const char* text) { return QString::fromUtf8(text); };
    auto* range = new QGroupBox(words(classroom::kRangeTitle), this);
    range->setObjectName("range");
    m_largest = new QComboBox(range);
    for (std::size_t i = 0; i < classroom::kLargestChoices.size(); ++i)
        m_largest->addItem(words(classroom::kLargestChoices[i]), kQuizLargestChoices[i]);
    m_phases = new QCheckBox(words(classroom::kPhasesChoice), range);
    m_amplitudes = new QCheckBox(words(classroom::kAmplitudesChoice), range);
    m_tolerance = new QSpinBox(range);
    m_tolerance->setRange(kQuizToleranceMin, kQuizToleranceMax);
    m_tolerance->setValue(QuizRange{}.toleranceDegrees);
    m_tolerance->setSuffix(QStringLiteral("°"));
    m_seed = new QSpinBox(range);
    m_seed->setRange(0, kLargestSeedInBox);
    m_seed->setValue(1);
    auto* restart = new QPushButton(words(classroom::kNewSeries), range);
    auto* form = new QFormLayout(range);
    form->addRow(words(classroom::kLargestLabel), m_largest);
    form->addRow(m_phases);
    form->addRow(m_amplitudes);
    form->addRow(words(classroom::kToleranceLabel), m_tolerance);
    form->addRow(words(classroom::kSeedLabel), m_seed);
    form->addRow(restart);
    connect(restart, &QPushButton::clicked, this, &QuizWindow::startFromControls);
    return range;
}

void QuizWindow::start(const QuizRange& range, std::uint32_t seed)
{
    m_largest->setCurrentIndex(range.largest == kQuizLargestChoices[1] ? 1 : 0);
    m_phases->setChecked(range.phases);
    m_amplitudes->setChecked(range.amplitudes);
    m_tolerance->setValue(range.toleranceDegrees);
    if (seed <= static_cast<std::uint32_t>(kLargestSeedInBox))
        m_seed->setValue(static_cast<int>(seed));
    m_quiz = std::make_unique<Quiz>(range, seed);
    showQuestion();
}

void QuizWindow::startFromControls()
{
    QuizRange range;
    range.largest = m_largest->currentData().toInt();
    range.phases = m_phases->isChecked();
    range.amplitudes = m_amplitudes->isChecked();
    range.toleranceDegrees = m_tolerance->value();
    // The boxes offer nothing else, but the range goes through the same check as the command
    // line's.
    if (const std::string wrong = checkQuizRange(range); !wrong.empty()) {
        m_explanation->setText(QString::fromStdString(wrong));
        return;
    }
    start(range, static_cast<std::uint32_t>(m_seed->value()));
}

void QuizWindow::showQuestion()
{
    const QuizQuestion& q = m_quiz->question();
    m_number->setText(
        QString::fromStdString(classroom::quizQuestionText(m_quiz->number(), q.asksPhase)));
    m_ratio->clear();
    m_phase->clear();
    m_phase->setEnabled(q.asksPhase);
    m_phaseCaption->setEnabled(q.asksPhase);
    m_explanation->clear();
    m_score->setText(QString::fromStdString(m_quiz->scoreText()));
    m_ratio->setFocus();
    emit questionAsked(q);
}

void QuizWindow::answer(const QString& ratio, const QString& phase)
{
    m_ratio->setText(ratio);
    m_phase->setText(phase);
    check();
}

void QuizWindow::check()
{
    if (!m_quiz)
        return;
    const Judgement judgement =
        m_quiz->judge(m_ratio->text().toStdString(), m_phase->text().toStdString(), m_yUp);
    m_explanation->setText(QString::fromStdString(judgement.explanation));
    m_score->setText(QString::fromStdString(m_quiz->scoreText()));
    if (judgement.verdict != Verdict::Refused)
        m_next->setFocus();
}

void QuizWindow::next()
{
    if (!m_quiz)
        return;
    m_quiz->next();
    showQuestion();
}

void QuizWindow::setLetterCap(int cap)
{
    QFont font;
    if (cap > 0) {
        font = QApplication::font();
        font.setPixelSize(std::max(1, cap * 4 / 3));
        while (QFontMetricsF(font).capHeight() < cap)
            font.setPixelSize(font.pixelSize() + 1);
    }
    // A font without anything set is the application's again.
    setFont(font);
    // The teacher's choices stay out of the class's sight while presenting.
    m_range->setVisible(cap == 0);
    m_explanation->setMinimumHeight(QFontMetrics(m_explanation->font()).height() * 4);
}

QString QuizWindow::explanation() const
{
    return m_explanation->text();
}

QString QuizWindow::score() const
{
    return m_score->text();
}

void QuizWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closed();
}

void QuizWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace korvelian
