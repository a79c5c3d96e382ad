#include "fileversion.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace Utils
{

FileVersion FileVersion::Of(const QString& path)
{
    FileVersion version;
    version.path = path;
#ifdef Q_OS_UNIX
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return version;
    version.exists = true;
    version.size = qint64(info.st_size);
    version.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return version;
    version.exists = true;
    version.size = info.size();
    version.modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
#endif
    return version;
}

} // namespace Utils
