#pragma once

#include "drawing.h"
#include "geometry.h"
#include "model/palette.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace korvelian {

// What a picture shows, as a list a painter works through in order: QPainter on the desktop
// (the screen, copies, files, prints), a canvas in the browser. Everything a picture is made of
// is decided here, from the program's own numbers, in pixels of the picture; a painter only
// carries it out. Texts are the one thing a painter measures (see TextMetrics): where a text
// goes is decided here from those measures.

enum class Cap { Flat, Square, Round };
enum class Join { Miter, Bevel, Round };
enum class Dash { Solid, Dot, Dash };

// A line's look. The defaults are a painter's own: square ends, bevelled corners.
struct Pen
{
    Rgba colour;
    double width = 1;
    Cap cap = Cap::Square;
    Join join = Join::Bevel;
    Dash dash = Dash::Solid;
    // As wide in device pixels at any scale.
    bool cosmetic = false;

    Pen asCosmetic() const
    {
        Pen pen = *this;
        pen.cosmetic = true;
        return pen;
    }
};

// A font by family (empty: the system's own) and size in whole pixels.
struct Font
{
    std::string family;
    bool sansSerif = false;
    int pixelSize = 12;

    friend bool operator==(const Font& a, const Font& b) = default;
};

// Where a text stands in its box, as flags that combine one across and one down.
namespace align {
inline constexpr int kLeft = 0x1;
inline constexpr int kRight = 0x2;
inline constexpr int kHCenter = 0x4;
inline constexpr int kTop = 0x20;
inline constexpr int kBottom = 0x40;
} // namespace align

// What a text is for, so that a painter may give each kind its own treatment (a browser its
// own element for a screen reader) without reading the text.
enum class TextRole {
    Legend,    // the reading aid's explanation
    Value,     // a value written on the screen
    Formula,   // a signal's formula
    AxisLabel, // the end of an axis
    TimeLabel, // a mark of the time axis
    Caption,   // what an axis counts
    Readout,   // where the beam stands
    Title,     // a plate's heading, a lesson step's
    CellLabel, // what a plate's cell shows
    Note,      // what a plate leaves out
};

namespace item {

// Painter state, kept and given back in pairs like a painter's own.
struct Save
{
};
struct Restore
{
};
struct Clip
{
    RectF rect;
};
struct Antialias
{
    bool on = false;
};
// Whether text is smoothed, apart from lines and shapes.
struct TextAntialias
{
    bool on = false;
};
struct Translate
{
    PointF by;
};
struct Scale
{
    double x = 1;
    double y = 1;
};
// No pen (nothing outlined) or brush (nothing filled) where empty.
struct SetPen
{
    std::optional<Pen> pen;
};
struct SetBrush
{
    std::optional<Rgba> colour;
};
struct SetFont
{
    Font font;
};

struct Line
{
    PointF from;
    PointF to;
};
// Lines from each point at an even place to the one after it, in one go.
struct Lines
{
    std::vector<PointF> ends;
};
struct Points
{
    std::vector<PointF> points;
};
// Pieces of lines, each begun where move is set; stroked with pen if it is set, else drawn
// with the current pen and brush.
struct Path
{
    struct Step
    {
        bool move = false;
        PointF at;
    };
    std::vector<Step> steps;
    std::optional<Pen> stroke;
};
// whole: the box is given to the painter in whole pixels, as an outline of integer
// coordinates is drawn.
struct Ellipse
{
    RectF box;
    bool whole = false;
};
// The part of the ellipse in box from start through span, in sixteenths of a degree.
struct Pie
{
    RectF box;
    int start = 0;
    int span = 0;
};
struct Polygon
{
    std::vector<PointF> corners;
};
struct Rect
{
    RectF box;
    bool whole = false;
};
struct FillRect
{
    RectF box;
    Rgba colour;
    bool whole = false;
};
// A line of text in the current font and pen, placed in box by flags of align.
struct Text
{
    RectF box;
    int alignment = align::kLeft | align::kTop;
    std::string text;
    TextRole role = TextRole::Caption;
};
// Rich text (a few tags: i, sub, br, div, nbsp), laid out from at in font, wrapped at width
// where width is above 0, centred across that width if centred is set. A text that moves
// the painter's origin to at keeps the painter's state around it; one that needs no state
// of its own stands at the origin as it is.
struct RichText
{
    PointF at;
    std::string html;
    Font font;
    double width = -1;
    bool centred = false;
    Colour colour = 0;
    TextRole role = TextRole::Caption;
    bool ownState = true;
};
// A line of rich text on a ground of its own reaching padding past it on either side. It is
// painted again and again unchanged, so a painter may keep it as pixels.
struct Label
{
    RectF box;
    std::string html;
    Font font;
    Colour colour = 0;
    Rgba ground;
    double padding = 0;
    TextRole role = TextRole::Value;
    // A rim of this colour round every letter, haloWidth wide: over lines that show through a
    // thin ground the letters keep their edges.
    std::optional<Colour> halo;
    double haloWidth = 0;
};
// A drawing of the screen (axes, figure) made into a square of its own: as pixels of the
// ground's colour at box's size, or, in a vector picture, as lines and one path a figure.
struct Drawing
{
    RectF box;
    std::vector<DrawOp> ops;
    double zoom = 1;
    bool worksheet = false;
    bool yUp = false;
    Colour ground = 0;
    bool vector = false;
    // A figure as its fine curve.
    bool fine = false;
};

} // namespace item

using Item = std::variant<item::Save, item::Restore, item::Clip, item::Antialias,
                          item::TextAntialias, item::Translate, item::Scale, item::SetPen,
                          item::SetBrush, item::SetFont, item::Line, item::Lines, item::Points,
                          item::Path, item::Ellipse, item::Pie, item::Polygon, item::Rect,
                          item::FillRect, item::Text, item::RichText, item::Label, item::Drawing>;

// A picture's items in the order they are painted.
class Scene
{
public:
    const std::vector<Item>& items() const { return m_items; }
    bool empty() const { return m_items.empty(); }

    template <typename T> Scene& add(T item)
    {
        m_items.emplace_back(std::move(item));
        return *this;
    }
    Scene& append(const Scene& other);
    // Emptied, it keeps its room: a description made again and again takes no new memory.
    void clear() { m_items.clear(); }

    Scene& save() { return add(item::Save{}); }
    Scene& restore() { return add(item::Restore{}); }
    Scene& clip(const RectF& rect) { return add(item::Clip{rect}); }
    Scene& antialias(bool on) { return add(item::Antialias{on}); }
    Scene& pen(const Pen& pen) { return add(item::SetPen{pen}); }
    // A solid pen one unit wide in this colour, as a painter takes a bare colour.
    Scene& pen(Colour colour) { return add(item::SetPen{Pen{{colour}}}); }
    Scene& noPen() { return add(item::SetPen{}); }
    Scene& brush(Rgba colour) { return add(item::SetBrush{colour}); }
    Scene& noBrush() { return add(item::SetBrush{}); }
    Scene& font(const Font& font) { return add(item::SetFont{font}); }
    Scene& line(PointF from, PointF to) { return add(item::Line{from, to}); }
    Scene& fillRect(const RectF& box, Rgba colour) { return add(item::FillRect{box, colour}); }
    Scene& text(const RectF& box, int alignment, std::string text, TextRole role)
    {
        return add(item::Text{box, alignment, std::move(text), role});
    }

private:
    std::vector<Item> m_items;
};

// Boxes, in the scene's pixels, that hold every pixel the scene paints onto target: what a
// repaint must cover where the scene was and where it is now. None where the scene moves,
// scales or clips what it paints, or paints rich text, labels or drawings.
std::optional<std::vector<RectF>> paintedBoxes(const Scene& scene, const RectF& target);

// The items of scene that may paint between rows top and bottom of its pixels, and every item
// that sets the painter's state: painted into that band of rows they give the same pixels as
// the whole scene. Items whose place is not followed (texts, labels, drawings, everything after
// the painter is moved or scaled) are all kept.
Scene sceneWithin(const Scene& scene, double top, double bottom);

} // namespace korvelian
