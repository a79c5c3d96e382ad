#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QObject>
#include <atomic>

class IServerMethod;
class QTcpServer;

// The part of a server that lives on its worker thread: the listening socket, the client
// connections (its children) and the calls of the registered methods.
class RpcWorker : public QObject
{
    Q_OBJECT
public:
    RpcWorker();

    // Any thread.
    void SetMethod(const QByteArray& name, IServerMethod* method);
    void SetIdleTimeout(int msecs) { m_idleTimeout = msecs; }
    int IdleTimeout() const { return m_idleTimeout; }
    int Port() const { return m_port; }

    // Worker thread only.
    bool Listen(quint16 port);
    // The reply line (with its "\n") to one request line.
    QByteArray Answer(const QByteArray& line);

private:
    void Accept();

    QTcpServer* m_listener = nullptr;
    QMutex m_methodsMutex;
    QHash<QByteArray, IServerMethod*> m_methods;
    std::atomic<int> m_idleTimeout;
    std::atomic<int> m_port{0};
};
