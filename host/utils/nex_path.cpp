#include "nex_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStandardPaths>

namespace
{

// The folder from `envName` when set, else `fallback`; always absolute, ending in '/' and
// created, so callers can append file names directly. Code that asks on every page of a
// batch run gets the folder it was given last time after one stat, not a fresh mkpath.
// `fallback` (a callable giving the folder when the variable is not set) is only asked
// then: the settings' folder is looked up for every stamp a batch places.
template <typename Fallback> QString resolvedFolder(const char* envName, Fallback fallback)
{
    QString asked = qEnvironmentVariable(envName);
    if (asked.isEmpty())
        asked = fallback();
    static QMutex lock;
    static QHash<QString, QString> made;
    {
        QMutexLocker locked(&lock);
        const auto it = made.constFind(asked);
        if (it != made.constEnd() && QFileInfo(it.value()).isDir())
            return it.value();
    }
    QString path = QDir::cleanPath(QDir(asked).absolutePath());
    QDir().mkpath(path);
    if (!path.endsWith('/'))
        path += '/';
    // A relative folder depends on the working folder, which may change.
    if (QDir::isAbsolutePath(asked)) {
        QMutexLocker locked(&lock);
        made.insert(asked, path);
    }
    return path;
}

QString userName()
{
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = QDir::home().dirName();
    return name.isEmpty() ? QStringLiteral("user") : name;
}

// Where the installed layout keeps the libraries and the data, relative to the program's
// folder; the build sets them from its install folders.
#ifndef STAMPREADER_LIB_FROM_BIN
#define STAMPREADER_LIB_FROM_BIN "../lib/stampannot"
#endif
#ifndef STAMPREADER_DATA_FROM_BIN
#define STAMPREADER_DATA_FROM_BIN "../share/stampannot"
#endif

QString programFolder()
{
    const bool running = QCoreApplication::instance() != nullptr;
    return (running ? QCoreApplication::applicationDirPath() : QDir::currentPath()) + '/';
}

QString besideProgram(const char* relative)
{
    return QDir::cleanPath(programFolder() + QLatin1String(relative)) + '/';
}

// Installed: no plug-in folder beside the program, but one in the installed place.
bool installed()
{
    return !QDir(programFolder() + QStringLiteral("plugins")).exists() &&
           QDir(besideProgram(STAMPREADER_LIB_FROM_BIN) + QStringLiteral("plugins")).exists();
}

} // namespace

namespace Utils
{

QString Nex_Path::UserPath()
{
    return resolvedFolder("STAMPREADER_USER_DIR", [] {
        return QDir::homePath() + QStringLiteral("/.local/share/stampreader");
    });
}

QString Nex_Path::AppPath()
{
    return resolvedFolder("STAMPREADER_APP_DIR", [] {
        const bool running = QCoreApplication::instance() != nullptr;
        return running ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    });
}

QString Nex_Path::AppConfigsPath()
{
    return resolvedFolder("STAMPREADER_CONFIG_DIR",
                          [] { return QDir::homePath() + QStringLiteral("/.config/stampreader"); });
}

QString Nex_Path::TempPath()
{
    return resolvedFolder("STAMPREADER_TEMP_DIR", [] {
        return QDir::tempPath() + QStringLiteral("/stampreader-") + userName();
    });
}

QString Nex_Path::PluginPath()
{
    return LibraryPath() + QStringLiteral("plugins/");
}

QString Nex_Path::LibraryPath()
{
    return installed() ? besideProgram(STAMPREADER_LIB_FROM_BIN) : programFolder();
}

QString Nex_Path::DataPath()
{
    if (qEnvironmentVariableIsEmpty("STAMPREADER_APP_DIR") && installed())
        return besideProgram(STAMPREADER_DATA_FROM_BIN);
    return AppPath();
}

} // namespace Utils
