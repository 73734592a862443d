#pragma once

#include <QString>

#include <memory>

class QColor;
class QFont;
class QPainter;
class QPointF;
class QTextDocument;

namespace korvelian {

// Numbers as the program writes them for a class: German decimal comma, no group separator
// (32767, never "32.767", which reads as a decimal).
QString germanNumber(double value, char format = 'g', int precision = 10);
// Radians in degrees to one decimal: "45,3°".
QString degreesText(double radians);
// "f<sub>y</sub>": a letter with its index, as rich text.
QString indexed(const QString& letter, const QString& index);

// Rich text laid out in a font, without a margin; a text width above 0 wraps it there.
std::unique_ptr<QTextDocument> richText(const QString& html, const QFont& font,
                                        double textWidth = -1);
void paintRichText(QPainter& painter, QTextDocument& text, const QPointF& at, const QColor& colour);

} // namespace korvelian
