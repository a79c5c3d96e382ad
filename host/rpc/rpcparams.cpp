#include "rpcparams.h"

void RpcParams::Insert(const QByteArray& key, const QByteArray& value)
{
    m_map.insert_or_assign(key, Value(value));
}

IRPCValue* RpcParams::GetMap(const char* key)
{
    if (!key)
        return &m_missing;
    const auto it = m_map.find(QByteArray(key));
    return it == m_map.end() ? &m_missing : &it->second;
}

void RpcParams::AddString(const char* text)
{
    if (text)
        m_strings << QByteArray(text);
}
