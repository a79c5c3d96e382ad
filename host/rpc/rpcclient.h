#pragma once

#include "rpcwire.h"

#include <QString>
#include <QStringList>

// Calls a method of a reader's RPC server: one connection, one request, one reply. It
// blocks the calling thread until the reply or the timeout and needs no event loop, so a
// small tool can use it from main() or from a worker thread.
class RpcClient
{
public:
    struct Result {
        bool ok = false;     // the method ran
        QStringList replies; // what it answered; empty means nothing
        QString error;       // why not, when !ok: the server's message or the client's
    };

    // `timeoutMs` bounds the whole call, connecting included; a negative one waits forever.
    static Result Call(const QString& host, quint16 port, const QString& method,
                       const RpcWire::StringMap& params, int timeoutMs = 5000);
};
