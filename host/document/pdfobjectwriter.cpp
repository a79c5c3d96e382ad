#include "pdfobjectwriter.h"

#include <cstring>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDFObjectHandle.hh>

namespace
{
constexpr char kHex[] = "0123456789abcdef";

// Which bytes go into a name, or a literal string, as they are.
struct CharTable {
    bool plainInName[256] = {};
    bool plainInString[256] = {};
    bool plainAscii[256] = {}; // those of plainInString below 128
    CharTable()
    {
        for (int c = 0; c < 256; ++c) {
            plainInName[c] = c >= 33 && c <= 126 && !std::strchr("#()<>[]{}/%", c);
            // Printable ASCII and Latin-1 letters, less what a literal string escapes.
            plainInString[c] =
                ((c >= 32 && c <= 126) || c >= 160) && c != '(' && c != ')' && c != '\\';
            plainAscii[c] = plainInString[c] && c < 128;
        }
    }
};
const CharTable kTable;

// Hexadecimal for strings that are binary: any control byte other than the five with an
// escape of their own, or more than a fifth of bytes that are not ASCII (UTF-16 text, keys).
bool WantsHex(const std::string& bytes)
{
    size_t foreign = 0;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 32 && c <= 126)
            continue;
        if (c >= 24)
            ++foreign;
        else if (c != '\n' && c != '\r' && c != '\t' && c != '\b' && c != '\f')
            return true;
    }
    return 5 * foreign > bytes.size();
}

void AppendNumber(long long value, std::string& out)
{
    char digits[24];
    unsigned long long v = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                     : static_cast<unsigned long long>(value);
    char* p = digits + sizeof digits;
    do {
        *--p = char('0' + v % 10);
        v /= 10;
    } while (v);
    if (value < 0)
        *--p = '-';
    out.append(p, size_t(digits + sizeof digits - p));
}

} // namespace

void PdfObjectWriter::AppendRef(const QPDFObjGen& og, std::string* out)
{
    AppendNumber(og.getObj(), *out);
    *out += ' ';
    AppendNumber(og.getGen(), *out);
    *out += " R";
}

void PdfObjectWriter::AppendName(const std::string& name, std::string* out)
{
    if (name.empty())
        return;
    const char* p = name.data();
    const char* const end = p + name.size();
    *out += *p++; // the slash
    while (p < end) {
        const char* run = p; // bytes that go as they are, appended at once
        while (p < end && kTable.plainInName[static_cast<unsigned char>(*p)])
            ++p;
        out->append(run, size_t(p - run));
        if (p == end)
            break;
        const auto c = static_cast<unsigned char>(*p++);
        if (c == 0) {
            *out += '#'; // qpdf keeps a '#' that starts no escape as a zero byte
        } else {
            const char escaped[3] = {'#', kHex[c >> 4], kHex[c & 15]};
            out->append(escaped, 3);
        }
    }
}

void PdfObjectWriter::AppendString(const std::string& bytes, std::string* out)
{
    // Most strings (names, dates, ids) are printable ASCII with nothing to escape.
    size_t plain = 0;
    while (plain < bytes.size() && kTable.plainAscii[static_cast<unsigned char>(bytes[plain])])
        ++plain;
    if (plain == bytes.size()) {
        *out += '(';
        *out += bytes;
        *out += ')';
        return;
    }
    if (WantsHex(bytes)) {
        const size_t at = out->size();
        out->resize(at + 2 * bytes.size() + 2);
        char* w = &(*out)[at];
        *w++ = '<';
        for (const char ch : bytes) {
            const auto c = static_cast<unsigned char>(ch);
            *w++ = kHex[c >> 4];
            *w++ = kHex[c & 15];
        }
        *w = '>';
        return;
    }
    out->reserve(out->size() + bytes.size() + 2);
    *out += '(';
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const char* run = p;
        while (p < end && kTable.plainInString[static_cast<unsigned char>(*p)])
            ++p;
        out->append(run, size_t(p - run));
        if (p == end)
            break;
        const auto c = static_cast<unsigned char>(*p++);
        char escaped[4] = {'\\', 0, 0, 0};
        switch (c) {
        case '\n':
            escaped[1] = 'n';
            break;
        case '\r':
            escaped[1] = 'r';
            break; // a bare CR would read back as a line feed
        case '\t':
            escaped[1] = 't';
            break;
        case '\b':
            escaped[1] = 'b';
            break;
        case '\f':
            escaped[1] = 'f';
            break;
        case '(':
        case ')':
        case '\\':
            escaped[1] = char(c);
            break;
        default: // always three digits, so that a digit after it stays a digit
            escaped[1] = char('0' + (c >> 6));
            escaped[2] = char('0' + ((c >> 3) & 7));
            escaped[3] = char('0' + (c & 7));
        }
        out->append(escaped, escaped[2] ? 4 : 2);
    }
    *out += ')';
}

void PdfObjectWriter::Item(QPDFObjectHandle& obj, std::string& out)
{
    if (obj.isIndirect()) {
        const QPDFObjGen og = obj.getObjGen();
        m_refs.push_back(og);
        AppendRef(og, &out);
    } else {
        Value(obj, out);
    }
}

void PdfObjectWriter::OwnEntry(const std::string& key, QPDFObjectHandle& value, std::string& out)
{
    AppendName(key, &out);
    out += ' ';
    if (value.isIndirect()) {
        Item(value, out);
        return;
    }
    const qpdf_object_type_e type = value.getTypeCode();
    if (type != ::ot_string && type != ::ot_array && type != ::ot_dictionary) {
        Value(value, out);
        return;
    }
    // The same value object under the same key as in an object written before (the stamps
    // of a batch share their rectangle, texts and appearance) is written as it was then.
    // It is kept from its second time on, so values met once cost only a comparison.
    Written& w = m_written[key];
    const bool again = w.value.isInitialized() && w.value.isSameObjectAs(value);
    if (again && w.kept) {
        out += w.text;
        m_refs.insert(m_refs.end(), w.refs.begin(), w.refs.end());
        return;
    }
    const size_t at = out.size(), refsAt = m_refs.size();
    Value(value, out);
    w.value = value;
    w.kept = again;
    if (again) {
        w.text.assign(out, at, std::string::npos);
        w.refs.assign(m_refs.begin() + std::ptrdiff_t(refsAt), m_refs.end());
    }
}

void PdfObjectWriter::Value(QPDFObjectHandle& obj, std::string& out)
{
    switch (obj.getTypeCode()) {
    case ::ot_null:
        out += "null";
        break;
    case ::ot_boolean:
        out += obj.getBoolValue() ? "true" : "false";
        break;
    case ::ot_integer:
        AppendNumber(obj.getIntValue(), out);
        break;
    case ::ot_real:
        out += obj.getRealValue();
        break; // the text it was read or made with
    case ::ot_name:
        AppendName(obj.getName(), &out);
        break;
    case ::ot_string:
        AppendString(obj.getStringValue(), &out);
        break;
    case ::ot_array:
        out += "[ ";
        if (const int n = obj.getArrayNItems(); n <= 4) { // cheaper than a copy when short
            for (int i = 0; i < n; ++i) {
                QPDFObjectHandle item = obj.getArrayItem(i);
                Item(item, out);
                out += ' ';
            }
        } else {
            for (QPDFObjectHandle& item : obj.getArrayAsVector()) {
                Item(item, out);
                out += ' ';
            }
        }
        out += ']';
        break;
    case ::ot_dictionary:
        out += "<< ";
        DirectEntries(obj.getDictAsMap(), nullptr, out);
        out += ">>";
        break;
    default:
        out += obj.unparseResolved();
        break; // nothing an update writes
    }
}

void PdfObjectWriter::DirectEntries(std::map<std::string, QPDFObjectHandle> items, const char* skip,
                                    std::string& out)
{
    for (auto& [key, value] : items) {
        if (value.isNull() || (skip && key == skip))
            continue;
        AppendName(key, &out);
        out += ' ';
        Item(value, out);
        out += ' ';
    }
}

void PdfObjectWriter::AppendEntries(std::map<std::string, QPDFObjectHandle> items, std::string& out)
{
    for (auto& [key, value] : items) {
        if (!value.isNull()) {
            OwnEntry(key, value, out);
            out += ' ';
        }
    }
}

std::string PdfObjectWriter::Entries(std::map<std::string, QPDFObjectHandle> items)
{
    m_refs.clear();
    std::string text;
    AppendEntries(std::move(items), text);
    return text;
}

std::string PdfObjectWriter::Body(QPDFObjectHandle obj, size_t* dictEnd)
{
    m_refs.clear();
    std::string body;
    body.reserve(256);
    if (obj.isDictionary()) {
        body += "<< ";
        AppendEntries(obj.getDictAsMap(), body);
        body += ">>";
        *dictEnd = body.size();
        return body;
    }
    if (!obj.isStream()) {
        Value(obj, body);
        *dictEnd = body.size();
        return body;
    }
    std::shared_ptr<Buffer> raw = obj.getRawStreamData();
    body += "<< ";
    DirectEntries(obj.getDict().getDictAsMap(), "/Length", body); // set below
    body += "/Length ";
    AppendNumber(static_cast<long long>(raw->getSize()), body);
    body += " >>";
    *dictEnd = body.size();
    body += "\nstream\n";
    body.append(reinterpret_cast<const char*>(raw->getBuffer()), raw->getSize());
    body += "\nendstream";
    return body;
}
