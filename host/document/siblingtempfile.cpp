#include "siblingtempfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>

SiblingTempFile::SiblingTempFile(const QString& target) : m_target(target) {}

SiblingTempFile::~SiblingTempFile()
{
    if (!m_committed && !m_temp.isEmpty())
        QFile::remove(m_temp);
}

bool SiblingTempFile::Reserve(QString* error)
{
    const QFileInfo target(m_target);
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir()) {
        if (error)
            *error = QStringLiteral("The folder %1 does not exist.").arg(folder);
        return false;
    }
    QTemporaryFile reserve(
        QDir(folder).filePath(QStringLiteral(".%1.XXXXXX.part").arg(target.fileName())));
    reserve.setAutoRemove(false);
    if (!reserve.open()) {
        if (error)
            *error = QStringLiteral("Cannot write in the folder %1.").arg(folder);
        return false;
    }
    m_temp = reserve.fileName();
    return true;
}

bool SiblingTempFile::Commit(QString* error)
{
    if (m_temp.isEmpty())
        return false;
    // The temporary file is private; the result keeps the permissions of what it replaces.
    if (QFileInfo::exists(m_target))
        QFile::setPermissions(m_temp, QFile::permissions(m_target));
    else
        QFile::setPermissions(m_temp, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    // rename() replaces the target in one step; readers that hold the old file open keep
    // reading its data.
    if (std::rename(QFile::encodeName(m_temp).constData(),
                    QFile::encodeName(m_target).constData())
        != 0) {
        if (error)
            *error = QStringLiteral("The file %1 could not be replaced.").arg(m_target);
        return false;
    }
    m_committed = true;
    return true;
}
