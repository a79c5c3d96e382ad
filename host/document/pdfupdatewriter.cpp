#include "pdfupdatewriter.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

namespace
{
// Where a run of consecutive object numbers starts: its number and its place in the rows.
struct RunStart {
    int number;
    int index;
};

// Runs of consecutive object numbers among rows sorted by number: (start, count).
template <typename Rows> std::vector<std::pair<RunStart, int>> Runs(const Rows& rows)
{
    std::vector<std::pair<RunStart, int>> runs;
    for (int i = 0; i < int(rows.size()); ++i) {
        const int n = rows[size_t(i)].number;
        if (!runs.empty() && runs.back().first.number + runs.back().second == n)
            ++runs.back().second;
        else
            runs.emplace_back(RunStart{n, i}, 1);
    }
    return runs;
}

void AppendNumber(std::string& out, long long value)
{
    char digits[24];
    const auto [end, failure] = std::to_chars(digits, digits + sizeof digits, value);
    (void)failure; // 24 digits hold any long long
    out.append(digits, size_t(end - digits));
}

void PutBigEndian(QByteArray& out, quint64 value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xff));
}
} // namespace

bool PdfUpdateWriter::Inspect(const QString& base)
{
    m_kind = Kind::Unknown;
    m_prev = -1;
    QFile f(base);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = f.size();
    f.seek(std::max<qint64>(0, size - 1024));
    const QByteArray tail = f.read(1024);
    const int at = tail.lastIndexOf("startxref");
    if (at < 0 || tail.indexOf("%%EOF", at) < 0)
        return false;
    const QRegularExpression number(QStringLiteral("^startxref\\s+(\\d+)"));
    const auto m = number.match(QString::fromLatin1(tail.mid(at, 40)));
    if (!m.hasMatch())
        return false;
    const qint64 offset = m.captured(1).toLongLong();
    if (offset <= 0 || offset >= size)
        return false;
    f.seek(offset);
    const QByteArray head = f.read(64).trimmed(); // some writers point at the line before
    if (head.startsWith("xref"))
        m_kind = Kind::Table;
    else if (QRegularExpression(QStringLiteral("^\\d+\\s+\\d+\\s+obj\\b"))
                 .match(QString::fromLatin1(head))
                 .hasMatch())
        m_kind = Kind::Stream;
    m_prev = offset;
    return m_kind != Kind::Unknown;
}

void PdfUpdateWriter::Add(int number, int generation, std::string body)
{
    m_objects.push_back(Entry{number, generation, std::move(body)});
}

bool PdfUpdateWriter::Write(const QString& base, const QString& out, const std::string& trailerKeys,
                            int size, int xrefNumber, QString* error) const
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (m_kind == Kind::Unknown)
        return fail(QStringLiteral("The file's cross-reference section was not found."));
    QFile in(base);
    QFile file(out);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("The file %1 cannot be read.").arg(base));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(QStringLiteral("The file %1 cannot be written.").arg(out));
    char last = '\n';
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() || file.write(chunk) != chunk.size())
            return fail(QStringLiteral("The file %1 cannot be written.").arg(out));
        last = chunk.back();
    }
    // The original bytes stay exactly as they were; the update starts on a line of its own.
    std::string section;
    if (last != '\n' && last != '\r')
        section += '\n';
    const qint64 pos = file.pos();
    size_t total = 4096;
    for (const Entry& entry : m_objects)
        total += entry.body.size() + 64; // with the object and xref lines
    section.reserve(total);
    // By number; of an object added twice, the last.
    std::vector<const Entry*> objects;
    objects.reserve(m_objects.size());
    for (const Entry& entry : m_objects)
        objects.push_back(&entry);
    std::stable_sort(objects.begin(), objects.end(),
                     [](const Entry* a, const Entry* b) { return a->number < b->number; });
    // Each object's number, generation and offset, by number.
    struct Row {
        int number, generation;
        qint64 offset;
    };
    std::vector<Row> rows;
    rows.reserve(m_objects.size() + 1);
    for (size_t i = 0; i < objects.size(); ++i) {
        const Entry& entry = *objects[i];
        if (i + 1 < objects.size() && objects[i + 1]->number == entry.number)
            continue;
        rows.push_back(Row{entry.number, entry.generation, pos + qint64(section.size())});
        AppendNumber(section, entry.number);
        section += ' ';
        AppendNumber(section, entry.generation);
        section += " obj\n";
        section += entry.body;
        section += "\nendobj\n";
    }
    const int highest = rows.empty() ? 0 : rows.back().number;
    const qint64 xrefAt = pos + qint64(section.size());
    if (m_kind == Kind::Table) {
        section += "xref\n";
        for (const auto& [first, count] : Runs(rows)) {
            AppendNumber(section, first.number);
            section += ' ';
            AppendNumber(section, count);
            section += '\n';
            for (size_t r = size_t(first.index); r < size_t(first.index + count); ++r) {
                // "oooooooooo ggggg n\r\n": 20 bytes, digits filled from the right.
                char row[21] = "0000000000 00000 n\r\n";
                unsigned long long offset = static_cast<unsigned long long>(rows[r].offset);
                for (int i = 9; i >= 0 && offset; --i, offset /= 10)
                    row[i] = char('0' + offset % 10);
                for (int i = 15, g = rows[r].generation; i >= 11 && g; --i, g /= 10)
                    row[i] = char('0' + g % 10);
                section.append(row, 20);
            }
        }
        section += "trailer\n<< /Size ";
        AppendNumber(section, std::max(size, highest + 1));
        section += ' ' + trailerKeys + " /Prev ";
        AppendNumber(section, m_prev);
        section += " >>\n";
    } else {
        // The stream lists itself too.
        rows.insert(std::upper_bound(rows.begin(), rows.end(), xrefNumber,
                                     [](int n, const Row& row) { return n < row.number; }),
                    Row{xrefNumber, 0, xrefAt});
        int width = 1;
        while (width < 8 && (xrefAt >> (8 * width)) != 0)
            ++width;
        QByteArray packedRows;
        std::string index;
        for (const auto& [first, count] : Runs(rows)) {
            AppendNumber(index, first.number);
            index += ' ';
            AppendNumber(index, count);
            index += ' ';
            for (size_t r = size_t(first.index); r < size_t(first.index + count); ++r) {
                packedRows.append(char(1));
                PutBigEndian(packedRows, quint64(rows[r].offset), width);
                PutBigEndian(packedRows, quint64(rows[r].generation), 2);
            }
        }
        // qCompress puts a four-byte length before the zlib stream.
        const QByteArray packed = qCompress(packedRows).mid(4);
        const int streamSize = std::max({size, highest + 1, xrefNumber + 1});
        AppendNumber(section, xrefNumber);
        section += " 0 obj\n<< /Type /XRef /Size ";
        AppendNumber(section, streamSize);
        section += " /W [ 1 ";
        AppendNumber(section, width);
        section += " 2 ] /Index [ " + index + "] " + trailerKeys + " /Prev ";
        AppendNumber(section, m_prev);
        section += " /Filter /FlateDecode /Length ";
        AppendNumber(section, packed.size());
        section += " >>\nstream\n";
        section.append(packed.constData(), size_t(packed.size()));
        section += "\nendstream\nendobj\n";
    }
    section += "startxref\n";
    AppendNumber(section, xrefAt);
    section += "\n%%EOF\n";
    if (file.write(section.data(), qint64(section.size())) != qint64(section.size()) ||
        !file.flush())
        return fail(QStringLiteral("The file %1 cannot be written.").arg(out));
    return true;
}
