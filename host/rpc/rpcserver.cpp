#include "rpcserver.h"

#include "rpcworker.h"

#include <cstring>

RpcServer::RpcServer() : m_worker(new RpcWorker)
{
    m_thread.setObjectName(QStringLiteral("hostrpc"));
    m_worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

RpcServer::~RpcServer()
{
    m_thread.quit();
    m_thread.wait();
}

void RpcServer::RegisterMethod(const char* name, IServerMethod* method)
{
    if (name && *name)
        m_worker->SetMethod(QByteArray(name), method);
}

bool RpcServer::Listen(const char* port)
{
    quint16 number = 0;
    if (!ParsePort(port, &number))
        return false;
    bool listening = false;
    // The listening socket must belong to the worker thread, which then accepts on its own.
    const Qt::ConnectionType type =
        QThread::currentThread() == &m_thread ? Qt::DirectConnection : Qt::BlockingQueuedConnection;
    QMetaObject::invokeMethod(
        m_worker, [&] { listening = m_worker->Listen(number); }, type);
    return listening;
}

int RpcServer::ServerPort() const
{
    return m_worker->Port();
}

void RpcServer::SetIdleTimeout(int msecs)
{
    m_worker->SetIdleTimeout(qMax(1, msecs));
}

bool RpcServer::ParsePort(const char* text, quint16* port)
{
    if (!text)
        return false;
    const size_t length = std::strlen(text);
    if (length == 0 || length > 5)
        return false;
    int value = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    if (value > 65535)
        return false;
    *port = quint16(value);
    return true;
}
