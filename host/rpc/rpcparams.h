#pragma once

#include "irpcparams.h"

#include <QByteArray>
#include <QByteArrayList>
#include <map>

// The server's parameters object: a string map read by methods, a string list they fill.
class RpcParams : public IRPCParams
{
public:
    RpcParams() = default;
    RpcParams(const RpcParams&) = delete;
    RpcParams& operator=(const RpcParams&) = delete;
    ~RpcParams() override = default;

    void Insert(const QByteArray& key, const QByteArray& value);
    const QByteArrayList& Strings() const { return m_strings; }

    IRPCValue* GetMap(const char* key) override;
    void AddString(const char* text) override;

private:
    class Value : public IRPCValue
    {
    public:
        explicit Value(const QByteArray& text = QByteArray()) : m_text(text) {}
        // A default QByteArray's data is "", never null.
        const char* GetString() const override { return m_text.constData(); }

    private:
        QByteArray m_text;
    };

    std::map<QByteArray, Value> m_map; // node-based: handed-out pointers stay valid
    Value m_missing;
    QByteArrayList m_strings;
};
