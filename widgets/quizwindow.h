#pragma once

#include "lesson/quiz.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace korvelian {

// "Welches Verhältnis?": a window beside the main window where the teacher sets the range and
// the series (its seed) and the class types its answers; the quiz itself (lesson/quiz.h)
// picks, judges and counts. Each figure it picks is asked for (questionAsked), for the window
// to set its controls and hide their values.
class QuizWindow : public QWidget
{
    Q_OBJECT

public:
    explicit QuizWindow(QWidget* parent = nullptr);

    // A new series of this range and seed, from its first figure.
    void start(const QuizRange& range, std::uint32_t seed);
    const Quiz* quiz() const { return m_quiz.get(); }

    // The class's answer, judged as if "Prüfen" was pressed.
    void answer(const QString& ratio, const QString& phase);
    // The next figure of the series.
    void next();

    QString explanation() const;
    QString score() const;
    // Capital letters cap pixels high, for a presentation, or the usual font at 0; the
    // range's choices are hidden while presenting.
    void setLetterCap(int cap);
    // The screen's orientation, which an explanation of a tilt follows.
    void setYUp(bool yUp) { m_yUp = yUp; }

signals:
    void questionAsked(const QuizQuestion& question);
    // The window was closed: the values may be shown again.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QGroupBox* rangeBox();
    void startFromControls();
    void showQuestion();
    void check();

    std::unique_ptr<Quiz> m_quiz;
    QGroupBox* m_range;
    QComboBox* m_largest;
    QCheckBox* m_phases;
    QCheckBox* m_amplitudes;
    QSpinBox* m_tolerance;
    QSpinBox* m_seed;
    QLabel* m_number;
    QLineEdit* m_ratio;
    QLineEdit* m_phase;
    QLabel* m_phaseCaption;
    QPushButton* m_check;
    QPushButton* m_next;
    QLabel* m_explanation;
    QLabel* m_score;
    bool m_yUp = false;
};

} // namespace korvelian
