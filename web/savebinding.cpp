// The picture as the desktop saves it, for the page's downloads and prints; and one scene item
// of every kind, for the test of the page's painter.
#include "core.h"
#include "form/form1.h"
#include "form/layout.h"
#include "form/linksetting.h"
#include "form/screenviews.h"
#include "model/constants.h"
#include "raster/shownpicture.h"
#include "scene/drawing.h"
#include "scene/filenames.h"
#include "scene/helptext.h"
#include "scene/menuwords.h"
#include "scene/presets.h"
#include "scene/timesignals.h"
#include "scene/typedvalue.h"
#include "scenejson.h"
#include "scenesvg.h"
#include "scene/texts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

using namespace korvelian;

namespace {

// The screen's picture as it is saved: at 100 %, so that a width gives its own zoom.
ScreenPicture savedPicture()
{
    ScreenPicture picture = core().window.screen();
    picture.zoom = 1;
    picture.numbersWithheld = core().valuesHidden;
    return picture;
}

RenderStyle savedStyle(const ScreenPicture& picture, double width, bool worksheet)
{
    RenderStyle style = picture.style();
    style.zoom = width / picture.widthAtHundred();
    style.worksheet = worksheet;
    return style;
}

RectF savedTarget(const ScreenPicture& picture, double width)
{
    return {0, 0, width, width * picture.size.height / std::max(1.0, picture.size.width)};
}

} // namespace

// The screen's picture as the desktop saves it, width pixels wide: {width, height, name}, the
// height with what has no room on the picture beneath it. The page paints korv_savedUnder,
// korv_savedFigure and korv_savedOver on one another.
KORV_EXPORT(savedSize) const char* korvSavedSize(int width, const char* ending, int length)
{
    Core& c = core();
    const ScreenPicture picture = savedPicture();
    const RectF target = savedTarget(picture, width);
    const double beneath = std::ceil(picture.beneathHeight(c.metrics, width));
    c.json.clear();
    c.json.begin('{').field("width", width);
    c.json.field("pictureHeight", static_cast<int>(std::lround(target.height)));
    c.json.field("height", static_cast<int>(std::lround(target.height) + beneath));
    c.json.field("name", ratioFileName("korvelian", figureRatio(picture),
                                       std::string(ending, static_cast<std::size_t>(length))));
    c.json.end('}');
    return written(c.json);
}

KORV_EXPORT(savedUnder) const char* korvSavedUnder(int width, int height, int worksheet)
{
    const ScreenPicture picture = savedPicture();
    const RenderStyle style = savedStyle(picture, width, worksheet != 0);
    Scene scene;
    scene.fillRect({0, 0, double(width), double(height)},
                   {worksheet ? palette::kWorksheetGround : picture.background});
    picture.describeUnderlay(scene, savedTarget(picture, width), linePixels(style.zoom),
                             worksheet != 0);
    return sceneJson(scene);
}

// The figure's pixels of the saved picture, width x pictureHeight, clear where nothing is drawn.
KORV_EXPORT(savedFigure)
const std::uint32_t* korvSavedFigure(int width, int pictureHeight, int worksheet)
{
    Core& c = core();
    const ScreenPicture picture = savedPicture();
    c.screenPixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(pictureHeight),
                          0);
    c.pixels.render(c.screenPixels.data(), width, pictureHeight,
                    {double(width), double(pictureHeight)}, 1.0, picture.drawing,
                    savedStyle(picture, width, worksheet != 0));
    return c.screenPixels.data();
}

KORV_EXPORT(savedOver) const char* korvSavedOver(int width, int height, int worksheet)
{
    Core& c = core();
    const ScreenPicture picture = savedPicture();
    const RenderStyle style = savedStyle(picture, width, worksheet != 0);
    const RectF target = savedTarget(picture, width);
    Scene scene;
    picture.describeAnnotations(scene, c.metrics, target, linePixels(style.zoom), worksheet != 0);
    if (height > target.height + 0.5) {
        picture.describeBeneath(scene, {0, target.height, double(width), height - target.height},
                                worksheet != 0);
    }
    return sceneJson(scene);
}

// The picture as the desktop's SVG file has it, width pixels wide: the underlay, the figure as
// one path (or kFigureImageMark where it has too many points), the readings, and what has no
// room on the picture beneath it.
KORV_EXPORT(savedSvg) const char* korvSavedSvg(int width, int height, int worksheet)
{
    Core& c = core();
    const ScreenPicture picture = savedPicture();
    const RenderStyle style = savedStyle(picture, width, worksheet != 0);
    const RectF target = savedTarget(picture, width);
    Scene scene;
    scene.fillRect({0, 0, double(width), double(height)},
                   {worksheet ? palette::kWorksheetGround : picture.background});
    picture.describeUnderlay(scene, target, style.zoom, worksheet != 0);
    scene.add(item::Drawing{target, picture.drawing, style.zoom, style.worksheet, style.yUp,
                            picture.background, true, style.fine});
    picture.describeAnnotations(scene, c.metrics, target, style.zoom, worksheet != 0);
    if (height > target.height + 0.5) {
        picture.describeBeneath(scene, {0, target.height, double(width), height - target.height},
                                worksheet != 0);
    }
    std::string description;
    for (const std::string& line : parameterLines(picture))
        description += (description.empty() ? "" : "\n") + line;
    static std::string svg;
    svg = sceneSvg(scene, c.metrics, width, height, "Korvelian-Figur", description);
    return svg.c_str();
}

// One item of every kind, each in a cell of its own (six cells of 60 pixels a row), for a test
// of the page's painter: every cell must get ink and nothing may land beside the cells.
KORV_EXPORT(sampleScene) const char* korvSampleScene()
{
    const auto cell = [](int k) { return RectF{(k % 6) * 60.0 + 5, (k / 6) * 60.0 + 5, 50, 50}; };
    const Font font{"", true, 14};
    Scene s;
    s.pen(Pen{{palette::kMarker}, 2}).brush({palette::kAidMark}).font(font);
    int k = 0;
    RectF c = cell(k++);
    s.line(c.topLeft(), c.bottomRight());
    c = cell(k++);
    s.add(item::Lines{{c.topLeft(), c.bottomRight(), {c.x, c.bottom()}, {c.right(), c.y}}});
    c = cell(k++);
    s.add(item::Points{{c.center(), c.topLeft() + PointF{10, 10}}});
    c = cell(k++);
    const std::vector<item::Path::Step> corner{
        {true, c.topLeft()}, {false, c.bottomRight()}, {false, {c.x, c.bottom()}}};
    s.add(item::Path{corner, Pen{{palette::kDropLine}, 3}});
    c = cell(k++);
    s.add(item::Path{{{true, c.topLeft()}, {false, c.bottomRight()}, {false, {c.x, c.bottom()}}},
                     std::nullopt});
    c = cell(k++);
    s.add(item::Ellipse{c, false});
    c = cell(k++);
    s.add(item::Ellipse{c, true});
    c = cell(k++);
    s.add(item::Pie{c, 0, 90 * 16});
    c = cell(k++);
    s.add(item::Polygon{{c.topLeft(), {c.right(), c.y}, {c.x, c.bottom()}}});
    c = cell(k++);
    s.add(item::Rect{c, false});
    c = cell(k++);
    s.add(item::Rect{c, true});
    c = cell(k++);
    s.fillRect(c, {palette::kGraticule});
    c = cell(k++);
    s.text(c, align::kHCenter | align::kTop, "Ag", TextRole::Caption);
    c = cell(k++);
    s.add(item::RichText{c.topLeft(), "x<sub>2</sub><br><i>y</i>&nbsp;", font, 40, true,
                         palette::kValues, TextRole::Value, true});
    c = cell(k++);
    item::Label label;
    label.box = c;
    label.html = "A<sub>x</sub>";
    label.font = font;
    label.colour = palette::kValues;
    label.ground = {palette::kBlack};
    label.padding = 3;
    s.add(label);
    c = cell(k++);
    s.add(item::Drawing{c, screenDrawing({1, 0, 1, 0, 1, 1}, loopEnd(1)), 1, false, false,
                        palette::kScreenGround, false});
    // A translation and a scale that the restore takes back: the next cell's line would land
    // elsewhere if it did not.
    c = cell(k++);
    s.save().add(item::Translate{c.topLeft()}).add(item::Scale{2, 2});
    s.fillRect({0, 0, 25, 25}, {palette::kBeamPoint}).restore();
    c = cell(k++);
    s.save().clip(c).fillRect({0, 0, 10000, 10000}, {palette::kDropLine}).restore();
    c = cell(k++);
    s.antialias(false).add(item::TextAntialias{false}).line(c.topLeft(), c.bottomRight());
    return sceneJson(s);
}
