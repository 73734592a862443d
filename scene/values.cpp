#include "values.h"

#include "model/numbertext.h"
#include "textmetrics.h"
#include "texts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace korvelian {

namespace {

constexpr double kCapShare = 0.03;
// Over the figure's box a line's ground lets the figure show through, dimmed.
constexpr int kOverBoxAlpha = 200;
// The textbook's reading wants the figure under the values as plain as the values: a ground
// that dims it to a little more than half, and a rim of the ground's colour round every letter
// that keeps the letters readable over its lines.
constexpr int kReadableOverBoxAlpha = 110;
constexpr double kHaloShare = 0.08;

using Rects = std::vector<RectF>;

// Places the sizes one beneath the other from the room's top-left corner, along apart, and in
// a new column across to the right where the room ends; gives nothing when they do not fit.
std::optional<Rects> flow(const std::vector<SizeF>& sizes, const RectF& room, double along,
                          double across)
{
    Rects rects;
    double x = room.left();
    double y = room.top();
    double column = 0;
    for (const SizeF& size : sizes) {
        if (y + size.height > room.bottom() && y > room.top()) {
            x += column + across;
            y = room.top();
            column = 0;
        }
        if (y + size.height > room.bottom() || x + size.width > room.right())
            return std::nullopt;
        rects.push_back(RectF::at({x, y}, size));
        y += size.height + along;
        column = std::max(column, size.width);
    }
    return rects;
}

// The same side by side, as many in a row as fit.
std::optional<Rects> pack(const std::vector<SizeF>& sizes, const RectF& room, double gap)
{
    std::vector<SizeF> turned;
    for (const SizeF& size : sizes)
        turned.push_back(size.transposed());
    auto rects = flow(turned, room.transposed(), gap, 0);
    if (rects) {
        for (RectF& r : *rects)
            r = r.transposed();
    }
    return rects;
}

// The ground reaches a little past the text, so that no graticule line touches a letter.
double padding(const Font& font)
{
    return font.pixelSize * 0.2;
}

} // namespace

std::vector<std::string> valueLines(const Parameter& p, bool entryAccepted)
{
    std::string ratio = indexed("f", "y") + " : " + indexed("f", "x") + " = " +
                        germanNumber(p.numerator) + " : " + germanNumber(p.denominator);
    if (!entryAccepted)
        ratio += " (zuletzt angenommen)";
    std::vector<std::string> result{
        ratio,
        indexed("A", "x") + " = " + germanNumber(p.amplitudeX, 'f', 2) + " &nbsp; " +
            indexed("φ", "x") + " = " + degreesText(p.phaseX),
        indexed("A", "y") + " = " + germanNumber(p.amplitudeY, 'f', 2) + " &nbsp; " +
            indexed("φ", "y") + " = " + degreesText(shownPhaseY(p)),
    };
    if (p.numerator != p.denominator && !p.textbook)
        result.push_back(yOscillationPhaseLine(p.phaseY, p.numerator, p.denominator));
    return result;
}

Font valueFont(TextMetrics& metrics, double areaHeight, double minimumCap)
{
    Font font{"Liberation Sans", true, 1};
    // Whole pixels: the letters are drawn on the pixel grid, so a cap height of 29,2 pixels
    // would show as 29.
    const double cap = std::ceil(std::max(kCapShare * areaHeight, minimumCap));
    font.pixelSize = std::max(1, static_cast<int>(std::floor(cap / 0.75)));
    while (metrics.capHeight(font) < cap)
        ++font.pixelSize;
    return font;
}

ValueLayout placeValues(const std::vector<SizeF>& sizes, const RectF& area, const RectF& box,
                        double margin, const RectF& taken)
{
    const RectF inside = area.adjusted(margin, margin, -margin, -margin);
    const RectF clear = box.adjusted(-margin, -margin, margin, margin);
    // The box stands in the middle of the screen: below it and to its right there is no more
    // room than above it and to its left, where a reader starts.
    RectF above = inside;
    above.setBottom(clear.top());
    RectF left = inside;
    left.setRight(clear.left());
    // What is taken leaves the largest part of a room beside it.
    for (RectF* room : {&above, &left}) {
        if (!taken.intersects(*room))
            continue;
        const RectF around = taken.adjusted(-margin, -margin, margin, margin);
        const std::array parts{
            RectF::fromCorners(room->topLeft(), {around.left(), room->bottom()}),
            RectF::fromCorners({around.right(), room->top()}, room->bottomRight()),
            RectF::fromCorners(room->topLeft(), {room->right(), around.top()}),
            RectF::fromCorners({room->left(), around.bottom()}, room->bottomRight())};
        const auto size = [](const RectF& r) { return r.isValid() ? r.width * r.height : 0.0; };
        *room = *std::max_element(parts.begin(), parts.end(), [&](const RectF& a, const RectF& b) {
            return size(a) < size(b);
        });
    }
    const double gap = 2 * margin;
    for (auto rects :
         {flow(sizes, above, 0, gap), pack(sizes, above, gap), flow(sizes, left, 0, gap)}) {
        if (rects)
            return {*rects, false};
    }
    return {flow(sizes, inside.adjusted(0, 0, 1e9, 1e9), 0, gap).value_or(Rects()), true};
}

void describeValues(Scene& scene, TextMetrics& metrics, const PixelMapping& toPixels,
                    const RectF& area, const Parameter& p, bool entryAccepted, Colour ground,
                    bool worksheet, const RectF& taken, double minimumCap)
{
    const std::vector<std::string> texts = valueLines(p, entryAccepted);
    const Font font = valueFont(metrics, area.height, minimumCap);
    std::vector<SizeF> sizes;
    for (const std::string& text : texts) {
        const SizeF size = metrics.richTextSize(text, font, -1);
        sizes.push_back({size.width + 2 * padding(font), size.height});
    }
    const RectF box =
        RectF::fromCorners(mapPoint(toPixels, -std::abs(p.amplitudeX), -std::abs(p.amplitudeY)),
                           mapPoint(toPixels, std::abs(p.amplitudeX), std::abs(p.amplitudeY)))
            .normalized();
    const ValueLayout layout = placeValues(sizes, area, box, font.pixelSize * 0.3, taken);
    const bool halo = layout.overBox && p.textbook;
    const Rgba lineGround = layout.overBox
                                ? translucent(ground, halo ? kReadableOverBoxAlpha : kOverBoxAlpha)
                                : Rgba{ground};
    scene.save();
    scene.clip(area);
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const bool refused = i == 0 && !entryAccepted;
        const Colour colour =
            worksheet ? (refused ? palette::kWorksheetValuesRefused : palette::kWorksheetValues)
                      : (refused ? palette::kValuesRefused : palette::kValues);
        item::Label label;
        label.box = layout.lines[i];
        label.html = texts[i];
        label.font = font;
        label.colour = colour;
        label.ground = lineGround;
        label.padding = padding(font);
        if (halo) {
            label.halo = ground;
            label.haloWidth = std::max(1.0, std::round(font.pixelSize * kHaloShare));
        }
        scene.add(label);
    }
    scene.restore();
}

} // namespace korvelian
