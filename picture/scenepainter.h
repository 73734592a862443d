#pragma once

#include "ellipsestamps.h"
#include "scene/scene.h"
#include "scene/textmetrics.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPointF>
#include <QRectF>

#include <memory>
#include <vector>

class QPainter;
class QTextDocument;

namespace korvelian {

inline QPointF toQt(PointF p)
{
    return {p.x, p.y};
}
inline QRectF toQt(const RectF& r)
{
    return {r.x, r.y, r.width, r.height};
}
inline PointF fromQt(const QPointF& p)
{
    return {p.x(), p.y()};
}
inline RectF fromQt(const QRectF& r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}
inline QColor toQColor(Colour colour)
{
    return QColor::fromRgb(static_cast<QRgb>(colour));
}
inline QColor toQColor(Rgba colour)
{
    const auto wide = [](int c) { return static_cast<quint16>(c * 0x101); };
    return QColor::fromRgba64(wide(red(colour.rgb)), wide(green(colour.rgb)),
                              wide(blue(colour.rgb)), static_cast<quint16>(colour.alpha));
}
inline Colour fromQColor(const QColor& colour)
{
    return static_cast<Colour>(colour.rgb() & 0xffffff);
}
QFont toQFont(const Font& font);

// The desktop's measures of text, from Qt's own layout of it: what a description places
// texts by. Answers are kept, as the same few texts are asked for again and again; each
// thread that describes needs an instance of its own.
class QtTextMetrics final : public TextMetrics
{
public:
    SizeF richTextSize(const std::string& html, const Font& font, double width) override;
    double lineHeight(const Font& font) override;
    double advance(const Font& font, const std::string& text) override;
    double capHeight(const Font& font) override;

private:
    QHash<QString, QSizeF> m_known;
};

// The same measures for anyone on the event thread who needs them once.
TextMetrics& qtTextMetrics();

// Carries out a scene with QPainter, on the screen, an image, an SVG file, a PDF or a
// printer. It keeps laid-out texts and labels made into pixels from one scene to the next, so
// a screen painted again in every frame of the animation lays out and draws each once.
class ScenePainter
{
public:
    // Stamp: many outlines of one ellipse in a row (the reading aid's marks of a large figure)
    // are stamped (see EllipseStamps), for the screen only, where a shade at their edges may
    // differ from QPainter's.
    enum class Repeats { PaintEach, Stamp };
    explicit ScenePainter(Repeats repeats = Repeats::PaintEach);
    ~ScenePainter();

    void paint(QPainter& painter, const Scene& scene);

private:
    struct Visitor;
    // How many items from `from` on were painted as one stamped run, 0 for none.
    std::size_t stampRun(QPainter& painter, const std::vector<Item>& items, std::size_t from);
    QTextDocument& document(const std::string& html, const Font& font, double width, bool centred);
    void paintLabel(QPainter& painter, const item::Label& label);

    QHash<QString, std::shared_ptr<QTextDocument>> m_documents;
    QHash<QString, QImage> m_labels;
    Repeats m_repeats;
    EllipseStamps m_stamps;
    // The corners of a stamped run, their memory kept for the next.
    std::vector<QPointF> m_corners;
};

} // namespace korvelian
