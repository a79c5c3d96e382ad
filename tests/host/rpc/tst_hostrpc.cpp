// The local RPC server driven by real TCP clients: ours and hand-written lines.
#include "host/rpc/hostrpc.h"
#include "host/rpc/rpcclient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <atomic>

namespace
{

const QString kLoopback = QStringLiteral("127.0.0.1");

enum Other { Released, OnLoopback, OnEveryInterface };
enum Peer { Us, Nobody, Mute };

// Answers with the request's "a" and the never-sent "missing", unless silent; records its
// calls (read after the reply).
struct RecordingMethod : IServerMethod {
    explicit RecordingMethod(bool quiet) : silent(quiet) {}
    void HandleRequest(const char* method, IRPCParams* request, IRPCParams* reply) override
    {
        ++calls;
        thread = QThread::currentThread();
        name = method;
        if (silent)
            return;
        reply->AddString(request->GetMap("a")->GetString());
        reply->AddString(request->GetMap("missing")->GetString());
    }
    const bool silent;
    std::atomic<int> calls{0};
    std::atomic<QThread*> thread{nullptr};
    QByteArray name;
};

// An "echo" request line (without "\n") of exactly `size` bytes.
QByteArray EchoLineOfSize(int size)
{
    const QByteArray head = R"({"method":"echo","params":{"a":")", tail = R"("}})";
    return head + QByteArray(size - head.size() - tail.size(), 'x') + tail;
}

QByteArray Line(const char* json)
{
    return QByteArray(json) + '\n';
}

QJsonObject ReplyOf(QTcpSocket& socket)
{
    return QJsonDocument::fromJson(socket.readLine()).object();
}

} // namespace

class TestHostRpc : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_echo = std::make_unique<RecordingMethod>(false);
        m_silent = std::make_unique<RecordingMethod>(true);
        m_server = CreateServer();
        m_server->RegisterMethod("echo", m_echo.get());
        m_server->RegisterMethod("silent", m_silent.get());
        QVERIFY(m_server->Listen("0"));
        m_port = quint16(m_server->ServerPort());
    }

    void cleanup()
    {
        DestroyServer(m_server);
        m_server = nullptr;
    }

    void listen_data()
    {
        QTest::addColumn<QString>("text"); // %1: the port of the socket below
        QTest::addColumn<int>("other");    // a socket on that port, kept open or not
        QTest::addColumn<bool>("listens");
        QTest::newRow("free port by number") << "%1" << int(Released) << true;
        QTest::newRow("any free port") << "0" << int(Released) << true;
        QTest::newRow("taken on loopback") << "%1" << int(OnLoopback) << false;
        QTest::newRow("taken on every interface") << "%1" << int(OnEveryInterface) << false;
        QTest::newRow("null") << QString() << int(Released) << false;
        QTest::newRow("sign") << "+1" << int(Released) << false; // short: not refused for length
        QTest::newRow("beyond range") << "65536" << int(Released) << false;
    }

    void listen()
    {
        QFETCH(QString, text);
        QFETCH(int, other);
        QFETCH(bool, listens);

        QTcpServer held;
        QVERIFY(held.listen(other == OnEveryInterface ? QHostAddress::AnyIPv4
                                                      : QHostAddress::LocalHost));
        const quint16 heldPort = held.serverPort();
        if (other == Released)
            held.close();
        const QByteArray port = (text.contains("%1") ? text.arg(heldPort) : text).toLatin1();

        std::unique_ptr<IServer, void (*)(IServer*)> server(CreateServer(), DestroyServer);
        server->RegisterMethod("echo", m_echo.get());
        QCOMPARE(server->Listen(text.isNull() ? nullptr : port.constData()), listens);
        if (!listens)
            return;
        if (text != "0")
            QCOMPARE(server->ServerPort(), int(heldPort));
        QVERIFY(!server->Listen("0"));
        const quint16 served = quint16(server->ServerPort());
        QVERIFY(RpcClient::Call(kLoopback, served, "echo", {{"a", "b"}}).ok);
        // Bound to 127.0.0.1 only (not to every address): the same port is still free on
        // another loopback address.
        QTcpServer beside;
        QVERIFY(beside.listen(QHostAddress("127.0.0.2"), served));
    }

    void requestReachesTheMethodOnAWorkerThread_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("non-ASCII path") << QString::fromUtf8("/home/张三/印章 1.png");
        QTest::newRow("quotes and line breaks") << "a\"b\\c\nd\r\te";
    }

    void requestReachesTheMethodOnAWorkerThread()
    {
        QFETCH(QString, value);
        const RpcClient::Result result =
            RpcClient::Call(kLoopback, m_port, "echo", {{"a", value}, {"b", "other"}});
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.replies, QStringList({value, ""}));
        QCOMPARE(m_echo->calls, 1);
        QCOMPARE(m_echo->name, QByteArray("echo"));
        QVERIFY(m_echo->thread && m_echo->thread != QThread::currentThread());
    }

    void handWrittenRequestsShareAConnection()
    {
        QTcpSocket socket;
        socket.connectToHost(kLoopback, m_port);
        socket.write("{\"method\":\"silent\",\"params\":{\"a\":\"b\"}}\n"
                     "\n"
                     "{\"method\":\"echo\",\"params\":{\"a\":\"40\"}}\r\n");
        QTRY_VERIFY(socket.canReadLine());
        QCOMPARE(ReplyOf(socket), QJsonObject({{"ok", true}, {"replies", QJsonArray()}}));
        QTRY_VERIFY(socket.canReadLine());
        QCOMPARE(ReplyOf(socket), QJsonObject({{"ok", true}, {"replies", QJsonArray({"40", ""})}}));
        QCOMPARE(m_silent->calls, 1);
    }

    void badRequestsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error"); // empty: served
        QTest::addColumn<bool>("closes");
        auto row = [](const char* name, const QByteArray& bytes, const char* error,
                      bool closes = false) {
            QTest::newRow(name) << bytes << QString(error) << closes;
        };
        const int limit = RpcWire::kMaxLineBytes;
        row("not JSON", Line("hello"), "not valid JSON");
        row("not UTF-8", Line("{\"method\":\"echo\",\"params\":{\"a\":\"\xff\xfe\"}}"),
            "not UTF-8");
        row("array", Line(R"(["echo"])"), "JSON object");
        row("no method", Line(R"({"params":{"a":"b"}})"), "\"method\"");
        row("empty method", Line(R"({"method":""})"), "\"method\"");
        row("params not an object", Line(R"({"method":"echo","params":["a"]})"), "\"params\"");
        row("number value", Line(R"({"method":"echo","params":{"a":40}})"), "parameter \"a\"");
        row("NUL in a value", Line(R"({"method":"echo","params":{"a":"x\u0000y"}})"), "U+0000");
        row("unknown method", Line(R"({"method":"Echo"})"), "unknown method \"Echo\"");
        row("line at the limit", EchoLineOfSize(limit) + '\n', "");
        row("line over the limit", EchoLineOfSize(limit + 1) + '\n', "longer than 65536 bytes",
            true);
        row("unfinished line", R"({"method":"echo","params":{}})", "no complete request", true);
    }

    void badRequestsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QFETCH(bool, closes);
        // Only this row waits for the idle time: the others must close at once.
        if (error.startsWith("no complete request"))
            m_server->SetIdleTimeout(1000);
        QTcpSocket socket;
        socket.connectToHost(kLoopback, m_port);
        socket.write(bytes);
        QTRY_VERIFY_WITH_TIMEOUT(
            socket.canReadLine() || socket.state() == QAbstractSocket::UnconnectedState, 10000);
        // A connection closed while much of the line is unread may be reset before its
        // reply arrives: closed is answer enough then.
        if (socket.canReadLine() || !closes) {
            const QJsonObject reply = ReplyOf(socket);
            QCOMPARE(reply.value("ok").toBool(), error.isEmpty());
            QVERIFY2(reply.value("error").toString().contains(error),
                     qPrintable(reply["error"].toString()));
        }
        QCOMPARE(m_echo->calls, error.isEmpty() ? 1 : 0);
        if (closes) {
            QTRY_COMPARE(socket.state(), QAbstractSocket::UnconnectedState);
        } else {
            socket.write(Line(R"({"method":"echo","params":{"a":"next"}})"));
            QTRY_VERIFY(socket.canReadLine());
            QCOMPARE(ReplyOf(socket).value("replies").toArray().first().toString(), "next");
        }
        QVERIFY(RpcClient::Call(kLoopback, m_port, "echo", {}, 1000).ok); // still served at once
    }

    void manyClientsAreServedWhileAnIdleOneIsDropped()
    {
        m_server->SetIdleTimeout(2000);
        QTcpSocket idle;
        QSignalSpy dropped(&idle, &QTcpSocket::disconnected);
        idle.connectToHost(kLoopback, m_port);
        QTRY_COMPARE(idle.state(), QAbstractSocket::ConnectedState);
        const int count = 200;
        std::vector<std::unique_ptr<QTcpSocket>> sockets;
        for (int i = 0; i < count; ++i) {
            sockets.push_back(std::make_unique<QTcpSocket>());
            sockets.back()->connectToHost(kLoopback, m_port);
            const QString line = R"({"method":"echo","params":{"a":"%1"}})";
            sockets.back()->write(Line(qPrintable(line.arg(i))));
        }
        for (int i = 0; i < count; ++i) {
            QTRY_VERIFY_WITH_TIMEOUT(sockets[i]->canReadLine(), 20000);
            const QJsonArray replies = ReplyOf(*sockets[i]).value("replies").toArray();
            QCOMPARE(replies.first().toString(), QString::number(i));
        }
        QCOMPARE(m_echo->calls, count);
        QVERIFY(dropped.wait(10000));
        QCOMPARE(idle.bytesAvailable(), 0); // nothing was asked, so nothing is answered
    }

    void tricklingClientIsCutOff()
    {
        m_server->SetIdleTimeout(1000);
        QTcpSocket socket;
        socket.connectToHost(kLoopback, m_port);
        // One byte every 100 ms: each arrives well within the idle time, the line never does.
        const QByteArray line = EchoLineOfSize(200) + '\n';
        int sent = 0;
        QTimer drip;
        connect(&drip, &QTimer::timeout, [&] { socket.write(line.mid(sent++, 1)); });
        drip.start(100);
        QTRY_VERIFY_WITH_TIMEOUT(socket.canReadLine(), 10000);
        QVERIFY(ReplyOf(socket).value("error").toString().startsWith("no complete request"));
        QVERIFY(sent < line.size());
        QCOMPARE(m_echo->calls, 0);
    }

    void destroyingTheServerClosesConnectionsAndFreesThePort()
    {
        QTcpSocket idle, partial, served;
        for (QTcpSocket* socket : {&idle, &partial, &served})
            socket->connectToHost(kLoopback, m_port);
        partial.write("{\"method\":\"echo\"");
        served.write("{\"method\":\"echo\"}\n");
        QTRY_VERIFY(served.canReadLine());
        QTRY_COMPARE(idle.state(), QAbstractSocket::ConnectedState);
        DestroyServer(m_server);
        m_server = nullptr;
        for (QTcpSocket* socket : {&idle, &partial, &served})
            QTRY_COMPARE(socket->state(), QAbstractSocket::UnconnectedState);
        std::unique_ptr<IServer, void (*)(IServer*)> again(CreateServer(), DestroyServer);
        QVERIFY(again->Listen(QByteArray::number(m_port).constData()));
    }

    void clientReportsFailures_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<int>("size"); // of the value sent
        QTest::addColumn<int>("peer");
        QTest::addColumn<QString>("error");
        QTest::newRow("nobody listens") << "echo" << 1 << int(Nobody) << "cannot connect";
        QTest::newRow("no answer in time") << "echo" << 1 << int(Mute) << "no reply";
        QTest::newRow("refused by the server") << "stamp" << 1 << int(Us) << "unknown method";
        QTest::newRow("request over the limit")
            << "echo" << RpcWire::kMaxLineBytes << int(Us) << "longer than";
    }

    void clientReportsFailures()
    {
        QFETCH(QString, method);
        QFETCH(int, size);
        QFETCH(int, peer);
        QFETCH(QString, error);
        QTcpServer mute; // the system accepts for it, but it never answers
        QVERIFY(mute.listen(QHostAddress::LocalHost));
        const quint16 port = peer == Us ? m_port : mute.serverPort();
        if (peer == Nobody)
            mute.close();
        const RpcClient::Result result =
            RpcClient::Call(kLoopback, port, method, {{"a", QString(size, 'x')}}, 500);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(error), qPrintable(result.error));
        QCOMPARE(m_echo->calls, 0);
    }

private:
    IServer* m_server = nullptr;
    quint16 m_port = 0;
    std::unique_ptr<RecordingMethod> m_echo, m_silent;
};

QTEST_GUILESS_MAIN(TestHostRpc)
#include "tst_hostrpc.moc"
