#include "nex_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace
{

// The folder from `envName` when set, else `fallback`; always absolute, ending in '/' and
// created, so callers can append file names directly.
QString resolvedFolder(const char* envName, const QString& fallback)
{
    QString path = qEnvironmentVariable(envName);
    if (path.isEmpty())
        path = fallback;
    path = QDir::cleanPath(QDir(path).absolutePath());
    QDir().mkpath(path);
    if (!path.endsWith('/'))
        path += '/';
    return path;
}

QString userName()
{
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = QDir::home().dirName();
    return name.isEmpty() ? QStringLiteral("user") : name;
}

} // namespace

namespace Utils
{

QString Nex_Path::UserPath()
{
    return resolvedFolder("STAMPREADER_USER_DIR",
                          QDir::homePath() + QStringLiteral("/.local/share/stampreader"));
}

QString Nex_Path::AppPath()
{
    const bool running = QCoreApplication::instance() != nullptr;
    const QString appDir =
        running ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return resolvedFolder("STAMPREADER_APP_DIR", appDir);
}

QString Nex_Path::AppConfigsPath()
{
    return resolvedFolder("STAMPREADER_CONFIG_DIR",
                          QDir::homePath() + QStringLiteral("/.config/stampreader"));
}

QString Nex_Path::TempPath()
{
    return resolvedFolder("STAMPREADER_TEMP_DIR",
                          QDir::tempPath() + QStringLiteral("/stampreader-") + userName());
}

} // namespace Utils
