#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class QLabel;
class QWidget;

namespace korvelian {

// "Werte verbergen" and the quiz: the numerator, denominator and closing-count boxes covered
// with a question mark, so the class reads the ratio off the figure. The cover lies over each
// box at its place and size, wherever the zoom puts it; the box itself, its text and its place
// stay as they are.
class ValueCover : public QObject
{
    Q_OBJECT

public:
    explicit ValueCover(QWidget& window);

    void setCovered(bool covered);
    bool covered() const { return m_covered; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place(QWidget& box, QLabel& cover) const;

    struct Pair
    {
        QWidget* box;
        QLabel* cover;
    };
    std::vector<Pair> m_pairs;
    bool m_covered = false;
};

} // namespace korvelian
