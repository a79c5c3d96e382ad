#pragma once

#include "irpcvalue.h"

// The parameters of one call: the request's string map on the way in, the reply strings on
// the way out. The server owns both; a method only uses them during HandleRequest.
class IRPCParams
{
public:
    // The request value under `key` (UTF-8). Never null: a missing or null key gives a value
    // whose GetString() is "", so "absent" and "empty" read the same.
    virtual IRPCValue* GetMap(const char* key) = 0;
    // Appends `text` (UTF-8) to the reply strings, in call order. Null is ignored. Only the
    // reply object's strings are sent back; strings added to the request are dropped.
    virtual void AddString(const char* text) = 0;

protected:
    virtual ~IRPCParams() = default;
};
