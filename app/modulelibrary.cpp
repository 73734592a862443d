#include "modulelibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include <mutex>

namespace korvelian {

namespace {

std::mutex& foldersMutex()
{
    static std::mutex mutex;
    return mutex;
}

QStringList& addedFolders()
{
    static QStringList folders;
    return folders;
}

QStringList folders()
{
    QStringList found;
    {
        const std::lock_guard lock(foldersMutex());
        found = addedFolders();
    }
    const QString program = QCoreApplication::applicationDirPath();
    found << program << QDir(program).filePath(QStringLiteral("../" KORVELIAN_MODULE_DIR));
    return found;
}

} // namespace

void ModuleLibrary::addFolder(const QString& folder)
{
    const std::lock_guard lock(foldersMutex());
    addedFolders() << folder;
}

QFunctionPointer ModuleLibrary::resolve(const QString& name, const char* symbol, QString* why)
{
    QString failed;
    for (const QString& folder : folders()) {
        const QString path = QDir(folder).filePath(name + QStringLiteral(".so"));
        if (!QFileInfo::exists(path))
            continue;
        // Never unloaded: what it made lives on after the library object goes.
        QLibrary library(path);
        if (const QFunctionPointer function = library.resolve(symbol))
            return function;
        failed = library.errorString();
    }
    if (why)
        *why = failed.isEmpty() ? name + QStringLiteral(".so not found") : failed;
    return nullptr;
}

} // namespace korvelian
