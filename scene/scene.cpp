#include "scene.h"

#include <algorithm>
#include <utility>

namespace korvelian {

Scene& Scene::append(const Scene& other)
{
    m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
    return *this;
}

namespace {

// Where the items of a scene paint, as far as a box round each tells.
class PaintedBoxes
{
public:
    explicit PaintedBoxes(const RectF& target) : m_target(target) {}

    std::optional<std::vector<RectF>> take(const Scene& scene)
    {
        for (const Item& item : scene.items()) {
            std::visit(*this, item);
            if (!m_known)
                return std::nullopt;
        }
        return std::move(m_boxes);
    }

    void operator()(const item::SetPen& i)
    {
        // Half the width round a line, a square end reaching as far, and a pixel for the
        // rounding; a cosmetic pen is as wide in device pixels, never wider than in logical.
        m_reach = (i.pen ? std::max(i.pen->width, 1.0) / 2 : 0) + 1;
    }
    void operator()(const item::SetFont& i) { m_fontSize = i.font.pixelSize; }
    void operator()(const item::Line& i) { around({i.from, i.to}); }
    void operator()(const item::Lines& i) { around(i.ends); }
    void operator()(const item::Points& i) { around(i.points); }
    void operator()(const item::Polygon& i) { around(i.corners); }
    void operator()(const item::Ellipse& i) { around(i.box); }
    void operator()(const item::Pie& i) { around(i.box); }
    void operator()(const item::Rect& i) { around(i.box); }
    void operator()(const item::FillRect& i) { around(i.box); }
    void operator()(const item::Text& i)
    {
        // A text may run out of its box: across the whole picture, a line higher and lower.
        m_boxes.push_back({m_target.left(), i.box.top() - m_fontSize - 1, m_target.width,
                           i.box.height + 2 * m_fontSize + 2});
    }
    void operator()(const item::Save&) {}
    void operator()(const item::Restore&) {}
    void operator()(const item::Antialias&) {}
    void operator()(const item::TextAntialias&) {}
    void operator()(const item::SetBrush&) {}
    // What moves, cuts or measures itself is not followed: all of the picture, then.
    template <typename Other> void operator()(const Other&) { m_known = false; }

private:
    void around(const std::vector<PointF>& points)
    {
        if (points.empty())
            return;
        RectF box{points[0].x, points[0].y, 0, 0};
        for (const PointF& p : points) {
            const double right = std::max(box.right(), p.x);
            const double bottom = std::max(box.bottom(), p.y);
            box.x = std::min(box.x, p.x);
            box.y = std::min(box.y, p.y);
            box.width = right - box.x;
            box.height = bottom - box.y;
        }
        around(box);
    }
    void around(const RectF& box)
    {
        const RectF r = box.normalized();
        m_boxes.push_back(r.adjusted(-m_reach, -m_reach, m_reach, m_reach));
    }

    RectF m_target;
    std::vector<RectF> m_boxes;
    double m_reach = 1.5;
    int m_fontSize = 12;
    bool m_known = true;
};

// How high an item that draws lines or shapes reaches, before its pen's reach.
class Rows
{
public:
    using Span = std::optional<std::pair<double, double>>;

    Span operator()(const item::Line& i) const { return of({i.from, i.to}); }
    Span operator()(const item::Lines& i) const { return of(i.ends); }
    Span operator()(const item::Points& i) const { return of(i.points); }
    Span operator()(const item::Polygon& i) const { return of(i.corners); }
    Span operator()(const item::Path& i) const
    {
        Span span;
        for (const item::Path::Step& step : i.steps)
            span = join(span, step.at.y, step.at.y);
        return span;
    }
    Span operator()(const item::Ellipse& i) const { return of(i.box); }
    Span operator()(const item::Pie& i) const { return of(i.box); }
    Span operator()(const item::Rect& i) const { return of(i.box); }
    Span operator()(const item::FillRect& i) const { return of(i.box); }
    // Everything else sets the painter's state or is not followed: kept.
    template <typename Other> Span operator()(const Other&) const { return std::nullopt; }

private:
    static Span join(Span span, double from, double to)
    {
        if (!span)
            return std::pair(from, to);
        return std::pair(std::min(span->first, from), std::max(span->second, to));
    }
    static Span of(const std::vector<PointF>& points)
    {
        Span span;
        for (const PointF& p : points)
            span = join(span, p.y, p.y);
        // No points paint nothing, but cost nothing either.
        return span ? span : Span(std::pair(0.0, 0.0));
    }
    static Span of(const RectF& box)
    {
        const RectF r = box.normalized();
        return std::pair(r.top(), r.bottom());
    }
};

} // namespace

Scene sceneWithin(const Scene& scene, double top, double bottom)
{
    Scene within;
    // A miter join reaches up to twice the pen's width from its corner: three widths and a
    // pixel for antialiasing are more than any pen reaches.
    double widest = 1;
    bool followed = true;
    for (const Item& item : scene.items()) {
        if (const auto* pen = std::get_if<item::SetPen>(&item); pen && pen->pen)
            widest = std::max(widest, pen->pen->width);
        if (const auto* path = std::get_if<item::Path>(&item); path && path->stroke)
            widest = std::max(widest, path->stroke->width);
        followed = followed && !std::holds_alternative<item::Translate>(item) &&
                   !std::holds_alternative<item::Scale>(item);
        const Rows::Span span = followed ? std::visit(Rows(), item) : Rows::Span();
        const double reach = 3 * widest + 2;
        if (!span || (span->second + reach >= top && span->first - reach <= bottom))
            within.add(item);
    }
    return within;
}

std::optional<std::vector<RectF>> paintedBoxes(const Scene& scene, const RectF& target)
{
    return PaintedBoxes(target).take(scene);
}

} // namespace korvelian
