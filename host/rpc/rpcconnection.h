#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

class QTcpSocket;
class RpcWorker;

// One client connection, living on the worker thread: cuts the byte stream into request
// lines within the size limit, has the worker answer each, and closes connections that
// send too much or take too long. Deletes itself once the socket is gone.
class RpcConnection : public QObject
{
    Q_OBJECT
public:
    // Takes over `socket`; `worker` is the parent and answers the requests.
    RpcConnection(QTcpSocket* socket, RpcWorker* worker);

private:
    void Serve();
    void OnTimer();
    void Refuse(const QString& message);
    void Close();

    QTcpSocket* m_socket;
    RpcWorker* m_worker;
    QTimer m_timer;
    QByteArray m_buffer; // the start of the next request, at most one line plus one byte
    bool m_closing = false;
};
