#include "picture/filewriter.h"
#include "tests/testregistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

using namespace korvelian;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void reasonsAreGerman_data();
    void reasonsAreGerman();
    void failuresSayWhyInGerman_data();
    void failuresSayWhyInGerman();
    void everyAllowedNameReplaced_data();
    void everyAllowedNameReplaced();
};

void TestFileWriter::reasonsAreGerman_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("reason"); // "": words of its own, neither English nor a number
    // clang-format off
    QTest::newRow("open: a file in the path") << ENOTDIR << "Ein Teil des Pfades ist kein Ordner";
    QTest::newRow("open: sticky folder, immutable file") << EPERM << "Das System erlaubt diese Änderung nicht";
    QTest::newRow("open: a folder link to itself") << ELOOP << "Zu viele Ebenen symbolischer Verknüpfungen";
    QTest::newRow("write: a closed output") << EINVAL << "Ungültiges Argument";
    QTest::newRow("write: full disk") << ENOSPC << "Kein freier Speicherplatz auf dem Gerät vorhanden";
    QTest::newRow("write: no such output") << EBADF << "";
    QTest::newRow("open: no permission") << EACCES << "";
    QTest::newRow("open: no such folder") << ENOENT << "";
    QTest::newRow("open: a folder's name") << EISDIR << "";
    QTest::newRow("open: a running program") << ETXTBSY << "";
    QTest::newRow("open: read-only file system") << EROFS << "";
    QTest::newRow("open: name too long") << ENAMETOOLONG << "";
    QTest::newRow("open: too many files of the program") << EMFILE << "";
    QTest::newRow("open: too many files of the system") << ENFILE << "";
    QTest::newRow("open: no device") << ENXIO << "";
    QTest::newRow("open: no temporary files here") << EOPNOTSUPP << "";
    QTest::newRow("write: beyond the size limit") << EFBIG << "";
    QTest::newRow("write: quota") << EDQUOT << "";
    QTest::newRow("write: disk fault") << EIO << "";
    QTest::newRow("write: interrupted") << EINTR << "";
    QTest::newRow("write: closed pipe") << EPIPE << "";
    QTest::newRow("write: would block") << EAGAIN << "";
    QTest::newRow("write: no memory") << ENOMEM << "";
    QTest::newRow("link: too many links") << EMLINK << "";
    QTest::newRow("link: file exists") << EEXIST << "";
    QTest::newRow("rename: busy") << EBUSY << "";
    QTest::newRow("rename: across file systems") << EXDEV << "";
    QTest::newRow("rename: a folder not empty") << ENOTEMPTY << "";
    QTest::newRow("network file system: stale") << ESTALE << "";
    // clang-format on
}

// The C library's words are English whatever the locale; none of them reaches the user.
void TestFileWriter::reasonsAreGerman()
{
    QFETCH(int, error);
    QFETCH(QString, reason);
    const QString said = FileWriter::reason(error);
    QVERIFY2(said != QString::fromLocal8Bit(std::strerror(error)), qPrintable(said));
    if (!reason.isEmpty())
        QCOMPARE(said, reason);
    else
        QVERIFY2(!said.isEmpty() && !said.contains(QString::number(error)), qPrintable(said));
}

enum class Setup { FileInThePath, FolderLinkToItself };

void TestFileWriter::failuresSayWhyInGerman_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a file in the path")
        << Setup::FileInThePath << "Ein Teil des Pfades ist kein Ordner.";
    QTest::newRow("a folder link to itself")
        << Setup::FolderLinkToItself << "Zu viele Ebenen symbolischer Verknüpfungen.";
}

void TestFileWriter::failuresSayWhyInGerman()
{
    QFETCH(Setup, setup);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString folder = dir.filePath("ordner");
    if (setup == Setup::FileInThePath)
        QVERIFY(QFile(folder).open(QIODevice::WriteOnly));
    else
        QVERIFY(QFile::link(folder, folder));
    const QString path = folder + "/bild.png";
    QString error;
    QVERIFY(!FileWriter::write(path, "neu", &error));
    QCOMPARE(error,
             QString("Die Datei „%1“ konnte nicht gespeichert werden:\n%2").arg(path, reason));
}

void TestFileWriter::everyAllowedNameReplaced_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("200 bytes") << QString(196, 'a') + ".png";
    QTest::newRow("249 bytes") << QString(245, 'a') + ".png";
    QTest::newRow("255 bytes, the most the system allows") << QString(251, 'a') + ".png";
    QTest::newRow("255 bytes in umlauts") << QString(125, u'ä') + "a.png";
}

// A name the system allows is written and replaced alike, and nothing else is left beside it.
void TestFileWriter::everyAllowedNameReplaced()
{
    QFETCH(QString, name);
    QCOMPARE(QFile::encodeName(name).size() <= 255, true);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    for (const QByteArray& bytes : {QByteArray("das alte Blatt"), QByteArray("das neue")}) {
        QString error;
        QVERIFY2(FileWriter::write(path, bytes, &error), qPrintable(error));
        QCOMPARE(contents(path), bytes);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
}

KORVELIAN_PLAIN_TEST(filewriter, TestFileWriter)
#include "tst_filewriter.moc"
