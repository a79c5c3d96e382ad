#include "pdfupdatewriter.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <vector>

namespace
{
// Runs of consecutive object numbers: (first, count).
std::vector<std::pair<int, int>> Runs(const std::vector<int>& numbers)
{
    std::vector<std::pair<int, int>> runs;
    for (int n : numbers) {
        if (!runs.empty() && runs.back().first + runs.back().second == n)
            ++runs.back().second;
        else
            runs.emplace_back(n, 1);
    }
    return runs;
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
    m_objects[number] = Entry{generation, std::move(body)};
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
    QByteArray section;
    if (last != '\n' && last != '\r')
        section.append('\n');
    qint64 pos = file.pos();
    std::vector<int> numbers;
    std::map<int, qint64> offsets;
    int highest = 0;
    qint64 total = 0;
    for (const auto& entry : m_objects)
        total += qint64(entry.second.body.size()) + 64; // with the object and xref lines
    section.reserve(int(std::min<qint64>(total + 4096, 1 << 30)));
    for (const auto& [number, entry] : m_objects) {
        offsets[number] = pos + section.size();
        numbers.push_back(number);
        highest = std::max(highest, number);
        section.append(QByteArray::number(number) + ' ' + QByteArray::number(entry.generation) +
                       " obj\n");
        section.append(entry.body.data(), int(entry.body.size()));
        section.append("\nendobj\n");
    }
    const qint64 xrefAt = pos + section.size();
    if (m_kind == Kind::Table) {
        section.append("xref\n");
        for (const auto& [first, count] : Runs(numbers)) {
            section.append(QByteArray::number(first) + ' ' + QByteArray::number(count) + '\n');
            for (int n = first; n < first + count; ++n) {
                // "oooooooooo ggggg n\r\n": 20 bytes, digits filled from the right.
                char row[21] = "0000000000 00000 n\r\n";
                unsigned long long offset = static_cast<unsigned long long>(offsets[n]);
                for (int i = 9; i >= 0 && offset; --i, offset /= 10)
                    row[i] = char('0' + offset % 10);
                for (int i = 15, g = m_objects.at(n).generation; i >= 11 && g; --i, g /= 10)
                    row[i] = char('0' + g % 10);
                section.append(row, 20);
            }
        }
        section.append("trailer\n<< /Size " + QByteArray::number(std::max(size, highest + 1)) +
                       ' ' + QByteArray::fromStdString(trailerKeys) + " /Prev " +
                       QByteArray::number(m_prev) + " >>\n");
    } else {
        // The stream lists itself too.
        numbers.push_back(xrefNumber);
        std::sort(numbers.begin(), numbers.end());
        offsets[xrefNumber] = xrefAt;
        int width = 1;
        while (width < 8 && (xrefAt >> (8 * width)) != 0)
            ++width;
        QByteArray rows;
        QByteArray index;
        for (const auto& [first, count] : Runs(numbers)) {
            index.append(QByteArray::number(first) + ' ' + QByteArray::number(count) + ' ');
            for (int n = first; n < first + count; ++n) {
                rows.append(char(1));
                PutBigEndian(rows, quint64(offsets[n]), width);
                PutBigEndian(rows, n == xrefNumber ? 0 : quint64(m_objects.at(n).generation), 2);
            }
        }
        // qCompress puts a four-byte length before the zlib stream.
        const QByteArray packed = qCompress(rows).mid(4);
        const int streamSize = std::max({size, highest + 1, xrefNumber + 1});
        section.append(QByteArray::number(xrefNumber) + " 0 obj\n<< /Type /XRef /Size " +
                       QByteArray::number(streamSize) + " /W [ 1 " + QByteArray::number(width) +
                       " 2 ] /Index [ " + index + "] " + QByteArray::fromStdString(trailerKeys) +
                       " /Prev " + QByteArray::number(m_prev) + " /Filter /FlateDecode /Length " +
                       QByteArray::number(packed.size()) + " >>\nstream\n");
        section.append(packed);
        section.append("\nendstream\nendobj\n");
    }
    section.append("startxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n");
    if (file.write(section) != section.size() || !file.flush())
        return fail(QStringLiteral("The file %1 cannot be written.").arg(out));
    return true;
}
