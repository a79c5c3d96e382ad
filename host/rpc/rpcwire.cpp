#include "rpcwire.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <nlohmann/json.hpp>

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

using Json = nlohmann::json;

// Builds the document like nlohmann's own DOM parser and keeps where parsing failed.
class DomWithError
{
public:
    explicit DomWithError(Json* out) : m_dom(*out, false) {}
    bool null() { return m_dom.null(); }
    bool boolean(bool b) { return m_dom.boolean(b); }
    bool number_integer(Json::number_integer_t n) { return m_dom.number_integer(n); }
    bool number_unsigned(Json::number_unsigned_t n) { return m_dom.number_unsigned(n); }
    bool number_float(Json::number_float_t n, const std::string& s)
    {
        return m_dom.number_float(n, s);
    }
    bool string(std::string& s) { return m_dom.string(s); }
    bool binary(Json::binary_t& b) { return m_dom.binary(b); }
    bool start_object(std::size_t n) { return m_dom.start_object(n); }
    bool key(std::string& k) { return m_dom.key(k); }
    bool end_object() { return m_dom.end_object(); }
    bool start_array(std::size_t n) { return m_dom.start_array(n); }
    bool end_array() { return m_dom.end_array(); }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception&)
    {
        m_errorAt = position;
        return false;
    }
    // 0 when the text parsed, else the 1-based byte where it failed.
    std::size_t ErrorAt() const { return m_errorAt; }

private:
    nlohmann::detail::json_sax_dom_parser<Json> m_dom;
    std::size_t m_errorAt = 0;
};

// Untrusted lines are parsed with nlohmann, not QJsonDocument: Qt 5.15's parser leaks the
// earlier value of a key given twice when that value is a non-empty array or object, so
// every such line would cost the server memory.
bool ParseJson(const QByteArray& line, Json* out, QString* error)
{
    DomWithError handler(out);
    const bool parsed = Json::sax_parse(line.constData(), line.constData() + line.size(), &handler,
                                        nlohmann::detail::input_format_t::json, true);
    if (!parsed || handler.ErrorAt() != 0) {
        *error = QStringLiteral("not valid JSON (at byte %1)").arg(handler.ErrorAt());
        return false;
    }
    return true;
}

QString Text(const Json& value)
{
    const std::string& text = value.get_ref<const std::string&>();
    return QString::fromUtf8(text.data(), int(text.size()));
}

} // namespace

bool ParseRequest(const QByteArray& line, Request* request, QString* error)
{
    // Said plainly: the JSON parser would only report an illegal value somewhere.
    if (QString::fromUtf8(line).toUtf8() != line) {
        *error = QStringLiteral("the request is not UTF-8 text");
        return false;
    }
    Json document;
    if (!ParseJson(line, &document, error))
        return false;
    if (!document.is_object()) {
        *error = QStringLiteral("a request must be a JSON object");
        return false;
    }
    const auto method = document.find("method");
    if (method == document.end() || !method->is_string() || Text(*method).isEmpty() ||
        HasNul(Text(*method))) {
        *error = QStringLiteral("\"method\" must be a non-empty string");
        return false;
    }
    const auto params = document.find("params");
    if (params != document.end() && !params->is_object()) {
        *error = QStringLiteral("\"params\" must be an object of strings");
        return false;
    }
    StringMap map;
    if (params != document.end()) {
        for (auto it = params->begin(); it != params->end(); ++it) {
            const QString key = QString::fromStdString(it.key());
            if (!it.value().is_string()) {
                *error = QStringLiteral("parameter \"%1\" must be a string").arg(key);
                return false;
            }
            if (HasNul(key) || HasNul(Text(it.value()))) {
                *error = QStringLiteral("parameter \"%1\" contains U+0000").arg(key);
                return false;
            }
            map.insert(key, Text(it.value()));
        }
    }
    request->method = Text(*method);
    request->params = map;
    return true;
}

bool ParseReply(const QByteArray& line, Reply* reply, QString* error)
{
    Json document;
    QString why;
    const bool parsed = ParseJson(line, &document, &why);
    const auto ok = parsed && document.is_object() ? document.find("ok") : document.end();
    if (!parsed || ok == document.end() || !ok->is_boolean()) {
        *error = QStringLiteral("the server's answer is not a reply");
        return false;
    }
    Reply parsedReply;
    parsedReply.ok = ok->get<bool>();
    if (!parsedReply.ok) {
        const auto message = document.find("error");
        if (message != document.end() && message->is_string())
            parsedReply.error = Text(*message);
        if (parsedReply.error.isEmpty())
            parsedReply.error = QStringLiteral("the server refused the request");
    } else {
        const auto replies = document.find("replies");
        if (replies == document.end() || !replies->is_array()) {
            *error = QStringLiteral("the server's reply has no reply list");
            return false;
        }
        for (const Json& value : *replies) {
            if (!value.is_string()) {
                *error = QStringLiteral("the server's reply list holds a non-string");
                return false;
            }
            parsedReply.replies << Text(value);
        }
    }
    *reply = parsedReply;
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
