#pragma once
// Writes qpdf's objects as PDF text for an incremental update, into one buffer, and notes
// the objects they refer to on the way. qpdf's own text of an object costs some 16,000
// instructions for a small dictionary (a temporary string per piece), and the update had
// to scan that text again for references: in a thousand-page batch both showed.
//
// The text means what qpdf's does: integers and booleans as values, reals as the file
// wrote them, names with # escapes for delimiters, white space, '#' and bytes outside
// 33…126, strings byte for byte (literal with escapes, or hexadecimal when mostly binary),
// dictionary entries whose value is null left out (a null entry is no entry), objects held
// by reference as "N G R". What it does not know it leaves to qpdf.
//
// One writer serves one save: a direct value that an object shares with an earlier one
// under the same key (the stamps of a batch share their rectangle, texts and appearance)
// is written from the text kept for it, so objects must not change while it is in use.

#include <map>
#include <qpdf/QPDFObjGen.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <unordered_map>
#include <vector>

class PdfObjectWriter
{
public:
    // The body of indirect object `obj` as it goes between "N G obj" and "endobj"; for a
    // stream, its dictionary with /Length set to the raw data's length, then that data.
    // `dictEnd` gets the length of the value's text (a stream's data follows it). The
    // references met are those of this body.
    std::string Body(QPDFObjectHandle obj, size_t* dictEnd);
    // The objects referred to by the last body, in the order met (repeats kept).
    const std::vector<QPDFObjGen>& References() const { return m_refs; }

    // "/Key value " for each entry whose value is not null, as in a body; References() are
    // those of these values.
    std::string Entries(std::map<std::string, QPDFObjectHandle> items);

    static void AppendName(const std::string& name, std::string* out);
    static void AppendString(const std::string& bytes, std::string* out);
    static void AppendRef(const QPDFObjGen& og, std::string* out); // "N G R"

private:
    void Value(QPDFObjectHandle& obj, std::string& out);
    void Item(QPDFObjectHandle& obj, std::string& out); // a reference when indirect
    // "/Key value " of a dictionary held in another object, but for null values and `skip`.
    void DirectEntries(std::map<std::string, QPDFObjectHandle> items, const char* skip,
                       std::string& out);
    // "/Key value" of an indirect object's own dictionary.
    void AppendEntries(std::map<std::string, QPDFObjectHandle> items, std::string& out);
    void OwnEntry(const std::string& key, QPDFObjectHandle& value, std::string& out);

    // The value last written under a key of an object's own dictionary.
    struct Written {
        QPDFObjectHandle value;
        bool kept = false; // text and refs hold what it was written as
        std::string text;
        std::vector<QPDFObjGen> refs;
    };

    std::vector<QPDFObjGen> m_refs;
    std::unordered_map<std::string, Written> m_written;
};
