#include "rpcwire.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace RpcWire
{

namespace
{

// Our values are handed on as C strings, where U+0000 would silently cut them short.
bool HasNul(const QString& text)
{
    return text.contains(QChar(0));
}

QByteArray Line(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace

bool ParseRequest(const QByteArray& line, Request* request, QString* error)
{
    // Said plainly: the JSON parser would only report an illegal value somewhere.
    if (QString::fromUtf8(line).toUtf8() != line) {
        *error = QStringLiteral("the request is not UTF-8 text");
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("not valid JSON (%1 at byte %2)")
                     .arg(parseError.errorString())
                     .arg(parseError.offset);
        return false;
    }
    if (!document.isObject()) {
        *error = QStringLiteral("a request must be a JSON object");
        return false;
    }
    const QJsonObject object = document.object();
    const QJsonValue method = object.value(QLatin1String("method"));
    if (!method.isString() || method.toString().isEmpty() || HasNul(method.toString())) {
        *error = QStringLiteral("\"method\" must be a non-empty string");
        return false;
    }
    const QJsonValue params = object.value(QLatin1String("params"));
    if (!params.isUndefined() && !params.isObject()) {
        *error = QStringLiteral("\"params\" must be an object of strings");
        return false;
    }
    StringMap map;
    const QJsonObject paramObject = params.toObject();
    for (auto it = paramObject.begin(); it != paramObject.end(); ++it) {
        if (!it.value().isString()) {
            *error = QStringLiteral("parameter \"%1\" must be a string").arg(it.key());
            return false;
        }
        if (HasNul(it.key()) || HasNul(it.value().toString())) {
            *error = QStringLiteral("parameter \"%1\" contains U+0000").arg(it.key());
            return false;
        }
        map.insert(it.key(), it.value().toString());
    }
    request->method = method.toString();
    request->params = map;
    return true;
}

bool ParseReply(const QByteArray& line, Reply* reply, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
    const QJsonObject object = document.object();
    const QJsonValue ok = object.value(QLatin1String("ok"));
    if (parseError.error != QJsonParseError::NoError || !ok.isBool()) {
        *error = QStringLiteral("the server's answer is not a reply");
        return false;
    }
    Reply parsed;
    parsed.ok = ok.toBool();
    if (!parsed.ok) {
        parsed.error = object.value(QLatin1String("error")).toString();
        if (parsed.error.isEmpty())
            parsed.error = QStringLiteral("the server refused the request");
    } else {
        const QJsonValue replies = object.value(QLatin1String("replies"));
        if (!replies.isArray()) {
            *error = QStringLiteral("the server's reply has no reply list");
            return false;
        }
        for (const QJsonValue& value : replies.toArray()) {
            if (!value.isString()) {
                *error = QStringLiteral("the server's reply list holds a non-string");
                return false;
            }
            parsed.replies << value.toString();
        }
    }
    *reply = parsed;
    return true;
}

QByteArray EncodeRequest(const Request& request)
{
    QJsonObject params;
    for (auto it = request.params.begin(); it != request.params.end(); ++it)
        params.insert(it.key(), it.value());
    const QByteArray line = Line(QJsonObject{{QStringLiteral("method"), request.method},
                                             {QStringLiteral("params"), params}});
    return line.size() - 1 > kMaxLineBytes ? QByteArray() : line;
}

QByteArray EncodeReply(const QStringList& replies)
{
    const QByteArray line =
        Line(QJsonObject{{QStringLiteral("ok"), true},
                         {QStringLiteral("replies"), QJsonArray::fromStringList(replies)}});
    if (line.size() - 1 > kMaxLineBytes)
        return EncodeError(QStringLiteral("the reply is longer than %1 bytes").arg(kMaxLineBytes));
    return line;
}

QByteArray EncodeError(const QString& message)
{
    // Messages may quote the client's own text; a short quote is enough to recognise it.
    const QString shown =
        message.size() > 1024 ? message.left(1024) + QStringLiteral("...") : message;
    return Line(QJsonObject{{QStringLiteral("ok"), false}, {QStringLiteral("error"), shown}});
}

} // namespace RpcWire
