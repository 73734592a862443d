#include "toolkitoptions.h"

#include <QStyleFactory>

#include <algorithm>
#include <iterator>

namespace korvelian {

namespace {

// A style the toolkit does not have would be left aside with an English warning.
QString checkStyle(const QString& style)
{
    const QStringList styles = QStyleFactory::keys();
    if (styles.contains(style, Qt::CaseInsensitive))
        return {};
    return QString("-style erwartet einen der Stile %1, nicht '%2'.").arg(styles.join(", "), style);
}

struct Option
{
    const char* name;
    bool takesValue;
    QString (*check)(const QString& value) = nullptr;
};

// The toolkit's own, its platforms' and those of its widgets.
constexpr Option kOptions[] = {
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"qwindowtitle", true},
    {"qwindowicon", true},
    {"geometry", true},
    {"title", true},
    {"icon", true},
    {"display", true},
    {"name", true},
    {"visual", true},
    {"session", true},
    {"style", true, checkStyle},
    {"stylesheet", true},
    {"reverse", false},
    {"widgetcount", false},
    {"testability", false},
    {"sync", false},
    {"nograb", false},
    {"dograb", false},
    {"qmljsdebugger", false},
};

const Option* find(const QString& name)
{
    const auto* found = std::find_if(std::begin(kOptions), std::end(kOptions),
                                     [&](const Option& option) { return name == option.name; });
    return found == std::end(kOptions) ? nullptr : found;
}

} // namespace

QString ToolkitOptions::setAside(QStringList& arguments, const QStringList& withValue)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const QString name = argument.mid(argument.startsWith("--") ? 2 : 1);
        if (i > 0 && argument.startsWith('-') && withValue.contains(name) &&
            i + 1 < arguments.size()) {
            kept << argument << arguments[++i];
            continue;
        }
        const Option* toolkit = i > 0 && argument.startsWith('-') && !argument.startsWith("--")
                                    ? find(name.section('=', 0, 0))
                                    : nullptr;
        if (!toolkit) {
            kept << argument;
            continue;
        }
        QString value = name.section('=', 1);
        // The toolkit takes the next word as the value, whatever it is.
        if (toolkit->takesValue && !name.contains('=')) {
            if (i + 1 == arguments.size())
                return QString("Nach '%1' fehlt der Wert.").arg(argument);
            value = arguments[++i];
        }
        if (const QString wrong = toolkit->check ? toolkit->check(value) : QString();
            !wrong.isEmpty())
            return wrong;
    }
    arguments = kept;
    return {};
}

} // namespace korvelian
