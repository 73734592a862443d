#pragma once

#include <QByteArrayView>
#include <QString>

namespace korvelian {

// Every file the program writes goes through here, whatever its format: it is there complete
// or not at all, and a file it replaces stays byte for byte as it was until the new one is
// whole on the disk. Only regular files are written. A symbolic link to one stays a link, as
// a text editor keeps it: its target gets the new contents.
class FileWriter
{
public:
    // Writes bytes to path. On failure gives false and, in *error when given, one German
    // message naming the whole path and why: the system's reason (a full disk, a quota, a name
    // too long) or what the name refers to when that is no regular file.
    static bool write(const QString& path, QByteArrayView bytes, QString* error);

    // Why a file of this name is not written, or an empty string: a name the system's
    // character encoding cannot hold, one that refers (through links too) to something other
    // than a regular file, such as a folder, a named pipe or a device, or a link that leads
    // nowhere because its links point at each other in a circle.
    static QString refusal(const QString& path);

    // The system's reason for an error number in German, never in the C library's English:
    // the program's own words for every reason a file operation meets, else a sentence with
    // the number.
    static QString reason(int errorNumber);
};

} // namespace korvelian
