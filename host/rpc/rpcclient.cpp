#include "rpcclient.h"

#include <QDeadlineTimer>
#include <QTcpSocket>

namespace
{

RpcClient::Result Failure(const QString& error)
{
    RpcClient::Result result;
    result.error = error;
    return result;
}

} // namespace

RpcClient::Result RpcClient::Call(const QString& host, quint16 port, const QString& method,
                                  const RpcWire::StringMap& params, int timeoutMs)
{
    const QByteArray request = RpcWire::EncodeRequest({method, params});
    if (request.isEmpty())
        return Failure(
            QStringLiteral("the request is longer than %1 bytes").arg(RpcWire::kMaxLineBytes));

    const QDeadlineTimer deadline(timeoutMs);
    const QString where = QStringLiteral("%1:%2").arg(host).arg(port);
    QTcpSocket socket;
    socket.connectToHost(host, port);
    if (!socket.waitForConnected(deadline.remainingTime()))
        return Failure(QStringLiteral("cannot connect to %1: %2").arg(where, socket.errorString()));
    socket.write(request);
    while (!socket.canReadLine()) {
        if (socket.bytesAvailable() > RpcWire::kMaxLineBytes)
            return Failure(QStringLiteral("the reply from %1 is too long").arg(where));
        if (!socket.waitForReadyRead(deadline.remainingTime())) {
            if (socket.state() != QAbstractSocket::ConnectedState)
                return Failure(
                    QStringLiteral("%1 closed the connection without a reply").arg(where));
            return Failure(
                QStringLiteral("no reply from %1 within %2 ms").arg(where).arg(timeoutMs));
        }
    }
    const QByteArray line = socket.readLine().trimmed();
    RpcWire::Reply reply;
    QString error;
    if (!RpcWire::ParseReply(line, &reply, &error))
        return Failure(error);
    Result result;
    result.ok = reply.ok;
    result.replies = reply.replies;
    result.error = reply.error;
    return result;
}
