#pragma once
// The reader's JSON library: values are nlohmann ordered JSON (member order is kept,
// which matters for the annotation content and render requests that the plug-in writes).

#include "../base/ca_types.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

template <typename T> using NexSharedPtr = std::shared_ptr<T>;

class NexJson
{
public:
    using Value = nlohmann::ordered_json;

    NexJson() = default; // holds no object (null)
    explicit NexJson(Value v) : m_value(std::move(v)) {}

    bool IsNull() const { return m_value.is_null(); }
    bool IsObject() const { return m_value.is_object(); }
    bool IsArray() const { return m_value.is_array(); }
    bool HasMember(const std::string& key) const
    {
        return m_value.is_object() && m_value.contains(key);
    }

    // Member setters: turn a null value into an object first; later sets replace.
    void SetMember(const std::string& key, const NexSharedPtr<NexJson>& value);
    void SetMember(const std::string& key, const Value& value);
    void SetMember(const std::string& key, Value&& value); // takes the value over
    void Append(const NexSharedPtr<NexJson>& value);       // turns null into an array

    NexSharedPtr<NexJson> Member(const std::string& key) const; // null value when absent

    const Value& Json() const { return m_value; }
    Value& Json() { return m_value; }

private:
    Value m_value;
};

struct NexJsonBuildConfig {
    int indent = -1; // -1: compact
};

// The compact text of `value`, as BuildJsonString writes it, when all its text is ASCII;
// false otherwise (`out` then holds a part).
bool CompactAscii(const NexJson::Value& value, std::string* out);

namespace NexJsonFactory
{
// Never throws: text that is not JSON gives a value that holds no object.
NexSharedPtr<NexJson> ParseJsonString(const char* utf8);
NexSharedPtr<NexJson> ParseJsonString(const std::string& utf8);
std::string BuildJsonString(const NexSharedPtr<NexJson>& value,
                            const NexJsonBuildConfig& config = NexJsonBuildConfig());
NexSharedPtr<NexJson> CreateObject();
NexSharedPtr<NexJson> CreateArray();
} // namespace NexJsonFactory

namespace NexJsonHelper
{
// {"Left":l,"Top":t,"Right":r,"Bottom":b}
NexSharedPtr<NexJson> FromRect(const CCA_GRect& rect);
bool ToRect(const NexSharedPtr<NexJson>& value, CCA_GRect* rect);
// Whether `utf8` is a JSON object whose member `key` (the last, if repeated) is an array,
// checked without building the values.
bool HasArrayMember(const char* utf8, size_t size, const std::string& key);
} // namespace NexJsonHelper

// UTF-8 to the local 8-bit code page (bytes the code page lacks become '?').
CCA_String Utf82Local(const char* utf8);
