#include "nexjson.h"

#include <QString>

void NexJson::SetMember(const std::string& key, const NexSharedPtr<NexJson>& value)
{
    SetMember(key, value ? value->Json() : Value());
}

void NexJson::SetMember(const std::string& key, const Value& value)
{
    if (!m_value.is_object())
        m_value = Value::object();
    m_value[key] = value;
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

namespace NexJsonFactory {
NexSharedPtr<NexJson> ParseJsonString(const char* utf8)
{
    return ParseJsonString(std::string(utf8 ? utf8 : ""));
}

NexSharedPtr<NexJson> ParseJsonString(const std::string& utf8)
{
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

NexSharedPtr<NexJson> CreateObject() { return std::make_shared<NexJson>(NexJson::Value::object()); }
NexSharedPtr<NexJson> CreateArray() { return std::make_shared<NexJson>(NexJson::Value::array()); }
} // namespace NexJsonFactory

namespace NexJsonHelper {
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
} // namespace NexJsonHelper

CCA_String Utf82Local(const char* utf8)
{
    const QByteArray local = QString::fromUtf8(utf8 ? utf8 : "").toLocal8Bit();
    return CCA_String(local.constData(), local.size());
}
