#include "filewriter.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <utility>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
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

// The reasons a file operation gives, in German, whether or not the toolkit's translation is
// at hand: the C library would give them in English.
constexpr std::pair<int, const char*> kReasons[] = {
    {ENOSPC, "Kein freier Speicherplatz auf dem Gerät vorhanden"},
    {EACCES, "Zugriff verweigert"},
    {ENOENT, "Die Datei oder das Verzeichnis konnte nicht gefunden werden"},
    {EMFILE, "Zu viele Dateien geöffnet"},
    {ENFILE, "Im System sind zu viele Dateien geöffnet"},
#ifdef EDQUOT
    {EDQUOT, "Das Speicherkontingent (Quota) des Benutzers ist ausgeschöpft"},
#endif
    {EFBIG, "Die Datei wäre größer, als das System erlaubt"},
    {ENAMETOOLONG, "Der Dateiname ist zu lang"},
    {EROFS, "Das Dateisystem ist schreibgeschützt"},
    {EIO, "Ein- oder Ausgabefehler des Datenträgers"},
    {ENOTDIR, "Ein Teil des Pfades ist kein Ordner"},
    {EPERM, "Das System erlaubt diese Änderung nicht"},
    {ELOOP, "Zu viele Ebenen symbolischer Verknüpfungen"},
    {EINVAL, "Ungültiges Argument"},
    {EBADF, "Die Datei ist nicht geöffnet"},
    {EISDIR, "Der Name bezeichnet einen Ordner"},
    {ETXTBSY, "Die Datei wird gerade als Programm ausgeführt"},
    {EEXIST, "Die Datei existiert bereits"},
    {EBUSY, "Die Datei oder das Gerät ist belegt"},
    {EXDEV, "Die Datei kann nicht über die Grenze des Dateisystems verschoben werden"},
    {ENXIO, "Das Gerät oder die Adresse gibt es nicht"},
    {ENODEV, "Das Gerät gibt es nicht"},
    {EAGAIN, "Die Ressource ist vorübergehend nicht verfügbar"},
    {EINTR, "Der Aufruf wurde unterbrochen"},
    {ENOMEM, "Nicht genügend Speicher"},
    {EPIPE, "Die Gegenseite hat die Pipe geschlossen"},
    {EMLINK, "Zu viele Verknüpfungen"},
    {ENOTEMPTY, "Der Ordner ist nicht leer"},
    {EOPNOTSUPP, "Das Dateisystem unterstützt diese Aktion nicht"},
    {EOVERFLOW, "Die Datei ist zu groß für diese Aktion"},
    {ESPIPE, "Die Ausgabe erlaubt kein Positionieren"},
    {EFAULT, "Ungültige Adresse"},
#ifdef ESTALE
    {ESTALE, "Die Datei auf dem Netzlaufwerk ist nicht mehr gültig"},
#endif
#ifdef ETIMEDOUT
    {ETIMEDOUT, "Zeitüberschreitung"},
#endif
};

#ifdef Q_OS_UNIX
// A chain of links is followed as the system would, at most this far.
constexpr int kLinkHops = 40;

// The name a chain of symbolic links ends in, existing or not; empty where the chain goes
// round in a circle (or on beyond kLinkHops).
QString linkEnd(const QString& path)
{
    QFileInfo info(path);
    for (int hop = 0; info.isSymLink(); ++hop) {
        if (hop == kLinkHops)
            return {};
        info.setFile(info.symLinkTarget());
    }
    return info.absoluteFilePath();
}

QByteArray temporaryName(const QByteArray& folder)
{
    return folder + "/.korvelian-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

// A new file without a name in the folder, of which a killed program leaves nothing; or, where
// the file system has none, one of a short name of the program's own, in name.
int createTemporary(const QByteArray& folder, QByteArray& name)
{
#ifdef O_TMPFILE
    const int unnamed = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (unnamed >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return unnamed;
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName(folder);
        const int named = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (named >= 0 || errno != EEXIST)
            return named;
    }
    return -1;
}

// The bytes whole on the disk, or the error number of the write that failed.
int writeAll(int file, QByteArrayView bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written =
            ::write(file, bytes.data() + done, static_cast<std::size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        // A short write reports no error; the next one, for the rest, says why.
        if (written <= 0)
            return written < 0 ? errno : EIO;
        done += written;
    }
    // A network file system, or a quota on it, may refuse the data only when they reach the
    // disk; the old file would then be replaced with a damaged one.
    return ::fsync(file) == 0 ? 0 : errno;
}

// Writes the bytes to a new file in the target's folder and only then puts it in the target's
// place, under a name of its own that is short whatever the target's: every name the system
// allows can be replaced (a name just short enough would be too long with a suffix added).
// Gives the error number of the step that failed, or 0.
int replace(const QString& target, QByteArrayView bytes)
{
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    QByteArray name;
    const int file = createTemporary(folder, name);
    if (file < 0)
        return errno;
    // The old file's permissions, as an editor keeps them; a file system without them (FAT)
    // refuses, which does not stop the save.
    struct stat old = {};
    if (::stat(targetName.constData(), &old) == 0)
        static_cast<void>(::fchmod(file, old.st_mode & 07777));
    int failure = writeAll(file, bytes);
    if (failure == 0 && name.isEmpty()) {
        // The unnamed file gets its name just before it takes the target's place.
        const QByteArray handle = "/proc/self/fd/" + QByteArray::number(file);
        name = temporaryName(folder);
        if (::linkat(AT_FDCWD, handle.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) !=
            0) {
            failure = errno;
            name.clear();
        }
    }
    if (::close(file) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && ::rename(name.constData(), targetName.constData()) != 0)
        failure = errno;
    if (failure != 0 && !name.isEmpty())
        ::unlink(name.constData());
    return failure;
}
#else
// The error number the failed call left; without one, what the toolkit says.
QString reasonOf(int errorNumber, const QSaveFile& file)
{
    return errorNumber != 0 ? FileWriter::reason(errorNumber) : file.errorString();
}
#endif

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
#ifdef Q_OS_UNIX
    if (info.isSymLink() && linkEnd(path).isEmpty()) {
        return QStringLiteral("Der Name ist eine Verknüpfung, die nirgendwohin führt: ihre "
                              "Verknüpfungen verweisen im Kreis aufeinander");
    }
#endif
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
#ifdef Q_OS_UNIX
    // A link stays a link: the name it ends in is written.
    if (const int failure = replace(linkEnd(path), bytes); failure != 0)
        return fail(reason(failure));
    return true;
#else
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(reasonOf(errno, file));
    for (qsizetype done = 0; done < bytes.size();) {
        errno = 0;
        const qint64 written = file.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return fail(reasonOf(errno, file));
        done += written;
    }
    errno = 0;
    if (!file.commit())
        return fail(reasonOf(errno, file));
    return true;
#endif
}

QString FileWriter::reason(int errorNumber)
{
    const auto* known =
        std::find_if(std::begin(kReasons), std::end(kReasons),
                     [errorNumber](const auto& r) { return r.first == errorNumber; });
    if (known != std::end(kReasons))
        return QString::fromUtf8(known->second);
    return QStringLiteral("Fehler Nummer %1 des Systems").arg(errorNumber);
}

} // namespace korvelian
