#pragma once

#include "picture/drawingrenderer.h"
#include "picture/scenepainter.h"
#include "raster/drawingthread.h"
#include "scene/screenpicture.h"

#include <QImage>
#include <QRect>

#include <memory>
#include <mutex>
#include <vector>

namespace korvelian {

// What a picture area draws aside with: the drawing thread with a renderer and a painter of
// its own, and the images it draws into.
struct AsideDrawing
{
    // A pass drawn, with the tiles, in device pixels, where it differs from the image it
    // replaces on the screen (the one shown when it was asked for, or the request's preview).
    struct Pass
    {
        QImage image;
        // Whether changed tells where it differs from the image of key replaced.
        bool compared = false;
        qint64 replaced = 0;
        std::vector<QRect> changed;
    };

    // The blocks of a preview of the drawing's figure, 0 where it is drawn whole at once.
    static std::size_t previewBlocks(const Drawing& drawing, bool fine);
    // An image of the size to draw into: one the screen no longer shows, or a new one, and
    // then spare ones of another size go.
    QImage take(const QSize& size);
    // An image no longer shown nor drawn into.
    void giveBack(QImage image);
    // Draws one pass of picture into a spare image, compared with *before, which becomes the
    // pass for the next one; false where stop ended it.
    bool draw(const ScreenPicture& picture, const QSize& deviceSize, qreal ratio,
              const DrawLimits& limits, QImage& before, Pass& pass);

    DrawingRenderer renderer;
    ScenePainter scenePainter;
    // A new image of a large screen for each pass would cost its pages' faults, and their
    // return to the system, on both threads in every frame of a drifting phase.
    std::mutex spareMutex;
    std::vector<QImage> spare;
    // Last: it ends before what its jobs use.
    DrawingThread thread;
};

} // namespace korvelian
