#include "scenesvg.h"

#include "form/pixels.h"
#include "model/figurepoints.h"
#include "model/finecurve.h"
#include "scene/drawing.h"
#include "svgwords.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>
#include <vector>

namespace korvelian {

namespace {

using namespace svg;

class Writer
{
public:
    Writer(TextMetrics& metrics, std::string& out) : m_metrics(metrics), m_out(out) {}

    void operator()(const item::Save&) { m_stack.push_back(m_state); }
    void operator()(const item::Restore&)
    {
        if (!m_stack.empty()) {
            m_state = m_stack.back();
            m_stack.pop_back();
        }
    }
    void operator()(const item::Clip& i)
    {
        const std::string id = "clip" + std::to_string(++m_clips);
        m_out += "<clipPath id=\"" + id + "\"><rect" + box(absolute(i.rect)) + "/></clipPath>\n";
        m_state.clip = id;
    }
    void operator()(const item::Antialias&) {}
    void operator()(const item::TextAntialias&) {}
    void operator()(const item::Translate& i)
    {
        m_state.x += i.by.x * m_state.sx;
        m_state.y += i.by.y * m_state.sy;
    }
    void operator()(const item::Scale& i)
    {
        m_state.sx *= i.x;
        m_state.sy *= i.y;
    }
    void operator()(const item::SetPen& i) { m_state.pen = i.pen; }
    void operator()(const item::SetBrush& i) { m_state.brush = i.colour; }
    void operator()(const item::SetFont& i) { m_state.font = i.font; }
    void operator()(const item::Line& i)
    {
        element("line x1=\"" + num(i.from.x) + "\" y1=\"" + num(i.from.y) + "\" x2=\"" +
                    num(i.to.x) + "\" y2=\"" + num(i.to.y) + '"',
                stroke());
    }
    void operator()(const item::Lines& i)
    {
        std::string d;
        for (std::size_t k = 0; k + 1 < i.ends.size(); k += 2)
            d += "M" + point(i.ends[k]) + " L" + point(i.ends[k + 1]) + ' ';
        element("path d=\"" + d + '"', stroke());
    }
    void operator()(const item::Points& i)
    {
        if (!m_state.pen)
            return;
        const double w = m_state.pen->width > 0 ? m_state.pen->width : 1;
        for (const PointF& p : i.points)
            element("rect" + box({p.x - w / 2, p.y - w / 2, w, w}),
                    paint("fill", m_state.pen->colour));
    }
    void operator()(const item::Path& i)
    {
        std::string d;
        for (const item::Path::Step& step : i.steps)
            d += (step.move ? "M" : "L") + point(step.at) + ' ';
        element("path d=\"" + d + '"', i.stroke ? strokeOf(*i.stroke) + " fill=\"none\"" : shape());
    }
    void operator()(const item::Ellipse& i)
    {
        const RectF r = i.whole ? whole(i.box) : i.box;
        element("ellipse cx=\"" + num(r.x + r.width / 2) + "\" cy=\"" + num(r.y + r.height / 2) +
                    "\" rx=\"" + num(std::abs(r.width / 2)) + "\" ry=\"" +
                    num(std::abs(r.height / 2)) + '"',
                shape());
    }
    void operator()(const item::Pie& i)
    {
        const double cx = i.box.x + i.box.width / 2, cy = i.box.y + i.box.height / 2;
        const auto at = [&](double sixteenths) {
            const double a = sixteenths / 16 * std::numbers::pi / 180;
            return PointF{cx + i.box.width / 2 * std::cos(a), cy - i.box.height / 2 * std::sin(a)};
        };
        const bool large = std::abs(i.span) > 180 * 16;
        element("path d=\"M" + point({cx, cy}) + " L" + point(at(i.start)) + " A" +
                    num(i.box.width / 2) + ',' + num(i.box.height / 2) + " 0 " +
                    (large ? "1 " : "0 ") + (i.span > 0 ? "0 " : "1 ") +
                    point(at(i.start + i.span)) + " Z\"",
                shape());
    }
    void operator()(const item::Polygon& i)
    {
        std::string points;
        for (const PointF& p : i.corners)
            points += point(p) + ' ';
        element("polygon points=\"" + points + '"', shape());
    }
    void operator()(const item::Rect& i)
    {
        element("rect" + box(i.whole ? whole(i.box) : i.box), shape());
    }
    void operator()(const item::FillRect& i)
    {
        RectF r = i.box;
        if (i.whole)
            r = {std::round(r.x), std::round(r.y), std::round(r.width), std::round(r.height)};
        element("rect" + box(r), paint("fill", i.colour) + " stroke=\"none\"");
    }
    void operator()(const item::Text& i);
    void operator()(const item::RichText& i)
    {
        rich(i.at, i.html, i.font, i.colour, i.centred ? i.width : -1);
    }
    void operator()(const item::Label& i)
    {
        element("rect" + box(i.box), paint("fill", i.ground) + " stroke=\"none\"");
        rich({i.box.x + i.padding, i.box.y}, i.html, i.font, i.colour, -1);
    }
    void operator()(const item::Drawing& i);

private:
    struct State
    {
        std::optional<Pen> pen = Pen{{0}};
        std::optional<Rgba> brush;
        Font font;
        double x = 0, y = 0, sx = 1, sy = 1;
        std::string clip;
    };

    static RectF whole(const RectF& r)
    {
        return {std::round(r.x) + 0.5, std::round(r.y) + 0.5, std::round(r.width),
                std::round(r.height)};
    }
    static std::string point(PointF p) { return num(p.x) + ',' + num(p.y); }
    static std::string box(const RectF& r)
    {
        return " x=\"" + num(r.x) + "\" y=\"" + num(r.y) + "\" width=\"" + num(r.width) +
               "\" height=\"" + num(r.height) + '"';
    }
    RectF absolute(const RectF& r) const
    {
        return {m_state.x + r.x * m_state.sx, m_state.y + r.y * m_state.sy, r.width * m_state.sx,
                r.height * m_state.sy};
    }
    std::string strokeOf(const Pen& pen) const
    {
        static const char* const caps[] = {"butt", "square", "round"};
        static const char* const joins[] = {"miter", "bevel", "round"};
        const double width = pen.width > 0 ? pen.width : 1;
        std::string out = paint("stroke", pen.colour) + " stroke-width=\"" + num(width) +
                          "\" stroke-linecap=\"" + caps[static_cast<int>(pen.cap)] +
                          "\" stroke-linejoin=\"" + joins[static_cast<int>(pen.join)] + '"';
        if (pen.cosmetic)
            out += " vector-effect=\"non-scaling-stroke\"";
        if (pen.dash != Dash::Solid)
            out += pen.dash == Dash::Dot
                       ? " stroke-dasharray=\"" + num(width) + ',' + num(2 * width) + '"'
                       : " stroke-dasharray=\"" + num(4 * width) + ',' + num(2 * width) + '"';
        return out;
    }
    std::string stroke() const
    {
        return (m_state.pen ? strokeOf(*m_state.pen) : std::string(" stroke=\"none\"")) +
               " fill=\"none\"";
    }
    std::string shape() const
    {
        return (m_state.pen ? strokeOf(*m_state.pen) : std::string(" stroke=\"none\"")) +
               (m_state.brush ? paint("fill", *m_state.brush) : std::string(" fill=\"none\""));
    }
    // An element in the painter's coordinates and clip.
    void element(const std::string& body, const std::string& look, const std::string& inner = {})
    {
        m_out += '<' + body + look;
        if (m_state.x != 0 || m_state.y != 0 || m_state.sx != 1 || m_state.sy != 1) {
            m_out += " transform=\"matrix(" + num(m_state.sx) + ",0,0," + num(m_state.sy) + ',' +
                     num(m_state.x) + ',' + num(m_state.y) + ")\"";
        }
        if (!m_state.clip.empty())
            m_out += " clip-path=\"url(#" + m_state.clip + ")\"";
        if (inner.empty()) {
            m_out += "/>\n";
            return;
        }
        const std::size_t space = body.find(' ');
        m_out += '>' + inner + "</" + body.substr(0, space) + ">\n";
    }
    void rich(PointF at, const std::string& html, const Font& font, Colour ink, double centredIn);

    TextMetrics& m_metrics;
    std::string& m_out;
    State m_state;
    std::vector<State> m_stack;
    int m_clips = 0;
};

void Writer::operator()(const item::Text& i)
{
    const bool right = i.alignment & align::kRight, centre = i.alignment & align::kHCenter;
    const double x = right ? i.box.right() : centre ? i.box.x + i.box.width / 2 : i.box.x;
    const bool top = i.alignment & align::kTop, bottom = i.alignment & align::kBottom;
    const double y = bottom ? i.box.bottom() : top ? i.box.y : i.box.y + i.box.height / 2;
    const Rgba ink = m_state.pen ? m_state.pen->colour : Rgba{0};
    element("text x=\"" + num(x) + "\" y=\"" + num(y) + '"',
            fontAttributes(m_state.font, m_state.font.pixelSize) + paint("fill", ink) +
                " text-anchor=\"" +
                (right    ? "end"
                 : centre ? "middle"
                          : "start") +
                "\" dominant-baseline=\"" +
                (bottom ? "text-after-edge"
                 : top  ? "text-before-edge"
                        : "central") +
                '"',
            escaped(i.text));
}

void Writer::rich(PointF at, const std::string& html, const Font& font, Colour ink,
                  double centredIn)
{
    const double lineHeight = m_metrics.lineHeight(font);
    std::string inner;
    double y = at.y;
    const double x = centredIn > 0 ? at.x + centredIn / 2 : at.x;
    // Placed on the alphabetic baseline and lowered by dy, as the page's painter places rich
    // text: browsers align tspans of another size differently to a "text-before-edge", and
    // Firefox ignores baseline-shift.
    const double lowered = font.pixelSize * 0.25;
    for (const std::vector<Run>& line : richLines(html)) {
        inner += "<tspan x=\"" + num(x) + "\" y=\"" + num(y + font.pixelSize * 0.9) + "\">";
        bool down = false;
        for (const Run& run : line) {
            inner += "<tspan";
            if (run.italic)
                inner += " font-style=\"italic\"";
            if (run.sub != down)
                inner += " dy=\"" + num(run.sub ? lowered : -lowered) + '"';
            if (run.sub)
                inner += " font-size=\"" + num(font.pixelSize * 0.75) + '"';
            down = run.sub;
            inner += '>' + run.text + "</tspan>";
        }
        inner += "</tspan>";
        y += lineHeight;
    }
    element("text",
            fontAttributes(font, font.pixelSize) + paint("fill", {ink}) +
                (centredIn > 0 ? " text-anchor=\"middle\"" : "") + " xml:space=\"preserve\"",
            inner);
}

// The drawing as the desktop's vector files keep it: its lines and boxes, and each figure one
// path, or an image where it has too many points.
void Writer::operator()(const item::Drawing& i)
{
    const RenderStyle style{i.zoom, i.worksheet, i.yUp, false, i.fine};
    const State outer = m_state;
    (*this)(item::Clip{i.box});
    std::vector<FloatPoint> points;
    for (const DrawOp& op : i.ops) {
        PixelMapping m =
            pixelMapping(op.frame, {i.box.width, i.box.height}, i.zoom / kTwipsPerPixel, i.yUp);
        m.offsetX += i.box.x;
        m.offsetY += i.box.y;
        const Rgba ink{renderColour(op, style)};
        const std::string pen = paint("stroke", ink) + " stroke-width=\"" + num(i.zoom) +
                                "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
        if (op.kind == DrawOp::Kind::Segment) {
            const PointF a = mapPoint(m, op.x1, op.y1), b = mapPoint(m, op.x2, op.y2);
            element("line x1=\"" + num(a.x) + "\" y1=\"" + num(a.y) + "\" x2=\"" + num(b.x) +
                        "\" y2=\"" + num(b.y) + '"',
                    pen);
        } else if (op.kind == DrawOp::Kind::Box) {
            element("rect" + box(RectF::fromCorners(mapPoint(m, op.x1, op.y1),
                                                    mapPoint(m, op.x2, op.y2))),
                    paint("fill", ink) + " stroke=\"none\"");
        } else if (const std::size_t count = figurePointCount(op, i.fine);
                   count > kLargestVectorFigure) {
            element("image" + box(i.box) + " preserveAspectRatio=\"none\" href=\"" +
                        kFigureImageMark + '"',
                    "");
        } else if (count > 0) {
            if (i.fine)
                fineCurvePoints(op.parameters, op.end, kFineBudget, points);
            else
                figurePoints(op.parameters, op.end, points);
            std::string d = "M" + point(mapPoint(m, points[0].x, points[0].y));
            for (std::size_t k = 1; k < count; ++k)
                d += " L" + point(mapPoint(m, points[k].x, points[k].y));
            element("path d=\"" + d + '"', pen + " fill=\"none\"");
        }
    }
    m_state = outer;
}

} // namespace

std::string sceneSvg(const Scene& scene, TextMetrics& metrics, double width, double height,
                     const std::string& title, const std::string& description)
{
    // At 96 dots an inch a browser shows the picture as many pixels wide as it has.
    const auto mm = [](double pixels) { return num(pixels * 25.4 / 96) + "mm"; };
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
    out += "<svg width=\"" + mm(width) + "\" height=\"" + mm(height) + "\"\n viewBox=\"0 0 " +
           num(width) + ' ' + num(height) +
           "\"\n xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "version=\"1.2\" baseProfile=\"tiny\">\n";
    out += "<title>" + escaped(title) + "</title>\n<desc>" + escaped(description) + "</desc>\n";
    Writer writer(metrics, out);
    for (const Item& item : scene.items())
        std::visit(writer, item);
    return out + "</svg>\n";
}

} // namespace korvelian
