#include "timesignals.h"

#include "model/constants.h"
#include "model/numbertext.h"
#include "textmetrics.h"

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

// At most this many periods are labelled on the time axis.
constexpr double kMostLabels = 8;
// The side of the cursor's point and markers at 100 %: the screen's markers.
constexpr double kMarkSize = static_cast<double>(kMarkerTwips) / 15;
// A vector curve takes this many points per period of its signal, and stands as a curve while
// the picture's columns give it at least this many.
constexpr double kPointsPerPeriod = 48;
constexpr double kColumnsPerPeriod = 4;

struct Colours
{
    Colour ground;
    Colour axes;
    Colour signal;
    Colour text;
    Colour cursor;
    Colour point;
    Colour marker;
};

// The screen's: light blue axes and lines, a white figure, the yellow point and red markers.
Colours colours(bool worksheet)
{
    using namespace palette;
    if (worksheet) {
        return {kWorksheetGround,       kWorksheetAxes,        kWorksheetFigure,      kBlack,
                kWorksheetSignalCursor, kWorksheetSignalPoint, kWorksheetSignalMarker};
    }
    return {kScreenGround, kAxes, kFigure, kSignalText, kDropLine, kBeamPoint, kMarker};
}

// Two panels above each other with room for their titles, the value axes' labels on the left
// and the time axis's labels underneath, with its caption and, while the beam runs, its
// readout: beside the caption where both fit, else under it.
struct Layout
{
    double textHeight;
    RectF xPanel;
    RectF yPanel;
    RectF timeLabels;
    RectF caption;
    RectF readout;
    int readoutAlignment;
};

const std::string kCaption = "Zeit t; T: Periode der x-Schwingung";
// The widest readout: t runs up to 2π times the largest closing count.
const std::string kWidestReadout = "t = 00000,00 T:  x = −0,00,  y = −0,00";

Font font(double zoom)
{
    return {"Times New Roman", false, std::max(1, static_cast<int>(std::lround(13 * zoom)))};
}

// Room for half a mark beside a panel's edge, where a value of 2 puts the cursor's point and
// marker: they cover neither a title, nor a value axis's label, nor the time axis's labels.
double markRoom(double zoom)
{
    return (kMarkSize / 2 + 2) * zoom;
}

Layout layout(TextMetrics& metrics, const RectF& target, double zoom, bool compact = false)
{
    const Font f = font(zoom);
    const double text = metrics.lineHeight(f);
    const double margin = 6 * zoom;
    const double room = markRoom(zoom);
    const double gutter = metrics.advance(f, "−y") + margin + room;
    const double left = target.left() + gutter;
    const double width = std::max(1.0, target.right() - margin - left);
    const bool besideCaption =
        metrics.advance(f, kCaption) + 2 * margin + metrics.advance(f, kWidestReadout) <= width;
    const int lines = compact ? 1 : besideCaption ? 2 : 3;
    // A formula's line above each panel, but in the compact form.
    const double formula = compact ? 0 : text;
    const double panels = std::max(2.0, target.height - 2 * margin - (lines + 2) * formula -
                                            (compact ? text : 0) - margin - 3 * room);
    const double panel = panels / 2;
    const double xTop = target.top() + margin + formula + room;
    const double yTop = xTop + panel + margin + formula + room;
    const double labelsTop = yTop + panel + room;
    const RectF caption{left, labelsTop + text, width, text};
    return {text,
            {left, xTop, width, panel},
            {left, yTop, width, panel},
            {target.left(), labelsTop, target.width, lines * text},
            caption,
            besideCaption ? caption : caption.translated(0, text),
            (besideCaption ? align::kRight : align::kLeft) | align::kTop};
}

double span(const TimeSignalScene& shown)
{
    return kTurn * closingPeriods(shown.p, shown.kgv);
}

// The share of the panel's height from its top: x grows upward as on a time chart, y the way
// the screen's y axis points.
double downShare(const TimeSignalScene& shown, Signal signal, double value)
{
    const PixelMapping& m = shown.screen;
    if (signal == Signal::X)
        return 1 - (value * m.scaleX + m.offsetX);
    return value * m.scaleY + m.offsetY;
}

double rowOf(const RectF& panel, const TimeSignalScene& shown, Signal signal, double value)
{
    return panel.top() + downShare(shown, signal, value) * panel.height;
}

// Two decimals with a minus sign, not a hyphen.
std::string decimal(double value)
{
    std::string text = germanNumber(value, 'f', 2);
    if (!text.empty() && text.front() == '-')
        text.replace(0, 1, "−");
    return text;
}

std::string formula(const TimeSignalScene& shown, Signal signal)
{
    const Parameter& p = shown.p;
    if (signal == Signal::X)
        return "x(t) = " + decimal(p.amplitudeX) + " · sin(t + " + decimal(p.phaseX) + ")";
    if (p.numerator == p.denominator)
        return "y(t) = " + decimal(p.amplitudeY) + " · sin(t + " + decimal(p.phaseY) + ")";
    // As the textbook writes it, the y oscillation's own phase added after the factor.
    if (p.textbook) {
        return "y(t) = " + decimal(p.amplitudeY) + " · sin(" + germanNumber(p.numerator) + " / " +
               germanNumber(p.denominator) + " · t + " + decimal(shownPhaseY(p)) + ")";
    }
    return "y(t) = " + decimal(p.amplitudeY) + " · sin((t + " + decimal(p.phaseY) + ") · " +
           germanNumber(p.numerator) + " / " + germanNumber(p.denominator) + ")";
}

// A file to be scaled takes a curve, as long as the picture shows the signal's waves.
void describeCurve(Scene& scene, const RectF& panel, const TimeSignalScene& shown, Signal signal,
                   double lineWidth, int columns, double periods, Colour colour)
{
    const double t = span(shown);
    item::Path curve;
    curve.stroke = Pen{{colour}, lineWidth, Cap::Round, Join::Round};
    const int points = std::max(columns, static_cast<int>(std::ceil(periods * kPointsPerPeriod)));
    bool drawing = false;
    for (int i = 0; i <= points; ++i) {
        const double row =
            rowOf(panel, shown, signal, signalValue(signal, t * i / points, shown.p));
        const PointF point{panel.left() + panel.width * i / points, row};
        if (!std::isfinite(row))
            drawing = false;
        else
            curve.steps.push_back({!drawing, point});
        drawing = drawing || std::isfinite(row);
    }
    scene.antialias(true);
    scene.add(std::move(curve));
}

// One column of device pixels at a time, lit from the least to the greatest value the signal
// takes there: no gaps where it is steep, no false waves where it is faster than the pixels.
void describeColumns(Scene& scene, const RectF& panel, const TimeSignalScene& shown, Signal signal,
                     double lineWidth, int columns, Colour colour)
{
    const double t = span(shown);
    const double column = panel.width / columns;
    const double wide = std::max(column, lineWidth);
    for (int i = 0; i < columns; ++i) {
        const ValueRange r = signalRange(signal, t * i / columns, t * (i + 1) / columns, shown.p);
        const double a = rowOf(panel, shown, signal, r.low);
        const double b = rowOf(panel, shown, signal, r.high);
        if (!std::isfinite(a) || !std::isfinite(b))
            continue;
        const double left = panel.left() + i * column - (wide - column) / 2;
        scene.fillRect({left, std::min(a, b) - lineWidth / 2, wide, std::abs(a - b) + lineWidth},
                       {colour});
    }
}

void describePanel(Scene& scene, const RectF& panel, const TimeSignalScene& shown,
                   const TimeSignalStyle& style, Signal signal, const Colours& c)
{
    const double lw = style.lineWidth;
    scene.pen(Pen{{c.axes}, lw, Cap::Flat});
    const double zero = rowOf(panel, shown, signal, 0);
    scene.line({panel.left(), zero}, {panel.right(), zero});
    scene.line({panel.left(), panel.top()}, {panel.left(), panel.bottom()});

    // Which end is positive, as on the screen's axis.
    const std::string name = signal == Signal::X ? "x" : "y";
    const bool plusOnTop = downShare(shown, signal, 1) < downShare(shown, signal, 0);
    scene.pen(c.text);
    const double labelWidth = 40 * style.zoom;
    const double labelLeft = panel.left() - markRoom(style.zoom) - labelWidth;
    const RectF top{labelLeft, panel.top(), labelWidth, panel.height / 2};
    const RectF bottom{labelLeft, panel.center().y, labelWidth, panel.height / 2};
    scene.text(top, align::kRight | align::kTop, (plusOnTop ? "+" : "−") + name,
               TextRole::AxisLabel);
    scene.text(bottom, align::kRight | align::kBottom, (plusOnTop ? "−" : "+") + name,
               TextRole::AxisLabel);

    if (!shown.hasFigure)
        return;
    const double t = span(shown);
    const int columns = std::max(1, static_cast<int>(std::lround(panel.width * style.pixelRatio)));
    scene.save();
    scene.clip(panel.adjusted(-lw, -lw, lw, lw));
    const double periods =
        t / kTurn * (signal == Signal::X ? 1 : shown.p.numerator / shown.p.denominator);
    if (style.vector && periods * kColumnsPerPeriod <= columns)
        describeCurve(scene, panel, shown, signal, lw, columns, periods, c.signal);
    else
        describeColumns(scene, panel, shown, signal, lw, columns, c.signal);
    scene.restore();
}

struct TimeLabel
{
    double k;
    std::string text;
    RectF place;
    int alignment;
    // Where its letters lie across.
    double left;
    double right;
};

// Every stride-th x period labelled, as long as the labels stand apart by a space; where
// they would touch, every second, third ... of them, evenly as on a chart's axis, the marks
// staying where they were. The last label, drawn in from the picture's edge towards its
// neighbour, is left out by itself where only it comes too close: the others keep their places.
std::vector<TimeLabel> timeLabels(TextMetrics& metrics, const RectF& target, const Layout& l,
                                  double periods, double stride, const TimeSignalStyle& style)
{
    const Font f = font(style.zoom);
    std::vector<TimeLabel> all;
    for (double k = 0; k <= periods + 1e-9; k += stride) {
        const double x = l.xPanel.left() + k / periods * l.xPanel.width;
        std::string text = k == 0 ? "0" : k == 1 ? "T" : germanNumber(k) + " T";
        const double width = metrics.advance(f, text);
        // Centred under its mark, but never beyond the picture's right edge.
        const double half = 40 * style.zoom;
        RectF place{x - half, l.timeLabels.top(), 2 * half, l.textHeight};
        int alignment = align::kHCenter | align::kTop;
        double left = x - width / 2;
        if (place.right() > target.right()) {
            place.moveRight(target.right() - style.lineWidth);
            alignment = align::kRight | align::kTop;
            left = place.right() - width;
        }
        all.push_back({k, std::move(text), place, alignment, left, left + width});
    }
    const double gap = metrics.advance(f, " ");
    const auto apart = [&](const TimeLabel& a, const TimeLabel& b) {
        return a.right + gap <= b.left;
    };
    for (std::size_t every = 1;; ++every) {
        std::vector<TimeLabel> kept;
        bool fits = true;
        for (std::size_t i = 0; i < all.size(); i += every) {
            if (!kept.empty() && !apart(kept.back(), all[i])) {
                fits = i + every >= all.size() && (all[i].alignment & align::kRight) != 0;
                break;
            }
            kept.push_back(all[i]);
        }
        if (fits)
            return kept;
    }
}

} // namespace

std::vector<std::string> formulaLines(const TimeSignalScene& shown)
{
    return {formula(shown, Signal::X), formula(shown, Signal::Y)};
}

TimeSignalScene sceneOf(const DrawOp& figure, const PixelMapping& screen)
{
    TimeSignalScene shown;
    shown.p = figure.parameters;
    shown.kgv = static_cast<double>(closingCountOf(figure.end));
    shown.screen = screen;
    shown.hasFigure = true;
    return shown;
}

double timePixel(TextMetrics& metrics, const RectF& target, const TimeSignalScene& shown,
                 double zoom, double t)
{
    const RectF panel = layout(metrics, target, zoom).xPanel;
    return panel.left() + cursorTime(t, span(shown)) / span(shown) * panel.width;
}

double valuePixel(TextMetrics& metrics, const RectF& target, const TimeSignalScene& shown,
                  double zoom, Signal signal, double value)
{
    const Layout l = layout(metrics, target, zoom);
    return rowOf(signal == Signal::X ? l.xPanel : l.yPanel, shown, signal, value);
}

void describeTimeSignals(Scene& scene, TextMetrics& metrics, const RectF& target,
                         const TimeSignalScene& shown, const TimeSignalStyle& style)
{
    const Colours c = colours(style.worksheet);
    const Layout l = layout(metrics, target, style.zoom, style.compact);
    scene.save();
    scene.antialias(false);
    scene.fillRect(target, {c.ground});
    scene.font(font(style.zoom));

    // Each formula above its panel, clear of a mark at the panel's edge.
    scene.pen(c.text);
    for (const Signal signal : {Signal::X, Signal::Y}) {
        if (!style.formulas || style.compact)
            break;
        const RectF& panel = signal == Signal::X ? l.xPanel : l.yPanel;
        scene.text({panel.left(), panel.top() - markRoom(style.zoom) - l.textHeight, panel.width,
                    l.textHeight},
                   align::kLeft | align::kBottom, formula(shown, signal), TextRole::Formula);
    }

    // The x periods, labelled under the time axis and marked across both shown.
    const double periods = closingPeriods(shown.p, shown.kgv);
    // A narrow place takes as many labels as stand apart in it.
    const double most =
        style.compact ? std::max(1.0, std::floor(l.xPanel.width /
                                                 (1.5 * metrics.advance(font(style.zoom), "00 T"))))
                      : kMostLabels;
    const double stride = std::max(1.0, std::ceil(periods / most));
    const std::vector<TimeLabel> labels = timeLabels(metrics, target, l, periods, stride, style);
    auto label = labels.begin();
    const Pen grid{{c.axes}, style.lineWidth, Cap::Flat, Join::Bevel, Dash::Dot};
    for (double k = 0; k <= periods + 1e-9; k += stride) {
        const double x = l.xPanel.left() + k / periods * l.xPanel.width;
        scene.pen(grid);
        if (k > 0) {
            scene.line({x, l.xPanel.top()}, {x, l.xPanel.bottom()});
            scene.line({x, l.yPanel.top()}, {x, l.yPanel.bottom()});
        }
        scene.pen(c.text);
        if (label != labels.end() && label->k == k) {
            scene.text(label->place, label->alignment, label->text, TextRole::TimeLabel);
            ++label;
        }
    }
    if (!style.compact)
        scene.text(l.caption, align::kLeft | align::kTop, kCaption, TextRole::Caption);

    describePanel(scene, l.xPanel, shown, style, Signal::X, c);
    describePanel(scene, l.yPanel, shown, style, Signal::Y, c);
    scene.restore();
}

Point markedBeam(const TimeSignalScene& shown)
{
    return shown.beamPoint ? *shown.beamPoint : deflection(shown.beamT.value_or(0), shown.p);
}

bool beamOffTheSignals(const TimeSignalScene& shown)
{
    if (!shown.beamT || !shown.beamPoint)
        return false;
    const Point onSignals = deflection(*shown.beamT, shown.p);
    // The frame computed the same formulas: only other parameters move it off.
    return std::abs(onSignals.x - shown.beamPoint->x) > 1e-9 ||
           std::abs(onSignals.y - shown.beamPoint->y) > 1e-9;
}

void describeTimeCursor(Scene& scene, TextMetrics& metrics, const RectF& target,
                        const TimeSignalScene& shown, const TimeSignalStyle& style)
{
    if (!shown.hasFigure || !shown.beamT)
        return;
    const Colours c = colours(style.worksheet);
    const Layout l = layout(metrics, target, style.zoom, style.compact);
    const double t = *shown.beamT;
    const double x = l.xPanel.left() + cursorTime(t, span(shown)) / span(shown) * l.xPanel.width;
    scene.save();
    scene.antialias(false);
    // Across both panels, but not through the y signal's formula between them.
    scene.pen(Pen{{c.cursor}, style.lineWidth, Cap::Flat});
    for (const RectF& panel : {l.xPanel, l.yPanel})
        scene.line({x, panel.top()}, {x, panel.bottom()});

    const double size = kMarkSize * style.zoom;
    const Point beam = markedBeam(shown);
    for (const Signal signal : {Signal::X, Signal::Y}) {
        const RectF& panel = signal == Signal::X ? l.xPanel : l.yPanel;
        const double value = signal == Signal::X ? beam.x : beam.y;
        const double row = rowOf(panel, shown, signal, value);
        if (!std::isfinite(row))
            continue;
        scene.pen(Pen{{c.cursor}, style.lineWidth, Cap::Flat, Join::Bevel, Dash::Dash});
        scene.line({panel.left(), row}, {x, row});
        scene.pen(Pen{{c.point}, style.lineWidth});
        scene.brush({c.point});
        scene.add(item::Ellipse{{x - size / 2, row - size / 2, size, size}});
        scene.brush({c.marker});
        scene.add(item::Rect{{panel.left() - size / 2, row - size / 2, size, size}});
    }
    if (style.compact) {
        scene.restore();
        return;
    }
    scene.pen(c.text);
    scene.font(font(style.zoom));
    // The time where the cursor stands on the axis, in the axis' periods: the running t
    // grows past the axis' end, where the figure starts over. Where the marks are not on the
    // signals, they are the stopped beam's, and the readout says so instead.
    const std::string where = beamOffTheSignals(shown)
                                  ? "angehalten:"
                                  : "t = " + decimal(cursorTime(t, span(shown)) / kTurn) + " T:";
    scene.text(l.readout, l.readoutAlignment,
               where + "  x = " + decimal(beam.x) + ",  y = " + decimal(beam.y), TextRole::Readout);
    scene.restore();
}

} // namespace korvelian
