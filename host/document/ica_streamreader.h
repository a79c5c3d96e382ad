#pragma once
// A readable byte stream (a file opened for reading). Created by the factories below,
// released with Release(); the document's AddResource reads it whole.

#include <QByteArray>
#include <QString>

class ICA_StreamReader {
public:
    // Null when the file cannot be opened. The second argument is reserved (pass 0).
    static ICA_StreamReader* CreateFileStreamReader(const wchar_t* path, int reserved);
    static ICA_StreamReader* CreateFileStreamReader(const char* localPath, int reserved);
    // A stream over bytes in memory (used by the host itself).
    static ICA_StreamReader* CreateMemoryStreamReader(const QByteArray& bytes);

    virtual ~ICA_StreamReader() = default;
    virtual qint64 GetSize() const = 0;
    virtual QByteArray ReadAll() = 0;
    virtual QString Path() const = 0; // empty for memory streams
    void Release() { delete this; }
};
