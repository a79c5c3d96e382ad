#include "nexjson.h"

#include <QString>
#include <charconv>
#include <cmath>

void NexJson::SetMember(const std::string& key, const NexSharedPtr<NexJson>& value)
{
    SetMember(key, value ? value->Json() : Value());
}

void NexJson::SetMember(const std::string& key, const Value& value)
{
    SetMember(key, Value(value));
}

void NexJson::SetMember(const std::string& key, Value&& value)
{
    if (!m_value.is_object())
        m_value = Value::object();
    m_value[key] = std::move(value);
}

void NexJson::Append(const NexSharedPtr<NexJson>& value)
{
    if (!m_value.is_array())
        m_value = Value::array();
    m_value.push_back(value ? value->Json() : Value());
}

NexSharedPtr<NexJson> NexJson::Member(const std::string& key) const
{
    if (!HasMember(key))
        return std::make_shared<NexJson>();
    return std::make_shared<NexJson>(m_value.at(key));
}

namespace
{
// Text only of ASCII, escaped as the library escapes it: quotes, backslashes and control
// characters.
void appendString(const std::string& text, std::string* out)
{
    out->push_back('"');
    size_t plain = 0; // start of the characters not yet written, none of them escaped
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20)
            continue;
        out->append(text, plain, i - plain);
        plain = i + 1;
        switch (c) {
        case '"':
            out->append("\\\"");
            break;
        case '\\':
            out->append("\\\\");
            break;
        case '\b':
            out->append("\\b");
            break;
        case '\f':
            out->append("\\f");
            break;
        case '\n':
            out->append("\\n");
            break;
        case '\r':
            out->append("\\r");
            break;
        case '\t':
            out->append("\\t");
            break;
        default: {
            static const char hex[] = "0123456789abcdef";
            const char escaped[] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 0xF]};
            out->append(escaped, sizeof escaped);
        }
        }
    }
    out->append(text, plain, text.size() - plain);
    out->push_back('"');
}

bool isAscii(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

// Written here rather than by the library's serializer, which goes character by character
// through an output adapter (the reader writes small objects for every stamp it places).
// Text that is not ASCII is left to the library, which checks and mends its UTF-8.
bool CompactAscii(const NexJson::Value& value, std::string* out)
{
    using Type = nlohmann::detail::value_t;
    char number[64];
    auto appendInteger = [&](auto n) {
        out->append(number, std::to_chars(number, number + sizeof number, n).ptr);
        return true;
    };
    switch (value.type()) {
    case Type::null:
        out->append("null");
        return true;
    case Type::boolean:
        out->append(value.get<bool>() ? "true" : "false");
        return true;
    case Type::number_integer:
        return appendInteger(value.get<NexJson::Value::number_integer_t>());
    case Type::number_unsigned:
        return appendInteger(value.get<NexJson::Value::number_unsigned_t>());
    case Type::number_float: {
        const double x = value.get<double>();
        if (!std::isfinite(x)) {
            out->append("null");
            return true;
        }
        out->append(number, nlohmann::detail::to_chars(number, number + sizeof number, x));
        return true;
    }
    case Type::string: {
        const std::string& text = value.get_ref<const std::string&>();
        if (!isAscii(text))
            return false;
        appendString(text, out);
        return true;
    }
    case Type::array: {
        out->push_back('[');
        bool first = true;
        for (const NexJson::Value& item : value.get_ref<const NexJson::Value::array_t&>()) {
            if (!first)
                out->push_back(',');
            first = false;
            if (!CompactAscii(item, out))
                return false;
        }
        out->push_back(']');
        return true;
    }
    case Type::object: {
        out->push_back('{');
        bool first = true;
        for (const auto& [key, item] : value.get_ref<const NexJson::Value::object_t&>()) {
            if (!isAscii(key))
                return false;
            if (!first)
                out->push_back(',');
            first = false;
            appendString(key, out);
            out->push_back(':');
            if (!CompactAscii(item, out))
                return false;
        }
        out->push_back('}');
        return true;
    }
    default: // binary values and discarded ones
        return false;
    }
}

namespace NexJsonFactory
{
NexSharedPtr<NexJson> ParseJsonString(const char* utf8)
{
    return ParseJsonString(std::string(utf8 ? utf8 : ""));
}

NexSharedPtr<NexJson> ParseJsonString(const std::string& utf8)
{
    // Callers start their objects from "{}": no parser needed for that.
    if (utf8 == "{}")
        return CreateObject();
    NexJson::Value v = NexJson::Value::parse(utf8, nullptr, /*allow_exceptions=*/false);
    if (v.is_discarded())
        v = NexJson::Value();
    return std::make_shared<NexJson>(std::move(v));
}

std::string BuildJsonString(const NexSharedPtr<NexJson>& value, const NexJsonBuildConfig& config)
{
    if (!value)
        return "null";
    std::string text;
    text.reserve(256);
    if (config.indent < 0 && CompactAscii(value->Json(), &text))
        return text;
    return value->Json().dump(config.indent, ' ', false,
                              nlohmann::ordered_json::error_handler_t::replace);
}

NexSharedPtr<NexJson> CreateObject()
{
    return std::make_shared<NexJson>(NexJson::Value::object());
}
NexSharedPtr<NexJson> CreateArray()
{
    return std::make_shared<NexJson>(NexJson::Value::array());
}
} // namespace NexJsonFactory

namespace
{
// Follows the parse of a whole document and notes the kind of the root's member `wanted`.
struct ArrayMemberFinder {
    using Json = nlohmann::json;
    explicit ArrayMemberFinder(const std::string& wanted) : wanted(wanted) {}
    const std::string& wanted;
    int depth = 0;      // containers open
    bool atKey = false; // the next value belongs to `wanted` of the root
    bool isArray = false;

    bool value()
    {
        if (depth == 1 && atKey)
            isArray = false;
        atKey = false;
        return true;
    }
    bool null() { return value(); }
    bool boolean(bool) { return value(); }
    bool number_integer(Json::number_integer_t) { return value(); }
    bool number_unsigned(Json::number_unsigned_t) { return value(); }
    bool number_float(Json::number_float_t, const Json::string_t&) { return value(); }
    bool string(Json::string_t&) { return value(); }
    bool binary(Json::binary_t&) { return value(); }
    bool start_object(std::size_t)
    {
        value();
        ++depth;
        return true;
    }
    bool key(Json::string_t& name)
    {
        atKey = depth == 1 && name == wanted;
        return true;
    }
    bool end_object()
    {
        --depth;
        return true;
    }
    bool start_array(std::size_t)
    {
        const bool member = depth == 1 && atKey;
        value();
        if (member)
            isArray = true;
        ++depth;
        return true;
    }
    bool end_array()
    {
        --depth;
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&)
    {
        return false;
    }
};
} // namespace

namespace NexJsonHelper
{
NexSharedPtr<NexJson> FromRect(const CCA_GRect& rect)
{
    NexJson::Value v = NexJson::Value::object();
    v["Left"] = rect.left;
    v["Top"] = rect.top;
    v["Right"] = rect.right;
    v["Bottom"] = rect.bottom;
    return std::make_shared<NexJson>(std::move(v));
}

bool ToRect(const NexSharedPtr<NexJson>& value, CCA_GRect* rect)
{
    if (!value || !rect || !value->IsObject())
        return false;
    const auto& j = value->Json();
    for (const char* k : {"Left", "Top", "Right", "Bottom"})
        if (!j.contains(k) || !j.at(k).is_number())
            return false;
    *rect = CCA_GRect(j.at("Left").get<float>(), j.at("Top").get<float>(),
                      j.at("Right").get<float>(), j.at("Bottom").get<float>());
    return true;
}
bool HasArrayMember(const char* utf8, size_t size, const std::string& key)
{
    if (!utf8)
        return false;
    ArrayMemberFinder finder(key);
    const bool whole = nlohmann::json::sax_parse(utf8, utf8 + size, &finder,
                                                 nlohmann::json::input_format_t::json, true);
    return whole && finder.isArray; // only an object at the root has members
}
} // namespace NexJsonHelper

CCA_String Utf82Local(const char* utf8)
{
    const QByteArray local = QString::fromUtf8(utf8 ? utf8 : "").toLocal8Bit();
    return CCA_String(local.constData(), local.size());
}
