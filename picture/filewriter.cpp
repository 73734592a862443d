#include "filewriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korvelian {

namespace {

// What a name that is no regular file refers to, as the object of a German sentence.
QString kindOf(const QFileInfo& info)
{
    if (info.isDir())
        return QStringLiteral("einen Ordner");
#ifdef Q_OS_UNIX
    struct stat status = {};
    if (::stat(QFile::encodeName(info.filePath()).constData(), &status) == 0) {
        if (S_ISFIFO(status.st_mode))
            return QStringLiteral("eine benannte Pipe");
        if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
            return QStringLiteral("ein Gerät");
        if (S_ISSOCK(status.st_mode))
            return QStringLiteral("einen Socket");
    }
#endif
    return QStringLiteral("etwas anderes");
}

// The error number the failed call left; without one, what the toolkit says.
QString reasonOf(int errorNumber, const QSaveFile& file)
{
    return errorNumber != 0 ? FileWriter::reason(errorNumber) : file.errorString();
}

} // namespace

QString FileWriter::refusal(const QString& path)
{
    // A name whose bytes were not valid in the system's encoding arrives with replacement
    // characters; written, it would be a file of another name.
    if (path.contains(QChar::ReplacementCharacter) ||
        QFile::decodeName(QFile::encodeName(path)) != path) {
        return QStringLiteral("Der Name enthält Zeichen, die in der Zeichenkodierung des Systems "
                              "ungültig sind; die Datei bekäme einen anderen Namen");
    }
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return {};
    if (info.isSymLink()) {
        return QStringLiteral("Der Name verweist auf „%1“, %2, keine gewöhnliche Datei")
            .arg(QDir::toNativeSeparators(info.canonicalFilePath()), kindOf(info));
    }
    return QStringLiteral("Der Name bezeichnet %1, keine gewöhnliche Datei").arg(kindOf(info));
}

bool FileWriter::write(const QString& path, QByteArrayView bytes, QString* error)
{
    const QFileInfo info(path);
    const auto fail = [&](const QString& why) {
        if (error) {
            // The whole path: what is wrong is often the folder, not the name.
            *error = QStringLiteral("Die Datei „%1“ konnte nicht gespeichert werden:\n%2.")
                         .arg(QDir::toNativeSeparators(info.absoluteFilePath()), why);
            if (info.isFile())
                *error += QStringLiteral("\nDie vorhandene Datei ist unverändert.");
        }
        return false;
    };
    if (const QString refused = refusal(path); !refused.isEmpty())
        return fail(refused);
    QSaveFile file(path);
    // Unbuffered, each write reaches the system at once, and the error number read after a
    // failed one is its own.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(reasonOf(errno, file));
    for (qsizetype done = 0; done < bytes.size();) {
        errno = 0;
        const qint64 written = file.write(bytes.data() + done, bytes.size() - done);
        // A short write reports no error; the next one, for the rest, says why.
        if (written <= 0)
            return fail(reasonOf(errno, file));
        done += written;
    }
#ifdef Q_OS_UNIX
    // A network file system, or a quota on it, may refuse the data only when they reach the
    // disk; committing would then replace the old file with a damaged one.
    if (::fsync(file.handle()) != 0)
        return fail(reason(errno));
#endif
    errno = 0;
    if (!file.commit())
        return fail(reasonOf(errno, file));
    return true;
}

QString FileWriter::reason(int errorNumber)
{
    switch (errorNumber) {
    // The toolkit words these itself and has them in its German translation.
    case ENOSPC:
        return QCoreApplication::translate("QIODevice", "No space left on device");
    case EACCES:
        return QCoreApplication::translate("QIODevice", "Permission denied");
    case ENOENT:
        return QCoreApplication::translate("QIODevice", "No such file or directory");
    case EMFILE:
        return QCoreApplication::translate("QIODevice", "Too many open files");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("Das Speicherkontingent (Quota) des Benutzers ist ausgeschöpft");
#endif
    case EFBIG:
        return QStringLiteral("Die Datei wäre größer, als das System erlaubt");
    case ENAMETOOLONG:
        return QStringLiteral("Der Dateiname ist zu lang");
    case EROFS:
        return QStringLiteral("Das Dateisystem ist schreibgeschützt");
    case EIO:
        return QStringLiteral("Ein- oder Ausgabefehler des Datenträgers");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

} // namespace korvelian
