#pragma once

#include "irpcparams.h"

// A method that a server calls by name. The server does not own it: it must outlive the
// server (or be unregistered first).
class IServerMethod
{
public:
    virtual ~IServerMethod() = default;

    // Called on the server's worker thread, never on the GUI thread, for one request at a
    // time (calls of all methods of one server are serialised). `method` is the name the
    // request was addressed to (UTF-8), which lets one object serve several names. The reply
    // goes to the client when this returns; adding no string sends an empty reply list,
    // which means "nothing to answer". Must not wait for the thread that destroys the server.
    virtual void HandleRequest(const char* method, IRPCParams* request, IRPCParams* reply) = 0;
};
