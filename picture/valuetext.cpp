#include "valuetext.h"

#include <QAbstractTextDocumentLayout>
#include <QLocale>
#include <QPainter>
#include <QTextDocument>

#include <numbers>

namespace korvelian {

QString germanNumber(double value, char format, int precision)
{
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    return german.toString(value, format, precision);
}

QString degreesText(double radians)
{
    return germanNumber(radians * 180 / std::numbers::pi, 'f', 1) + QStringLiteral("°");
}

QString indexed(const QString& letter, const QString& index)
{
    return QStringLiteral("%1<sub>%2</sub>").arg(letter, index);
}

std::unique_ptr<QTextDocument> richText(const QString& html, const QFont& font, double textWidth)
{
    auto text = std::make_unique<QTextDocument>();
    text->setDocumentMargin(0);
    text->setDefaultFont(font);
    text->setTextWidth(textWidth);
    text->setHtml(html);
    return text;
}

void paintRichText(QPainter& painter, QTextDocument& text, const QPointF& at, const QColor& colour)
{
    painter.save();
    painter.translate(at);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, colour);
    text.documentLayout()->draw(&painter, context);
    painter.restore();
}

} // namespace korvelian
