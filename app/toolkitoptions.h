#pragma once

#include <QString>
#include <QStringList>

namespace korvelian {

// The toolkit's own options on the command line: single-dash words it takes out of the
// arguments once the application exists (-platform offscreen, -style=fusion, -reverse).
class ToolkitOptions
{
public:
    // Takes the toolkit's options, with their values, out of the arguments (the program's name
    // first), so that the program's own can be read before the application exists. withValue
    // names the program's options whose next word is their value, even when it starts with a
    // dash as "-10" does. Gives what is wrong, in German, or an empty string: what the toolkit
    // would ignore in silence (-platform without its value) or with an English warning (a
    // style it does not have). Any other single-dash word stays, for the program's reading to
    // refuse as an unknown option.
    static QString setAside(QStringList& arguments, const QStringList& withValue);
};

} // namespace korvelian
