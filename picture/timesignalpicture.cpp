#include "timesignalpicture.h"

#include "model/constants.h"
#include "drawingrenderer.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvelian {

namespace {

constexpr double kTurn = 2 * std::numbers::pi;
// At most this many periods are labelled on the time axis.
constexpr double kMostLabels = 8;
// The side of the cursor's point and markers at 100 %: the screen's markers, 132 twips.
constexpr double kMarkSize = 8.8;
// A vector curve takes this many points per period of its signal, and stands as a curve while
// the picture's columns give it at least this many.
constexpr double kPointsPerPeriod = 48;
constexpr double kColumnsPerPeriod = 4;

struct Colours
{
    QColor ground;
    QColor axes;
    QColor signal;
    QColor text;
    QColor cursor;
    QColor point;
    QColor marker;
};

// The screen's: light blue axes and lines, a white figure, the yellow point and red markers.
Colours colours(bool worksheet)
{
    if (worksheet) {
        return {Qt::white,         QColor(128, 128, 128), Qt::black,        Qt::black,
                QColor(0, 0, 160), QColor(200, 160, 0),   QColor(200, 0, 0)};
    }
    return {Qt::black,
            QColor(150, 150, 255),
            Qt::white,
            QColor(220, 220, 220),
            QColor(128, 128, 255),
            QColor(255, 255, 0),
            QColor(255, 0, 0)};
}

// Two panels above each other with room for their titles, the value axes' labels on the left
// and the time axis's labels underneath, with its caption and, while the beam runs, its
// readout: beside the caption where both fit, else under it.
struct Layout
{
    double textHeight;
    QRectF xPanel;
    QRectF yPanel;
    QRectF timeLabels;
    QRectF caption;
    QRectF readout;
    Qt::Alignment readoutAlignment;
};

const QString kCaption = QStringLiteral("Zeit t; T: Periode der x-Schwingung");
// The widest readout: t runs up to 2π times the largest closing count.
const QString kWidestReadout = QStringLiteral("t = 00000,00 T:  x = −0,00,  y = −0,00");

QFont font(double zoom)
{
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(13 * zoom))));
    return f;
}

// Room for half a mark beside a panel's edge, where a value of 2 puts the cursor's point and
// marker: they cover neither a title, nor a value axis's label, nor the time axis's labels.
double markRoom(double zoom)
{
    return (kMarkSize / 2 + 2) * zoom;
}

Layout layout(const QRectF& target, double zoom)
{
    const QFontMetricsF metrics(font(zoom));
    const double text = metrics.height();
    const double margin = 6 * zoom;
    const double room = markRoom(zoom);
    const double gutter = metrics.horizontalAdvance(QStringLiteral("−y")) + margin + room;
    const double left = target.left() + gutter;
    const double width = std::max(1.0, target.right() - margin - left);
    const bool besideCaption = metrics.horizontalAdvance(kCaption) + 2 * margin +
                                   metrics.horizontalAdvance(kWidestReadout) <=
                               width;
    const int lines = besideCaption ? 2 : 3;
    const double panels =
        std::max(2.0, target.height() - 2 * margin - (2 + lines) * text - margin - 3 * room);
    const double panel = panels / 2;
    const double xTop = target.top() + margin + text + room;
    const double yTop = xTop + panel + margin + text + room;
    const double labelsTop = yTop + panel + room;
    const QRectF caption(left, labelsTop + text, width, text);
    return {text,
            {left, xTop, width, panel},
            {left, yTop, width, panel},
            {target.left(), labelsTop, target.width(), lines * text},
            caption,
            besideCaption ? caption : caption.translated(0, text),
            (besideCaption ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop};
}

double span(const TimeSignalScene& scene)
{
    return kTurn * closingPeriods(scene.p, scene.kgv);
}

// The share of the panel's height from its top: x grows upward as on a time chart, y the way
// the screen's y axis points.
double downShare(const TimeSignalScene& scene, Signal signal, double value)
{
    const PixelMapping& m = scene.screen;
    if (signal == Signal::X)
        return 1 - (value * m.scaleX + m.offsetX);
    return value * m.scaleY + m.offsetY;
}

double rowOf(const QRectF& panel, const TimeSignalScene& scene, Signal signal, double value)
{
    return panel.top() + downShare(scene, signal, value) * panel.height();
}

QString decimal(double value)
{
    return QLocale(QLocale::German).toString(value, 'f', 2).replace('-', QChar(0x2212));
}

QString whole(double value)
{
    return QLocale(QLocale::German).toString(value, 'g', 10);
}

QString formula(const TimeSignalScene& scene, Signal signal)
{
    const Parameter& p = scene.p;
    if (signal == Signal::X)
        return QStringLiteral("x(t) = %1 · sin(t + %2)")
            .arg(decimal(p.amplitudeX), decimal(p.phaseX));
    if (p.numerator == p.denominator)
        return QStringLiteral("y(t) = %1 · sin(t + %2)")
            .arg(decimal(p.amplitudeY), decimal(p.phaseY));
    return QStringLiteral("y(t) = %1 · sin((t + %2) · %3 / %4)")
        .arg(decimal(p.amplitudeY), decimal(p.phaseY), whole(p.numerator), whole(p.denominator));
}

void paintPanel(QPainter& painter, const QRectF& panel, const TimeSignalScene& scene,
                const TimeSignalStyle& style, Signal signal, const Colours& c)
{
    const double lw = style.lineWidth;
    painter.setPen(QPen(c.axes, lw, Qt::SolidLine, Qt::FlatCap));
    const double zero = rowOf(panel, scene, signal, 0);
    painter.drawLine(QLineF(panel.left(), zero, panel.right(), zero));
    painter.drawLine(QLineF(panel.left(), panel.top(), panel.left(), panel.bottom()));

    // Which end is positive, as on the screen's axis.
    const QString name = signal == Signal::X ? QStringLiteral("x") : QStringLiteral("y");
    const bool plusOnTop = downShare(scene, signal, 1) < downShare(scene, signal, 0);
    painter.setPen(c.text);
    const double labelWidth = 40 * style.zoom;
    const double labelLeft = panel.left() - markRoom(style.zoom) - labelWidth;
    const QRectF top(labelLeft, panel.top(), labelWidth, panel.height() / 2);
    const QRectF bottom(labelLeft, panel.center().y(), labelWidth, panel.height() / 2);
    painter.drawText(top, Qt::AlignRight | Qt::AlignTop,
                     (plusOnTop ? QStringLiteral("+") : QStringLiteral("−")) + name);
    painter.drawText(bottom, Qt::AlignRight | Qt::AlignBottom,
                     (plusOnTop ? QStringLiteral("−") : QStringLiteral("+")) + name);

    if (!scene.hasFigure)
        return;
    const double t = span(scene);
    const int columns =
        std::max(1, static_cast<int>(std::lround(panel.width() * style.pixelRatio)));
    painter.save();
    painter.setClipRect(panel.adjusted(-lw, -lw, lw, lw));
    // A file to be scaled takes a curve, as long as the picture shows the signal's waves.
    const double periods =
        t / kTurn * (signal == Signal::X ? 1 : scene.p.numerator / scene.p.denominator);
    if (style.vector && periods * kColumnsPerPeriod <= columns) {
        QPainterPath curve;
        const int points =
            std::max(columns, static_cast<int>(std::ceil(periods * kPointsPerPeriod)));
        bool drawing = false;
        for (int i = 0; i <= points; ++i) {
            const double row =
                rowOf(panel, scene, signal, signalValue(signal, t * i / points, scene.p));
            const QPointF point(panel.left() + panel.width() * i / points, row);
            if (!std::isfinite(row))
                drawing = false;
            else if (drawing)
                curve.lineTo(point);
            else
                curve.moveTo(point);
            drawing = drawing || std::isfinite(row);
        }
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.strokePath(curve, QPen(c.signal, lw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.restore();
        return;
    }
    // One column of device pixels at a time, lit from the least to the greatest value the
    // signal takes there: no gaps where it is steep, no false waves where it is faster than
    // the pixels.
    const double column = panel.width() / columns;
    const double wide = std::max(column, lw);
    for (int i = 0; i < columns; ++i) {
        const ValueRange r = signalRange(signal, t * i / columns, t * (i + 1) / columns, scene.p);
        const double a = rowOf(panel, scene, signal, r.low);
        const double b = rowOf(panel, scene, signal, r.high);
        if (!std::isfinite(a) || !std::isfinite(b))
            continue;
        const double left = panel.left() + i * column - (wide - column) / 2;
        painter.fillRect(QRectF(left, std::min(a, b) - lw / 2, wide, std::abs(a - b) + lw),
                         c.signal);
    }
    painter.restore();
}

} // namespace

QStringList formulaLines(const TimeSignalScene& scene)
{
    return {formula(scene, Signal::X), formula(scene, Signal::Y)};
}

QImage timeSignalsExample(const Parameter& p, double kgv, double t, QSize size, bool yUp)
{
    const DrawOp figure{DrawOp::Kind::Figure, kExampleFrame, 0, 0, 0, 0, Qt::white, p,
                        loopEnd(kgv)};
    TimeSignalScene scene = sceneOf(figure, pixelMapping(figure.frame, QSizeF(1, 1), 1, yUp));
    scene.beamT = t;
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const TimeSignalStyle style{static_cast<double>(size.width()) / kTimeSignalsWidth, 1, 1, false};
    paintTimeSignals(painter, QRectF(image.rect()), scene, style);
    paintTimeCursor(painter, QRectF(image.rect()), scene, style);
    return image;
}

TimeSignalScene sceneOf(const DrawOp& figure, const PixelMapping& screen)
{
    TimeSignalScene scene;
    scene.p = figure.parameters;
    scene.kgv = static_cast<double>(closingCountOf(figure.end));
    scene.screen = screen;
    scene.hasFigure = true;
    return scene;
}

double timePixel(const QRectF& target, const TimeSignalScene& scene, double zoom, double t)
{
    const QRectF panel = layout(target, zoom).xPanel;
    return panel.left() + cursorTime(t, span(scene)) / span(scene) * panel.width();
}

double valuePixel(const QRectF& target, const TimeSignalScene& scene, double zoom, Signal signal,
                  double value)
{
    const Layout l = layout(target, zoom);
    return rowOf(signal == Signal::X ? l.xPanel : l.yPanel, scene, signal, value);
}

void paintTimeSignals(QPainter& painter, const QRectF& target, const TimeSignalScene& scene,
                      const TimeSignalStyle& style)
{
    const Colours c = colours(style.worksheet);
    const Layout l = layout(target, style.zoom);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(target, c.ground);
    painter.setFont(font(style.zoom));

    // Each formula above its panel, clear of a mark at the panel's edge.
    painter.setPen(c.text);
    for (const Signal signal : {Signal::X, Signal::Y}) {
        const QRectF& panel = signal == Signal::X ? l.xPanel : l.yPanel;
        painter.drawText(QRectF(panel.left(), panel.top() - markRoom(style.zoom) - l.textHeight,
                                panel.width(), l.textHeight),
                         Qt::AlignLeft | Qt::AlignBottom, formula(scene, signal));
    }

    // The x periods, labelled under the time axis and marked across both signals.
    const double periods = closingPeriods(scene.p, scene.kgv);
    const double stride = std::max(1.0, std::ceil(periods / kMostLabels));
    QPen grid(c.axes, style.lineWidth, Qt::DotLine, Qt::FlatCap);
    for (double k = 0; k <= periods + 1e-9; k += stride) {
        const double x = l.xPanel.left() + k / periods * l.xPanel.width();
        painter.setPen(grid);
        if (k > 0) {
            painter.drawLine(QLineF(x, l.xPanel.top(), x, l.xPanel.bottom()));
            painter.drawLine(QLineF(x, l.yPanel.top(), x, l.yPanel.bottom()));
        }
        painter.setPen(c.text);
        const QString label = k == 0   ? QStringLiteral("0")
                              : k == 1 ? QStringLiteral("T")
                                       : whole(k) + QStringLiteral(" T");
        // Centred under its mark, but never beyond the picture's right edge.
        const double half = 40 * style.zoom;
        QRectF place(x - half, l.timeLabels.top(), 2 * half, l.textHeight);
        Qt::Alignment align = Qt::AlignHCenter | Qt::AlignTop;
        if (place.right() > target.right()) {
            place.moveRight(target.right() - style.lineWidth);
            align = Qt::AlignRight | Qt::AlignTop;
        }
        painter.drawText(place, align, label);
    }
    painter.drawText(l.caption, Qt::AlignLeft | Qt::AlignTop, kCaption);

    paintPanel(painter, l.xPanel, scene, style, Signal::X, c);
    paintPanel(painter, l.yPanel, scene, style, Signal::Y, c);
    painter.restore();
}

void paintTimeCursor(QPainter& painter, const QRectF& target, const TimeSignalScene& scene,
                     const TimeSignalStyle& style)
{
    if (!scene.hasFigure || !scene.beamT)
        return;
    const Colours c = colours(style.worksheet);
    const Layout l = layout(target, style.zoom);
    const double t = *scene.beamT;
    const double x = timePixel(target, scene, style.zoom, t);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Across both panels, but not through the y signal's formula between them.
    painter.setPen(QPen(c.cursor, style.lineWidth, Qt::SolidLine, Qt::FlatCap));
    for (const QRectF& panel : {l.xPanel, l.yPanel})
        painter.drawLine(QLineF(x, panel.top(), x, panel.bottom()));

    const double size = kMarkSize * style.zoom;
    const QSizeF box(size, size);
    for (const Signal signal : {Signal::X, Signal::Y}) {
        const QRectF& panel = signal == Signal::X ? l.xPanel : l.yPanel;
        const double value = signalValue(signal, t, scene.p);
        const double row = rowOf(panel, scene, signal, value);
        if (!std::isfinite(row))
            continue;
        painter.setPen(QPen(c.cursor, style.lineWidth, Qt::DashLine, Qt::FlatCap));
        painter.drawLine(QLineF(panel.left(), row, x, row));
        painter.setPen(QPen(c.point, style.lineWidth));
        painter.setBrush(c.point);
        painter.drawEllipse(QRectF(QPointF(x, row) - QPointF(size / 2, size / 2), box));
        painter.setBrush(c.marker);
        painter.drawRect(QRectF(QPointF(panel.left(), row) - QPointF(size / 2, size / 2), box));
    }
    painter.setPen(c.text);
    painter.setFont(font(style.zoom));
    const Point beam = deflection(t, scene.p);
    // The time where the cursor stands on the axis, in the axis' periods: the running t
    // grows past the axis' end, where the figure starts over.
    painter.drawText(
        l.readout, l.readoutAlignment,
        QStringLiteral("t = %1 T:  x = %2,  y = %3")
            .arg(decimal(cursorTime(t, span(scene)) / kTurn), decimal(beam.x), decimal(beam.y)));
    painter.restore();
}

} // namespace korvelian
