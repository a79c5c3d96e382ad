#pragma once

// One value of a request, as the server hands it to a method.
class IRPCValue
{
public:
    // The value as NUL-terminated UTF-8; never null (a key the request lacks reads as "").
    // Valid until the method's HandleRequest returns.
    virtual const char* GetString() const = 0;

protected:
    // Values belong to the server.
    virtual ~IRPCValue() = default;
};
