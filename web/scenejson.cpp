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

} // namespace

void writeScene(Json& json, const Scene& scene, std::vector<item::Drawing>& drawings)
{
    json.begin('[');
    for (const Item& it : scene.items()) {
        std::visit(
            [&](const auto& i) {
                using T = std::decay_t<decltype(i)>;
                if constexpr (std::is_same_v<T, item::Save>) {
                    json.begin('[').string("save");
                } else if constexpr (std::is_same_v<T, item::Restore>) {
                    json.begin('[').string("restore");
                } else if constexpr (std::is_same_v<T, item::Clip>) {
                    json.begin('[').string("clip");
                    rect(json, i.rect);
                } else if constexpr (std::is_same_v<T, item::Antialias>) {
                    json.begin('[').string("antialias").boolean(i.on);
                } else if constexpr (std::is_same_v<T, item::TextAntialias>) {
                    json.begin('[').string("textAntialias").boolean(i.on);
                } else if constexpr (std::is_same_v<T, item::Translate>) {
                    json.begin('[').string("translate");
                    point(json, i.by);
                } else if constexpr (std::is_same_v<T, item::Scale>) {
                    json.begin('[').string("scale").number(i.x).number(i.y);
                } else if constexpr (std::is_same_v<T, item::SetPen>) {
                    json.begin('[').string("pen");
                    if (i.pen)
                        pen(json, *i.pen);
                } else if constexpr (std::is_same_v<T, item::SetBrush>) {
                    json.begin('[').string("brush");
                    if (i.colour)
                        rgba(json, *i.colour);
                } else if constexpr (std::is_same_v<T, item::SetFont>) {
                    json.begin('[').string("font");
                    font(json, i.font);
                } else if constexpr (std::is_same_v<T, item::Line>) {
                    json.begin('[').string("line");
                    point(json, i.from);
                    point(json, i.to);
                } else if constexpr (std::is_same_v<T, item::Lines>) {
                    json.begin('[').string("lines");
                    points(json, i.ends);
                } else if constexpr (std::is_same_v<T, item::Points>) {
                    json.begin('[').string("points");
                    points(json, i.points);
                } else if constexpr (std::is_same_v<T, item::Path>) {
                    json.begin('[').string("path").begin('[');
                    for (const item::Path::Step& step : i.steps) {
                        json.boolean(step.move);
                        point(json, step.at);
                    }
                    json.end(']');
                    if (i.stroke)
                        pen(json, *i.stroke);
                } else if constexpr (std::is_same_v<T, item::Ellipse>) {
                    json.begin('[').string("ellipse");
                    rect(json, i.box);
                    json.boolean(i.whole);
                } else if constexpr (std::is_same_v<T, item::Pie>) {
                    json.begin('[').string("pie");
                    rect(json, i.box);
                    json.number(i.start).number(i.span);
                } else if constexpr (std::is_same_v<T, item::Polygon>) {
                    json.begin('[').string("polygon");
                    points(json, i.corners);
                } else if constexpr (std::is_same_v<T, item::Rect>) {
                    json.begin('[').string("rect");
                    rect(json, i.box);
                    json.boolean(i.whole);
                } else if constexpr (std::is_same_v<T, item::FillRect>) {
                    json.begin('[').string("fillRect");
                    rect(json, i.box);
                    rgba(json, i.colour);
                    json.boolean(i.whole);
                } else if constexpr (std::is_same_v<T, item::Text>) {
                    json.begin('[').string("text");
                    rect(json, i.box);
                    json.number(i.alignment).string(i.text).number(static_cast<int>(i.role));
                } else if constexpr (std::is_same_v<T, item::RichText>) {
                    json.begin('[').string("richText");
                    point(json, i.at);
                    json.string(i.html);
                    font(json, i.font);
                    json.number(i.width)
                        .boolean(i.centred)
                        .number(i.colour)
                        .number(static_cast<int>(i.role))
                        .boolean(i.ownState);
                } else if constexpr (std::is_same_v<T, item::Label>) {
                    json.begin('[').string("label");
                    rect(json, i.box);
                    json.string(i.html);
                    font(json, i.font);
                    json.number(i.colour);
                    rgba(json, i.ground);
                    json.number(i.padding).number(static_cast<int>(i.role));
                } else if constexpr (std::is_same_v<T, item::Drawing>) {
                    json.begin('[').string("drawing");
                    rect(json, i.box);
                    json.number(static_cast<double>(drawings.size())).boolean(i.vector);
                    drawings.push_back(i);
                }
                json.end(']');
            },
            it);
    }
    json.end(']');
}

} // namespace korvelian
