#pragma once

#include "iservermethod.h"

// A local RPC server: methods registered by name, served on one loopback TCP port. Made by
// CreateServer() and released by DestroyServer() (hostrpc.h); the wire format is in rpcwire.h.
class IServer
{
public:
    virtual ~IServer() = default;

    // Makes `method` answer requests for `name` (UTF-8, case-sensitive), replacing an earlier
    // registration of that name; null unregisters. Takes effect for the next request, also
    // while listening. The server does not take ownership.
    virtual void RegisterMethod(const char* name, IServerMethod* method) = 0;

    // Starts serving on 127.0.0.1 at `port`, decimal text 0..65535 with nothing around it
    // ("0" picks a free port, see ServerPort()). False when the text is not such a number,
    // the port is taken, or the server already listens.
    virtual bool Listen(const char* port) = 0;

    // The port being served, or 0 before a successful Listen.
    virtual int ServerPort() const = 0;

    // How long a connection may wait to deliver a complete request before it is closed
    // (milliseconds, at least 1; default 30000). Applies to every connection from then on.
    virtual void SetIdleTimeout(int msecs) = 0;
};
