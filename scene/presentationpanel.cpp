#include "presentationpanel.h"

#include "model/numbertext.h"
#include "model/palette.h"
#include "textmetrics.h"

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

// The time signals' own letters are Times New Roman 13 pixels high at a zoom of 1.
constexpr double kSignalFontAtOne = 13;

std::string joined(const std::vector<std::string>& lines)
{
    std::string html;
    for (const std::string& line : lines)
        html += "<div>" + line + "</div>";
    return html;
}

// A lesson file's title is the teacher's text, never markup.
std::string escapedHtml(const std::string& text)
{
    std::string html;
    for (const char c : text) {
        switch (c) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        default:
            html += c;
        }
    }
    return html;
}

// Where the beam stands, as the time signals' readout says it, in lines that fit a margin.
std::string readout(const TimeSignalScene& shown)
{
    const double t = *shown.beamT;
    const double figure = kTurn * closingPeriods(shown.p, shown.kgv);
    const Point beam = deflection(t, shown.p);
    const auto decimal = [](double value) {
        std::string text = germanNumber(value, 'f', 2);
        if (!text.empty() && text.front() == '-')
            text.replace(0, 1, "−");
        return text;
    };
    return joined({"t = " + decimal(cursorTime(t, figure) / kTurn) + " T",
                   "x = " + decimal(beam.x) + " &nbsp; y = " + decimal(beam.y)});
}

} // namespace

Font fontWithCap(TextMetrics& metrics, Font font, double cap)
{
    font.pixelSize = std::max(1, static_cast<int>(std::floor(cap / 0.75)));
    while (metrics.capHeight(font) < cap)
        ++font.pixelSize;
    return font;
}

void describePresentation(Scene& scene, TextMetrics& metrics, const RectF& target,
                          const PresentationContent& content, double displayHeight,
                          double lineWidth, double pixelRatio)
{
    // Whole pixels: letters are drawn on the pixel grid.
    const double cap = std::ceil(kPresentationCapShare * displayHeight);
    const Font text = fontWithCap(metrics, {"Liberation Sans", true, 1}, cap);
    const double margin = std::round(cap / 2);
    const double width = std::max(1.0, target.width - 2 * margin);
    const double x = target.left() + margin;
    scene.save();
    scene.antialias(false);
    scene.fillRect(target, {palette::kScreenGround});
    scene.antialias(true);
    scene.add(item::TextAntialias{true});

    double top = target.top() + margin;
    double bottom = target.bottom() - margin;
    const auto add = [&](const std::string& html, double y, TextRole role) {
        scene.add(item::RichText{{x, y}, html, text, width, false, palette::kSignalText, role});
        return metrics.richTextSize(html, text, width).height;
    };
    if (!content.heading.empty())
        top += add(joined({escapedHtml(content.heading)}), top, TextRole::Title) + margin;
    if (!content.legend.empty()) {
        const std::string legend = joined(content.legend);
        const double height = metrics.richTextSize(legend, text, width).height;
        bottom -= height;
        add(legend, bottom, TextRole::Legend);
        bottom -= margin;
    }
    if (content.timeSignals && content.timeSignals->hasFigure) {
        const TimeSignalScene& shown = *content.timeSignals;
        if (!content.formulasHidden) {
            std::vector<std::string> formulas = formulaLines(shown);
            top += add(joined(formulas), top, TextRole::Formula) + margin;
        }
        if (shown.beamT) {
            const std::string place = readout(shown);
            bottom -= metrics.richTextSize(place, text, width).height;
            add(place, bottom, TextRole::Readout);
            bottom -= margin;
        }
        // The signals' own letters (axis ends, periods) as high as the margin's.
        double zoom = 1;
        while (metrics.capHeight({"Times New Roman", false,
                                  static_cast<int>(std::lround(kSignalFontAtOne * zoom))}) < cap)
            zoom += 0.05;
        const RectF signals{target.left(), top, target.width, std::max(0.0, bottom - top)};
        TimeSignalStyle style{zoom, lineWidth, pixelRatio};
        style.compact = true;
        describeTimeSignals(scene, metrics, signals, shown, style);
        describeTimeCursor(scene, metrics, signals, shown, style);
    }
    scene.restore();
}

} // namespace korvelian
