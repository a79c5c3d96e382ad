#include "ica_streamreader.h"

#include <QFile>

namespace {
// Reads the file on demand so that a stream opened and released unused costs nothing.
class FileStreamReader : public ICA_StreamReader {
public:
    explicit FileStreamReader(const QString& path) : m_file(path) {}
    bool Open() { return m_file.open(QIODevice::ReadOnly); }
    qint64 GetSize() const override { return m_file.size(); }
    QByteArray ReadAll() override
    {
        m_file.seek(0);
        return m_file.readAll();
    }
    QString Path() const override { return m_file.fileName(); }

private:
    QFile m_file;
};

class MemoryStreamReader : public ICA_StreamReader {
public:
    explicit MemoryStreamReader(const QByteArray& bytes) : m_bytes(bytes) {}
    qint64 GetSize() const override { return m_bytes.size(); }
    QByteArray ReadAll() override { return m_bytes; }
    QString Path() const override { return QString(); }

private:
    QByteArray m_bytes;
};

ICA_StreamReader* OpenFile(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    auto* reader = new FileStreamReader(path);
    if (!reader->Open()) {
        delete reader;
        return nullptr;
    }
    return reader;
}
} // namespace

ICA_StreamReader* ICA_StreamReader::CreateFileStreamReader(const wchar_t* path, int)
{
    return path ? OpenFile(QString::fromWCharArray(path)) : nullptr;
}

ICA_StreamReader* ICA_StreamReader::CreateFileStreamReader(const char* localPath, int)
{
    return localPath ? OpenFile(QString::fromLocal8Bit(localPath)) : nullptr;
}

ICA_StreamReader* ICA_StreamReader::CreateMemoryStreamReader(const QByteArray& bytes)
{
    return new MemoryStreamReader(bytes);
}
