#pragma once
// Lays out an incremental update: the file's bytes unchanged, then the given objects, a
// cross-reference section of the kind the file's last one is (a table, or a stream) and a
// trailer whose /Prev points back at that section. Earlier sections, and so every
// signature made over them, stay valid. The objects come serialised (PdfObjectWriter, or
// PdfUpdateCipher for an encrypted file); this class only places them.

#include <QString>
#include <string>
#include <vector>

class PdfUpdateWriter
{
public:
    enum class Kind { Unknown, Table, Stream };

    // Reads where the last cross-reference section of `base` is and its kind; false (and
    // Kind::Unknown) when the file's end is not as a whole file's end is.
    bool Inspect(const QString& base);
    Kind LastKind() const { return m_kind; }
    qint64 LastOffset() const { return m_prev; }

    // An object of the update: its body is what goes between "N G obj" and "endobj".
    void Add(int number, int generation, std::string body);
    bool IsEmpty() const { return m_objects.empty(); }
    int Count() const { return int(m_objects.size()); }

    // Copies `base` to `out` (an existing, empty file) and appends the update. The trailer
    // takes `trailerKeys` (already serialised "/Root 1 0 R /Info ...") and /Size, which is
    // raised above every number written. A cross-reference stream is written as object
    // `xrefNumber` (which the caller keeps from being used for anything else).
    bool Write(const QString& base, const QString& out, const std::string& trailerKeys, int size,
               int xrefNumber, QString* error) const;

private:
    struct Entry {
        int number, generation;
        std::string body;
    };
    std::vector<Entry> m_objects; // as added; Write orders them by number
    Kind m_kind = Kind::Unknown;
    qint64 m_prev = -1;
};
