#include "rpcconnection.h"

#include "rpcwire.h"
#include "rpcworker.h"

#include <QTcpSocket>

RpcConnection::RpcConnection(QTcpSocket* socket, RpcWorker* worker)
    : QObject(worker), m_socket(socket), m_worker(worker)
{
    m_socket->setParent(this);
    // Qt stops reading from the system once this much waits, which bounds each client's
    // share of memory no matter how fast it sends.
    m_socket->setReadBufferSize(RpcWire::kMaxLineBytes + 1);
    connect(m_socket, &QTcpSocket::readyRead, this, &RpcConnection::Serve);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &RpcConnection::Serve);
    connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RpcConnection::OnTimer);
    m_timer.start(m_worker->IdleTimeout());
    Serve();
}

void RpcConnection::Serve()
{
    // A client that does not read its replies is not read either, so it cannot pile
    // replies up in our memory.
    while (!m_closing && m_socket->bytesToWrite() <= RpcWire::kMaxLineBytes) {
        m_buffer += m_socket->read(RpcWire::kMaxLineBytes + 1 - m_buffer.size());
        const int end = m_buffer.indexOf('\n');
        if (end < 0) {
            if (m_buffer.size() > RpcWire::kMaxLineBytes)
                Refuse(QStringLiteral("the request is longer than %1 bytes")
                           .arg(RpcWire::kMaxLineBytes));
            return;
        }
        // A "\r" before the "\n" is JSON white space like any other.
        const QByteArray line = m_buffer.left(end);
        m_buffer.remove(0, end + 1);
        if (line.trimmed().isEmpty())
            continue;
        m_socket->write(m_worker->Answer(line));
        // The idle time counts from the last answer: trickling bytes does not extend it.
        m_timer.start(m_worker->IdleTimeout());
    }
}

void RpcConnection::OnTimer()
{
    if (m_closing) {
        // The client did not take the last bytes in time either.
        m_socket->abort();
        return;
    }
    if (!m_buffer.isEmpty() || m_socket->bytesAvailable() > 0)
        Refuse(QStringLiteral("no complete request within %1 ms").arg(m_worker->IdleTimeout()));
    else
        Close();
}

void RpcConnection::Refuse(const QString& message)
{
    m_socket->write(RpcWire::EncodeError(message));
    Close();
}

void RpcConnection::Close()
{
    m_closing = true;
    m_buffer.clear();
    m_socket->disconnectFromHost();
    if (m_socket->state() == QAbstractSocket::UnconnectedState)
        deleteLater();
    else
        m_timer.start(m_worker->IdleTimeout());
}
