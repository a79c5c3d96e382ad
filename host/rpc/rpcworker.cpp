#include "rpcworker.h"

#include "iservermethod.h"
#include "rpcconnection.h"
#include "rpcparams.h"
#include "rpcwire.h"

#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>

RpcWorker::RpcWorker() : m_idleTimeout(RpcWire::kDefaultIdleTimeoutMs) {}

void RpcWorker::SetMethod(const QByteArray& name, IServerMethod* method)
{
    QMutexLocker lock(&m_methodsMutex);
    if (method)
        m_methods.insert(name, method);
    else
        m_methods.remove(name);
}

bool RpcWorker::Listen(quint16 port)
{
    if (m_listener && m_listener->isListening())
        return false;
    if (!m_listener) {
        m_listener = new QTcpServer(this);
        connect(m_listener, &QTcpServer::newConnection, this, &RpcWorker::Accept);
    }
    // Loopback only: the channel trusts whoever can reach it.
    if (!m_listener->listen(QHostAddress::LocalHost, port))
        return false;
    m_port = m_listener->serverPort();
    return true;
}

void RpcWorker::Accept()
{
    while (QTcpSocket* socket = m_listener->nextPendingConnection())
        new RpcConnection(socket, this);
}

QByteArray RpcWorker::Answer(const QByteArray& line)
{
    RpcWire::Request request;
    QString error;
    if (!RpcWire::ParseRequest(line, &request, &error))
        return RpcWire::EncodeError(error);
    const QByteArray name = request.method.toUtf8();
    IServerMethod* method = nullptr;
    {
        QMutexLocker lock(&m_methodsMutex);
        method = m_methods.value(name);
    }
    if (!method)
        return RpcWire::EncodeError(QStringLiteral("unknown method \"%1\"").arg(request.method));

    RpcParams in;
    for (auto it = request.params.begin(); it != request.params.end(); ++it)
        in.Insert(it.key().toUtf8(), it.value().toUtf8());
    RpcParams out;
    method->HandleRequest(name.constData(), &in, &out);
    QStringList replies;
    for (const QByteArray& text : out.Strings())
        replies << QString::fromUtf8(text);
    return RpcWire::EncodeReply(replies);
}
