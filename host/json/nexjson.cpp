#include "nexjson.h"

#include <QString>

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
