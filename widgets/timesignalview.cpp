#include "timesignalview.h"

#include "form/layout.h"
#include "picturearea.h"
#include "picture/changedtiles.h"
#include "picture/pictureexporter.h"
#include "picture/scenepainter.h"
#include "windowcopy.h"

#include <QBackingStore>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <utility>

namespace korvelian {

namespace {

QString formulaText(const TimeSignalScene& shown)
{
    QStringList lines;
    for (const std::string& line : formulaLines(shown))
        lines << QString::fromStdString(line);
    return lines.join('\n');
}

TimeSignalStyle styleFor(double zoom, double ratio, bool worksheet)
{
    // A line is linePixels device pixels wide, as on the screen.
    return {zoom, linePixels(zoom) / ratio, ratio, worksheet};
}

// Its text is no smaller than at 100 %, and the picture no narrower than half its width at
// its zoom, where its texts still stand side by side.
constexpr double kLeastZoom = 1;

// The side of the squares in which a step of the drift is compared, in device pixels: a
// signal's wave crosses the window's width, and smaller squares follow it more closely but
// give the window more rectangles to paint and send.
constexpr int kSignalTile = 16;

double zoomFitting(int width)
{
    return 2.0 * width / kTimeSignalsWidth;
}

QMargins marginsOf(const QWidget& window)
{
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

} // namespace

const KeptGlyphs::Letter& KeptGlyphs::letter(QChar a, QChar b)
{
    const quint32 key = (quint32(a.unicode()) << 16) | b.unicode();
    if (const auto found = m_letters.constFind(key); found != m_letters.constEnd())
        return *found;
    QString pair(a);
    if (!b.isNull())
        pair += b;
    QTextLayout layout(pair, m_font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    Letter shaped;
    // One glyph for each letter, all from one font; else drawText's places are its own.
    if (line.isValid() && runs.size() == 1 && runs[0].glyphIndexes().size() == pair.size()) {
        const QList<QPointF> places = runs[0].positions();
        if (!m_raw) {
            m_raw = runs[0].rawFont();
            m_ascent = places[0].y();
            m_height = line.ascent() + line.descent();
        }
        shaped.kept = runs[0].rawFont() == *m_raw && places[0].y() == m_ascent;
        shaped.glyph = runs[0].glyphIndexes()[0];
        shaped.ink = m_raw->boundingRect(shaped.glyph);
        shaped.advance = b.isNull() ? line.horizontalAdvance() : places[1].x() - places[0].x();
    }
    return *m_letters.insert(key, shaped);
}

bool KeptGlyphs::layOut(const QFont& font, const QRectF& box, int alignment, const QString& text)
{
    const int across = alignment & Qt::AlignHorizontal_Mask;
    if ((alignment & Qt::AlignVertical_Mask & ~Qt::AlignTop) != 0 ||
        (across != Qt::AlignLeft && across != Qt::AlignRight) || text.isEmpty() ||
        text.back().isSpace())
        return false;
    if (font != m_font || font.resolveMask() != m_font.resolveMask()) {
        m_font = font;
        m_raw.reset();
        m_letters.clear();
    }
    m_glyphs.resize(text.size());
    m_places.resize(text.size());
    qreal width = 0;
    QRectF ink;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isSurrogate())
            return false;
        const Letter& shaped = letter(text[i], i + 1 < text.size() ? text[i + 1] : QChar());
        if (!shaped.kept)
            return false;
        m_glyphs[i] = shaped.glyph;
        m_places[i] = QPointF(width, 0);
        ink |= shaped.ink.translated(width, 0);
        width += shaped.advance;
    }
    const qreal left = across == Qt::AlignRight ? box.width() - width : 0;
    m_at = QPointF(box.x() + left, box.y() + m_ascent);
    // drawText cuts the text off at its box only where it does not fit in it.
    m_cut.reset();
    if (!box.contains(QRectF(box.x() + left, box.y(), width, m_height)))
        m_cut = box;
    // A pixel more on every side for the letters' smoothed edges.
    m_inked = ink.translated(m_at).toAlignedRect().adjusted(-1, -1, 1, 1);
    if (m_cut)
        m_inked &= m_cut->toAlignedRect();
    m_run.setRawFont(*m_raw);
    m_run.setGlyphIndexes(m_glyphs);
    m_run.setPositions(m_places);
    return true;
}

void KeptGlyphs::draw(QPainter& painter) const
{
    if (m_cut) {
        painter.save();
        painter.setClipRect(*m_cut, Qt::IntersectClip);
    }
    painter.drawGlyphRun(m_at, m_run);
    if (m_cut)
        painter.restore();
}

TimeSignalView::TimeSignalView(const PictureArea& screen, QWidget* parent)
    : QWidget(parent), m_screen(screen), m_metrics(qtTextMetrics())
{
    // Kept above the main window by the window manager, also full screen, where it may lie over
    // the column of controls. Not a tool window: Qt would take the main window's shortcuts as
    // a tool window's too, beside the ones the view has of them, and neither would work.
    setWindowFlag(Qt::Dialog);
    setWindowTitle(QStringLiteral("Zeitverläufe – Korvelian-Figuren"));
    setObjectName("zeitverlaeufe");
    setAccessibleName(QStringLiteral("Zeitverläufe"));
    setAccessibleDescription(
        QStringLiteral("Die Schwingungen x(t) und y(t) über einer Periode der Figur; während "
                       "der Schwingung ein Zeiger bei der Zeit des Leuchtpunkts"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    resize(zoomedSize());
}

QSize TimeSignalView::zoomedSize() const
{
    // As high as the main window, a little narrower.
    return {pixels(kTimeSignalsWidth * kTwipsPerPixel, m_zoom), pixels(kClientHeight, m_zoom)};
}

void TimeSignalView::followScreen()
{
    const DrawOp* figure = lastFigure(m_screen.drawing());
    if (!figure)
        return;
    const std::optional<double> beam = m_scene.beamT;
    const std::optional<Point> beamPoint = m_scene.beamPoint;
    m_scene = sceneOf(*figure, m_screen.mappingOnto(figure->frame, {0, 0, 1, 1}));
    m_scene.beamT = beam;
    m_scene.beamPoint = beamPoint;
    m_cursor.reset();
    // Shown as they were, the signals are compared with the new ones before the window's next
    // paint; its request comes from the cursor's move or from here.
    if (isVisible() && m_shownCurrent && (m_signalsCurrent || m_signalsFollow)) {
        if (!m_signalsFollow)
            QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest),
                                        Qt::LowEventPriority);
        m_signalsFollow = true;
    } else {
        update();
    }
    m_signalsCurrent = false;
    emit sceneChanged();
}

bool TimeSignalView::event(QEvent* event)
{
    // The region a step of the drift repaints is known once the new signals are painted,
    // which waits until the window is painted: before the repaint manager takes its region.
    if (event->type() == QEvent::UpdateRequest && m_signalsFollow)
        repaintChangedSignals();
    return QWidget::event(event);
}

void TimeSignalView::repaintChangedSignals()
{
    m_signalsFollow = false;
    if (m_signalsCurrent)
        return;
    const std::optional<std::vector<RectF>> was = m_cursorBoxes;
    std::swap(m_shownSignals, m_signals);
    paintSignals();
    const std::optional<std::vector<RectF>>& now = cursorBoxes();
    if (!m_shownCurrent || !was || !now) {
        update();
        return;
    }
    QRegion changed = logicalRegion(changedTiles(m_shownSignals, m_signals, kSignalTile),
                                    m_signals.devicePixelRatio());
    for (const std::vector<RectF>* boxes : {&*was, &*now}) {
        for (const RectF& box : *boxes)
            changed += toQt(box).toAlignedRect();
    }
    update(changed & rect());
}

void TimeSignalView::setBeam(double t, std::optional<Point> at)
{
    m_scene.beamT = t;
    m_scene.beamPoint = at;
    m_cursor.reset();
    // Only the cursor moves: where it was and where it is now, while the signals stay.
    const std::optional<std::vector<RectF>> now =
        m_shownCurrent && isVisible() ? cursorBoxes() : std::nullopt;
    if (now && m_cursorBoxes) {
        QRegion changed;
        for (const std::vector<RectF>* boxes : {&std::as_const(*m_cursorBoxes), &*now}) {
            for (const RectF& box : *boxes)
                changed += toQt(box).toAlignedRect() & rect();
        }
        update(changed);
    } else {
        update();
    }
    emit sceneChanged();
}

const Scene& TimeSignalView::cursorScene()
{
    // Described once a frame, for the repaint's places and for the paint.
    const CursorKey key{size(), devicePixelRatioF(), m_pictureZoom};
    if (!m_cursor || !(m_cursorKey == key)) {
        m_cursor = Scene();
        describeTimeCursor(*m_cursor, m_metrics, fromQt(QRectF(rect())), m_scene,
                           shownStyle(key.ratio));
        m_cursorKey = key;
        // The readout, new in each frame, comes from kept glyphs instead of being laid out.
        // Where it is the cursor's only text, the marks need no font.
        const auto isText = [](const Item& i) {
            return std::holds_alternative<item::Text>(i) ||
                   std::holds_alternative<item::RichText>(i) ||
                   std::holds_alternative<item::Label>(i);
        };
        const auto isReadout = [](const Item& i) {
            const auto* text = std::get_if<item::Text>(&i);
            return text && text->role == TextRole::Readout;
        };
        const std::vector<Item>& items = m_cursor->items();
        const bool oneText = std::count_if(items.begin(), items.end(), isText) == 1 &&
                             std::count_if(items.begin(), items.end(), isReadout) == 1;
        m_cursorMarks.clear();
        m_readout.reset();
        Rgba colour;
        Font font;
        for (const Item& item : items) {
            if (const auto* pen = std::get_if<item::SetPen>(&item); pen && pen->pen)
                colour = pen->pen->colour;
            if (const auto* set = std::get_if<item::SetFont>(&item)) {
                font = set->font;
                if (oneText)
                    continue;
            }
            if (isReadout(item) && !m_readout) {
                m_readout = Readout{std::get<item::Text>(item), font, colour};
                continue;
            }
            std::visit([&](const auto& kept) { m_cursorMarks.add(kept); }, item);
        }
        const RectF area = fromQt(QRectF(rect()));
        if (m_readout && !(m_readoutFont && m_readoutFont->first == m_readout->font))
            m_readoutFont.emplace(m_readout->font, toQFont(m_readout->font));
        m_readoutKept =
            m_readout && m_glyphs.layOut(m_readoutFont->second, toQt(m_readout->text.box),
                                         m_readout->text.alignment,
                                         QString::fromStdString(m_readout->text.text));
        // Laid out, the readout paints where its letters are, not across the whole window.
        m_cursorPaints = paintedBoxes(m_readoutKept ? m_cursorMarks : *m_cursor, area);
        if (m_cursorPaints && m_readoutKept)
            m_cursorPaints->push_back(fromQt(QRectF(m_glyphs.inked())));
    }
    return *m_cursor;
}

const std::optional<std::vector<RectF>>& TimeSignalView::cursorBoxes()
{
    cursorScene();
    return m_cursorPaints;
}

void TimeSignalView::paintCursor(QPainter& painter)
{
    cursorScene();
    m_painter.paint(painter, m_cursorMarks);
    if (!m_readout)
        return;
    // Last in the cursor, over all of it, as the described cursor paints it.
    painter.save();
    painter.setPen(QPen(toQColor(m_readout->colour)));
    if (m_readoutKept) {
        m_glyphs.draw(painter);
    } else {
        painter.setFont(m_readoutFont->second);
        painter.drawText(toQt(m_readout->text.box), m_readout->text.alignment,
                         QString::fromStdString(m_readout->text.text));
    }
    painter.restore();
}

TimeSignalStyle TimeSignalView::shownStyle(double ratio) const
{
    TimeSignalStyle style = styleFor(m_pictureZoom, ratio, false);
    style.formulas = !m_formulasHidden;
    return style;
}

void TimeSignalView::setFormulasHidden(bool hidden)
{
    m_formulasHidden = hidden;
    m_cursor.reset();
    m_signalsCurrent = false;
    update();
    emit sceneChanged();
}

void TimeSignalView::setZoom(double zoom)
{
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    m_pictureZoom = zoom;
    // Beside the window it is placed anew as the window follows the zoom: one size for the
    // window manager, not two in a row.
    if (!isVisible() || !m_besideWindow)
        resize(zoomedSize());
    m_signalsCurrent = false;
    update();
}

void TimeSignalView::showBeside(const QWidget& window)
{
    placeBeside(window);
    show();
    raise();
}

void TimeSignalView::follow(const QWidget& window)
{
    if (isVisible() && m_besideWindow)
        placeBeside(window);
}

void TimeSignalView::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // The window manager framing the view moves its frame, not its inside.
    if (geometry().topLeft() != m_placed)
        m_besideWindow = false;
}

QMargins TimeSignalView::frameMargins(const QWidget& window)
{
    if (const QMargins own = marginsOf(*this); !own.isNull())
        m_frame = own;
    if (m_frame)
        return *m_frame;
    // Not framed yet: the main window's frame stands in, or one as the style draws it where the
    // main window has none, full screen.
    if (const QMargins theirs = marginsOf(window); !theirs.isNull())
        return theirs;
    constexpr int kBorder = 4;
    return {kBorder, style()->pixelMetric(QStyle::PM_TitleBarHeight) + kBorder, kBorder, kBorder};
}

void TimeSignalView::placeBeside(const QWidget& window)
{
    const QMargins border = frameMargins(window);
    const int borders = border.left() + border.right();
    const QSize full = zoomedSize();
    // The window's controls and screen; full screen or maximized they stand amid room of the
    // window that shows nothing, which the view may take.
    const ControlLayout& screenRow = control(Picture::Screen);
    const QRect screen(m_screen.mapToGlobal(QPoint(0, 0)), m_screen.size());
    const QRect content(screen.topLeft() -
                            QPoint(pixels(screenRow.left, m_zoom), pixels(screenRow.top, m_zoom)),
                        QSize(pixels(kClientWidth, m_zoom), pixels(kClientHeight, m_zoom)));
    const QRect taken = content.marginsAdded(marginsOf(window)) & window.frameGeometry();
    const QScreen* shownOn = window.screen();
    const QRect room =
        shownOn ? shownOn->availableGeometry() : taken.adjusted(0, 0, full.width() + borders, 0);

    // Beside the window as wide as it should be, or narrower and with smaller text on the
    // roomier side, down to its least size; only where even that does not fit does it lie
    // over the column of controls, as little as it can and never over the screen.
    const int right = room.right() - taken.right() - borders;
    const int left = taken.left() - room.left() - borders;
    const bool onRight = right >= full.width() || right >= left;
    const int beside = std::max(onRight ? right : left, 0);
    const double least = std::min(m_zoom, kLeastZoom);
    double zoom = std::min(m_zoom, zoomFitting(beside));
    QRect inside;
    int bottom = room.bottom() - border.bottom();
    if (zoom >= least) {
        const int width = std::min(full.width(), beside);
        inside.setLeft(onRight ? taken.right() + 1 + border.left()
                               : taken.left() - border.right() - width);
        inside.setWidth(width);
    } else {
        // At the desktop's left edge, and clear of the hint line beneath the screen.
        const int column = screen.left() - room.left() - borders;
        zoom = least;
        inside.setLeft(room.left() + border.left());
        const int leastWidth = static_cast<int>(std::lround(kTimeSignalsWidth * least / 2));
        inside.setWidth(std::max(1, std::min(leastWidth, column)));
        bottom = std::min(bottom, screen.bottom());
    }
    // Its title bar level with the window's, and all of it on the screen: higher where that
    // makes it whole, shorter where nothing does.
    const int highest = room.top() + border.top();
    const int level = taken.top() + border.top();
    const int top = bottom + 1 - highest < full.height()
                        ? std::clamp(level, highest, bottom)
                        : std::clamp(level, highest, bottom + 1 - full.height());
    inside.setTop(top);
    inside.setHeight(std::max(1, std::min(full.height(), bottom + 1 - top)));
    m_pictureZoom = zoom;
    m_signalsCurrent = false;
    m_placed = inside.topLeft();
    m_besideWindow = true;
    setGeometry(inside);
}

void TimeSignalView::paintPicture(QPainter& painter, const QRectF& target,
                                  const TimeSignalStyle& style) const
{
    Scene scene;
    TimeSignalStyle shown = style;
    shown.formulas = !m_formulasHidden;
    describeTimeSignals(scene, qtTextMetrics(), fromQt(target), m_scene, shown);
    describeTimeCursor(scene, qtTextMetrics(), fromQt(target), m_scene, shown);
    ScenePainter().paint(painter, scene);
}

QSize TimeSignalView::pictureSize(int width) const
{
    const double shape = double(std::max(1, height())) / std::max(1, this->width());
    return {width, std::max(1, static_cast<int>(std::lround(width * shape)))};
}

QImage TimeSignalView::picture(int width, bool worksheet) const
{
    QImage image(pictureSize(width), QImage::Format_RGB32);
    QPainter painter(&image);
    paintPicture(painter, QRectF(image.rect()),
                 styleFor(double(width) / kTimeSignalsWidth, 1, worksheet));
    return image;
}

bool TimeSignalView::save(const QString& path, int width, QString* error, bool worksheet) const
{
    const PictureExporter::Source source{
        pictureSize(width), QStringLiteral("Zeitverläufe"), formulaText(m_scene),
        [&] { return picture(width, worksheet); },
        [&](QPainter& painter, const QRectF& target) {
            TimeSignalStyle style = styleFor(double(width) / kTimeSignalsWidth, 1, worksheet);
            style.vector = true;
            paintPicture(painter, target, style);
        }};
    return PictureExporter::write(path, source, error);
}

void TimeSignalView::paintSignals()
{
    const qreal ratio = devicePixelRatioF();
    const QSize device = (QSizeF(size()) * ratio).toSize();
    if (m_signals.size() != device || m_signals.devicePixelRatio() != ratio) {
        m_signals = QImage(device, QImage::Format_RGB32);
        m_signals.setDevicePixelRatio(ratio);
    }
    Scene scene;
    describeTimeSignals(scene, m_metrics, fromQt(QRectF(rect())), m_scene, shownStyle(ratio));
    QPainter painter(&m_signals);
    ScenePainter().paint(painter, scene);
    m_signalsCurrent = true;
}

bool TimeSignalView::copyIntoWindow(const QRegion& region) const
{
    QPoint offset;
    QPaintDevice* device = redirected(&offset);
    return copyIntoWindowImage(device, offset, region, m_signals);
}

void TimeSignalView::paintEvent(QPaintEvent* event)
{
    const qreal ratio = devicePixelRatioF();
    const QSize device = (QSizeF(size()) * ratio).toSize();
    QBackingStore* store = backingStore();
    const bool intoWindow = store && redirected(nullptr) == store->paintDevice();
    if (!m_signalsCurrent || m_signals.size() != device || m_signals.devicePixelRatio() != ratio) {
        m_signalsFollow = false;
        paintSignals();
        m_shownCurrent = false;
        // Painted before its request came (a grab, or the window exposed): the rest of the
        // window still shows the signals before.
        if (!intoWindow || event->region() != QRegion(rect()))
            update();
    }
    const Scene& cursor = cursorScene();
    QPainter painter(this);
    if (!intoWindow) {
        // Into another device than the window's (a grab): painted whole, the readout laid out
        // by drawText, whose places the frames' kept glyphs take.
        painter.drawImage(QPointF(0, 0), m_signals);
        m_painter.paint(painter, cursor);
        return;
    }
    // Where the cursor was and is (or all of it, as while the phase drifts each frame):
    // straight from the signals with the cursor over them, both into the window's own
    // memory. The cursor's boxes hold all it paints, so what a region leaves out still shows
    // the signals with the cursor where it stands.
    if (!copyIntoWindow(event->region()))
        PictureArea::drawByRectangle(painter, event->region(), m_signals);
    paintCursor(painter);
    m_cursorBoxes = cursorBoxes();
    m_shownCurrent = true;
}

void TimeSignalView::resizeEvent(QResizeEvent* event)
{
    m_signalsCurrent = false;
    m_shownCurrent = false;
    QWidget::resizeEvent(event);
}

void TimeSignalView::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closed();
}

void TimeSignalView::keyPressEvent(QKeyEvent* event)
{
    // Escape puts it away, as it does the help.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace korvelian
