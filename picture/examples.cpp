#include "examples.h"

#include "drawingrenderer.h"
#include "model/constants.h"
#include "scene/readingaid.h"
#include "scene/timesignals.h"
#include "scene/trace.h"
#include "scenepainter.h"

#include <QPainter>

#include <cmath>

namespace korvelian {

namespace {

void paintScene(QImage& image, const Scene& scene)
{
    QPainter painter(&image);
    ScenePainter().paint(painter, scene);
}

} // namespace

QImage examplePicture(const Parameter& p, double kgv, int side, const RenderStyle& style)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::black);
    DrawingRenderer renderer;
    renderer.render(image, QSizeF(image.size()), screenDrawing(p, loopEnd(kgv)), style);
    return image;
}

QImage readingAidExample(const Parameter& p, double kgv, int side, bool yUp)
{
    const QImage picture = examplePicture(p, kgv, side, {1, false, yUp});
    const RectF area{0, 0, static_cast<double>(side), static_cast<double>(side)};
    const PixelMapping m = pixelMapping(kExampleFrame, area.size(), 1, yUp);
    TextMetrics& metrics = qtTextMetrics();
    const TextLines lines = readingAidLegend(p, true, yUp);
    const bool beside = legendPlace(metrics, lines, area, m, p, 1).has_value();
    const double band = beside ? 0 : legendBandHeight(metrics, lines, side, 1);
    QImage image(side, side + static_cast<int>(std::ceil(band)), picture.format());
    image.fill(Qt::black);
    Scene scene;
    describeReadingAid(scene, metrics, m, area, p, true, 1, 1, false);
    if (!beside)
        describeLegendBand(scene, {0, static_cast<double>(side), area.width, band}, lines, 1,
                           false);
    QPainter painter(&image);
    painter.drawImage(0, 0, picture);
    ScenePainter().paint(painter, scene);
    return image;
}

QImage afterglowExample(const Parameter& p, double kgv, double t, int side, bool yUp)
{
    QImage image = examplePicture(p, kgv, side, {1, false, yUp, true});
    AfterglowTrace trace;
    const int frames = static_cast<int>(kAfterglowSeconds / kFramePause);
    for (int frame = 0; frame <= frames; ++frame)
        trace.follow(t - (frames - frame) * kStartStep, p, frame * kFramePause);
    Scene scene;
    describeTrace(
        scene,
        pixelMapping(kExampleFrame, {static_cast<double>(side), static_cast<double>(side)}, 1, yUp),
        trace, 2, false);
    paintScene(image, scene);
    return image;
}

QImage timeSignalsExample(const Parameter& p, double kgv, double t, QSize size, bool yUp)
{
    const DrawOp figure{DrawOp::Kind::Figure, kExampleFrame, 0, 0, 0, 0, palette::kFigure, p,
                        loopEnd(kgv)};
    TimeSignalScene shown = sceneOf(figure, pixelMapping(figure.frame, {1, 1}, 1, yUp));
    shown.beamT = t;
    QImage image(size, QImage::Format_RGB32);
    const RectF target{0, 0, static_cast<double>(size.width()), static_cast<double>(size.height())};
    const TimeSignalStyle style{static_cast<double>(size.width()) / kTimeSignalsWidth, 1, 1, false};
    Scene scene;
    describeTimeSignals(scene, qtTextMetrics(), target, shown, style);
    describeTimeCursor(scene, qtTextMetrics(), target, shown, style);
    paintScene(image, scene);
    return image;
}

} // namespace korvelian
