#pragma once

#include "picture/scenepainter.h"
#include "scene/keptmetrics.h"
#include "scene/timesignals.h"

#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QMargins>
#include <QWidget>

#include <optional>

namespace korvelian {

class PictureArea;

// A line of text new in every frame (the cursor's readout) drawn from glyphs shaped once per
// pair of neighbouring letters: the letters and places QPainter::drawText gives it, kerning
// included, without laying it out and shaping it again each time.
class KeptGlyphs
{
public:
    // Places text in box as drawText(box, alignment, text) does in font. False where it
    // cannot tell the same places: another alignment than top left or top right, a letter
    // from another font, joined letters.
    bool layOut(const QFont& font, const QRectF& box, int alignment, const QString& text);
    // Every pixel the text laid out paints, in whole pixels.
    QRect inked() const { return m_inked; }
    // The text laid out, in the painter's pen.
    void draw(QPainter& painter) const;

private:
    struct Letter
    {
        quint32 glyph = 0;
        qreal advance = 0;
        // Where its ink lies from its place on the baseline.
        QRectF ink;
        bool kept = false;
    };
    // a's glyph and its advance before b (b null: at the line's end).
    const Letter& letter(QChar a, QChar b);

    QFont m_font;
    std::optional<QRawFont> m_raw;
    // From the line's top to its baseline, and the line's height.
    qreal m_ascent = 0;
    qreal m_height = 0;
    QHash<quint32, Letter> m_letters;
    // The text laid out: its glyphs, where its baseline starts, the box it is cut off at.
    QGlyphRun m_run;
    QList<quint32> m_glyphs;
    QList<QPointF> m_places;
    QPointF m_at;
    std::optional<QRectF> m_cut;
    QRect m_inked;
};

// "Zeitverläufe": a window of its own beside the main window with x(t) and y(t) of the
// screen's figure, and while the beam runs a cursor at its t. It follows every redraw of the
// screen and the window's zoom; nothing of the main window moves for it.
class TimeSignalView : public QWidget
{
    Q_OBJECT

public:
    // Follows the screen's figure, drawn the way the screen shows it.
    TimeSignalView(const PictureArea& screen, QWidget* parent = nullptr);

    // The screen drew a figure or changed how it shows it.
    void followScreen();
    // The beam at t, its markers on the screen at the deflection at (see
    // TimeSignalScene::beamPoint), which stays with it while the figure changes after "Stop".
    void setBeam(double t, std::optional<Point> at = std::nullopt);
    const TimeSignalScene& scene() const { return m_scene; }

    // The window's zoom; the picture is drawn at it, or smaller where it has less room.
    void setZoom(double zoom);
    double pictureZoom() const { return m_pictureZoom; }
    // Opens to the right of the window, or to its left where the screen ends, smaller where
    // the room is short; never over the window's screen, and whole on the desktop with its
    // title bar.
    void showBeside(const QWidget& window);
    // Goes along when the window moves, until the user puts it somewhere else.
    void follow(const QWidget& window);
    // Whether it stands where showBeside put it, not where the user moved it.
    bool besideWindow() const { return m_besideWindow; }

    // "Werte verbergen": without the formulas, which name the values.
    void setFormulasHidden(bool hidden);
    bool formulasHidden() const { return m_formulasHidden; }

    // The picture as a copy or a file has it, width pixels wide, with the cursor.
    QImage picture(int width, bool worksheet) const;
    // A PNG or SVG file by the name's ending; false and a German message on failure.
    bool save(const QString& path, int width, QString* error, bool worksheet) const;

signals:
    // The user closed the window.
    void closed();
    // The figure or the beam's place changed: what shows the signals elsewhere follows.
    void sceneChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void placeBeside(const QWidget& window);
    QMargins frameMargins(const QWidget& window);
    QSize zoomedSize() const;
    QSize pictureSize(int width) const;
    void paintPicture(QPainter& painter, const QRectF& target, const TimeSignalStyle& style) const;
    TimeSignalStyle shownStyle(double ratio) const;
    // The cursor as the window shows it.
    const Scene& cursorScene();
    // The cursor into the window, its readout from kept glyphs.
    void paintCursor(QPainter& painter);
    // Where it paints in the window.
    const std::optional<std::vector<RectF>>& cursorBoxes();
    // The signals painted anew into m_signals at the window's size and ratio.
    void paintSignals();
    // The signals followed the screen: repaints where they changed and the cursor was and is.
    void repaintChangedSignals();
    // The kept signals into the window's own memory, where it has their pixels.
    bool copyIntoWindow(const QRegion& region) const;

    const PictureArea& m_screen;
    TimeSignalScene m_scene;
    double m_zoom = 1;
    // What its text and marks are drawn at: the window's zoom, or less where it is placed in
    // less room beside the window.
    double m_pictureZoom = 1;
    // The window manager's frame around it, once it has had one.
    std::optional<QMargins> m_frame;
    // The signals without the cursor, at device resolution: only the cursor moves per frame.
    QImage m_signals;
    bool m_signalsCurrent = false;
    // The signals the window shows while new ones wait for its next paint, to be compared
    // with them: as the phase drifts, a step changes one signal and its formula, not all.
    QImage m_shownSignals;
    bool m_signalsFollow = false;
    // The window shows the signals with the cursor where m_cursorBoxes say (otherwise all of
    // it is painted again).
    bool m_shownCurrent = false;
    std::optional<std::vector<RectF>> m_cursorBoxes;
    // The cursor described for the beam as it stands, at the size, ratio and zoom it was for.
    struct CursorKey
    {
        QSize size;
        qreal ratio = 0;
        double zoom = 0;
        bool operator==(const CursorKey&) const = default;
    };
    std::optional<Scene> m_cursor;
    CursorKey m_cursorKey;
    // The same without its readout, and the readout in its font and colour.
    Scene m_cursorMarks;
    struct Readout
    {
        item::Text text;
        Font font;
        Rgba colour;
    };
    std::optional<Readout> m_readout;
    // Its font for the toolkit, made once.
    std::optional<std::pair<Font, QFont>> m_readoutFont;
    KeptGlyphs m_glyphs;
    bool m_readoutKept = false;
    std::optional<std::vector<RectF>> m_cursorPaints;
    // The cursor's layout measures the same texts in every frame.
    KeptTextMetrics m_metrics;
    // Its texts and the cursor painted in every frame.
    ScenePainter m_painter;
    // Where it was put beside the window; moved elsewhere, it stays there.
    QPoint m_placed;
    bool m_besideWindow = false;
    bool m_formulasHidden = false;
};

} // namespace korvelian
