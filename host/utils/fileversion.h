#pragma once
// What a file looked like when it was last read: whether it existed, its size and its
// modification time in nanoseconds. Code that remembers what it read from a settings file
// or a picture compares two of these to know whether it must read the file again; one
// stat, no date conversion, so it is cheap enough to ask on every use.

#include <QString>
#include <QtGlobal>

namespace Utils
{
struct FileVersion {
    static FileVersion Of(const QString& path);

    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;

    bool operator==(const FileVersion& other) const
    {
        return exists == other.exists && size == other.size && modifiedNs == other.modifiedNs;
    }
    bool operator!=(const FileVersion& other) const { return !(*this == other); }
};
} // namespace Utils
