#pragma once
// Which file, and what it looked like when it was last read: whether it existed, its size
// and its modification time in nanoseconds. Code that remembers what it read from a
// settings file or a picture compares two of these to know whether it must read again (a
// different path counts as a change); one stat, no date conversion, so it is cheap enough
// to ask on every use.

#include <QString>
#include <QtGlobal>

namespace Utils
{
struct FileVersion {
    static FileVersion Of(const QString& path);

    QString path;
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;

    bool operator==(const FileVersion& other) const
    {
        return path == other.path && exists == other.exists && size == other.size &&
               modifiedNs == other.modifiedNs;
    }
    bool operator!=(const FileVersion& other) const { return !(*this == other); }
};
} // namespace Utils
