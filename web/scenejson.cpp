#include "scenejson.h"

#include <type_traits>

namespace korvelian {

namespace {

void point(Json& json, PointF p)
{
    json.number(p.x).number(p.y);
}

void rect(Json& json, const RectF& r)
{
    json.number(r.x).number(r.y).number(r.width).number(r.height);
}

void rgba(Json& json, Rgba colour)
{
    json.number(colour.rgb).number(colour.alpha / 65535.0);
}

void pen(Json& json, const Pen& p)
{
    json.begin('[');
    rgba(json, p.colour);
    json.number(p.width)
        .number(static_cast<int>(p.cap))
        .number(static_cast<int>(p.join))
        .number(static_cast<int>(p.dash))
        .boolean(p.cosmetic)
        .end(']');
}

void font(Json& json, const Font& f)
{
    json.begin('[').string(f.family).boolean(f.sansSerif).number(f.pixelSize).end(']');
}

void points(Json& json, const std::vector<PointF>& list)
{
    json.begin('[');
    for (const PointF& p : list)
        point(json, p);
    json.end(']');
}

// Each item as an array: its kind's name, then its fields in the order the page's painter
// reads them.
struct ItemWriter
{
    Json& json;
    std::vector<item::Drawing>& drawings;

    void operator()(const item::Save&) const { json.string("save"); }

    void operator()(const item::Restore&) const { json.string("restore"); }

    void operator()(const item::Clip& i) const
    {
        json.string("clip");
        rect(json, i.rect);
    }

    void operator()(const item::Antialias& i) const { json.string("antialias").boolean(i.on); }

    void operator()(const item::TextAntialias& i) const
    {
        json.string("textAntialias").boolean(i.on);
    }

    void operator()(const item::Translate& i) const
    {
        json.string("translate");
        point(json, i.by);
    }

    void operator()(const item::Scale& i) const { json.string("scale").number(i.x).number(i.y); }

    void operator()(const item::SetPen& i) const
    {
        json.string("pen");
        if (i.pen)
            pen(json, *i.pen);
    }

    void operator()(const item::SetBrush& i) const
    {
        json.string("brush");
        if (i.colour)
            rgba(json, *i.colour);
    }

    void operator()(const item::SetFont& i) const
    {
        json.string("font");
        font(json, i.font);
    }

    void operator()(const item::Line& i) const
    {
        json.string("line");
        point(json, i.from);
        point(json, i.to);
    }

    void operator()(const item::Lines& i) const
    {
        json.string("lines");
        points(json, i.ends);
    }

    void operator()(const item::Points& i) const
    {
        json.string("points");
        points(json, i.points);
    }

    void operator()(const item::Path& i) const
    {
        json.string("path").begin('[');
        for (const item::Path::Step& step : i.steps) {
            json.boolean(step.move);
            point(json, step.at);
        }
        json.end(']');
        if (i.stroke)
            pen(json, *i.stroke);
    }

    void operator()(const item::Ellipse& i) const
    {
        json.string("ellipse");
        rect(json, i.box);
        json.boolean(i.whole);
    }

    void operator()(const item::Pie& i) const
    {
        json.string("pie");
        rect(json, i.box);
        json.number(i.start).number(i.span);
    }

    void operator()(const item::Polygon& i) const
    {
        json.string("polygon");
        points(json, i.corners);
    }

    void operator()(const item::Rect& i) const
    {
        json.string("rect");
        rect(json, i.box);
        json.boolean(i.whole);
    }

    void operator()(const item::FillRect& i) const
    {
        json.string("fillRect");
        rect(json, i.box);
        rgba(json, i.colour);
        json.boolean(i.whole);
    }

    void operator()(const item::Text& i) const
    {
        json.string("text");
        rect(json, i.box);
        json.number(i.alignment).string(i.text).number(static_cast<int>(i.role));
    }

    void operator()(const item::RichText& i) const
    {
        json.string("richText");
        point(json, i.at);
        json.string(i.html);
        font(json, i.font);
        json.number(i.width)
            .boolean(i.centred)
            .number(i.colour)
            .number(static_cast<int>(i.role))
            .boolean(i.ownState);
    }

    void operator()(const item::Label& i) const
    {
        json.string("label");
        rect(json, i.box);
        json.string(i.html);
        font(json, i.font);
        json.number(i.colour);
        rgba(json, i.ground);
        json.number(i.padding).number(static_cast<int>(i.role));
    }

    void operator()(const item::Drawing& i) const
    {
        json.string("drawing");
        rect(json, i.box);
        json.number(static_cast<double>(drawings.size())).boolean(i.vector);
        drawings.push_back(i);
    }
};

} // namespace

void writeScene(Json& json, const Scene& scene, std::vector<item::Drawing>& drawings)
{
    const ItemWriter writer{json, drawings};
    json.begin('[');
    for (const Item& it : scene.items()) {
        json.begin('[');
        std::visit(writer, it);
        json.end(']');
    }
    json.end(']');
}

} // namespace korvelian
