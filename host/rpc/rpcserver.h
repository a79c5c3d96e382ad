#pragma once

#include "iserver.h"

#include <QThread>

class RpcWorker;

// IServer with one worker thread that owns every socket and makes every method call, so
// methods never run on the GUI thread and need no locks among themselves.
class RpcServer : public IServer
{
public:
    RpcServer();
    // Closes the port and every connection and waits for a running method call to return.
    ~RpcServer() override;

    void RegisterMethod(const char* name, IServerMethod* method) override;
    bool Listen(const char* port) override;
    int ServerPort() const override;
    void SetIdleTimeout(int msecs) override;

    // Decimal 0..65535 and nothing else: no sign, blank or suffix.
    static bool ParsePort(const char* text, quint16* port);

private:
    QThread m_thread;
    RpcWorker* m_worker; // lives on m_thread, deleted there when it finishes
};
