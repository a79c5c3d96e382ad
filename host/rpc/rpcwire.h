#pragma once
// The wire format of the reader's local RPC channel. Any program that can open a TCP
// connection and write JSON can call the reader this way; nothing in it is tied to Qt.
//
// Transport
//   TCP over IPv4 loopback: connect to 127.0.0.1 at the port the reader gave out (the stamp
//   maker gets it on its command line). The server never listens on other interfaces.
//
// Framing
//   Every message is one line: a JSON object in UTF-8 followed by "\n" (a "\r" just before
//   it is ignored). JSON escapes line breaks inside strings, so a string never breaks a
//   line. A line is at most 65536 bytes, not counting its "\n", in either direction.
//   A connection may carry several requests; each gets exactly one reply line, in order.
//   Blank lines are ignored.
//
// Request
//   {"method":"stampannotserver","params":{"RequesType":"AddCustomStamp",
//    "ImagePath":"/home/me/stamp.png","ImageWidth":"40","ImageHeight":"30"}}
//   "method" (required): the name a method was registered under, a non-empty string.
//   "params" (optional): an object whose values are all strings; numbers travel as decimal
//   text. No string may contain U+0000.
//
// Reply
//   {"ok":true,"replies":["ok"]}
//     The method ran. "replies" holds the strings it added, in order; [] means it had
//     nothing to answer (for example a request type it does not know).
//   {"ok":false,"error":"unknown method \"stampmaker\""}
//     The request was refused and no method was called; "error" is a message for people.
//     Refused: a line that is not UTF-8 or not valid JSON, a request of the wrong shape, an
//     unknown method. The connection stays open after these.
//
// Limits
//   A line longer than the limit gets an error reply and the connection is closed.
//   A connection that has not delivered a complete request within the idle time (30 s
//   unless the reader set another) since it opened or since its last reply is closed; if
//   part of a request had arrived, an error reply is sent first. A client that leaves its
//   replies unread stops being read. Connect, send, read the reply and close; connect
//   again for a request much later.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace RpcWire
{

constexpr int kMaxLineBytes = 65536;
constexpr int kDefaultIdleTimeoutMs = 30000;

using StringMap = QMap<QString, QString>;

struct Request {
    QString method;
    StringMap params;
};

struct Reply {
    bool ok = false;
    QStringList replies;
    QString error;
};

// `line` without its "\n". False with a message for the client when it is not a request.
bool ParseRequest(const QByteArray& line, Request* request, QString* error);
// False with a message when `line` is not a reply (a refused request still parses: ok false).
bool ParseReply(const QByteArray& line, Reply* reply, QString* error);

// Each returns one line including its "\n". A reply that would exceed the limit becomes an
// error reply; EncodeRequest returns an empty array for a request over the limit.
QByteArray EncodeRequest(const Request& request);
QByteArray EncodeReply(const QStringList& replies);
QByteArray EncodeError(const QString& message);

} // namespace RpcWire
