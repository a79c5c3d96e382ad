#include "enginehandle.h"

#include "ig_document.h"

#include <QSet>

namespace {
QSet<EngineHandle*>& LiveHandles()
{
    static QSet<EngineHandle*> live;
    return live;
}
} // namespace

void EngineHandle::SetDocument(IG_Document* doc, bool owned)
{
    if (m_doc == doc) {
        m_owned = owned;
        return;
    }
    if (m_owned)
        delete m_doc;
    m_doc = doc;
    m_owned = owned;
}

void EngineHandle::Register(EngineHandle* handle) { LiveHandles().insert(handle); }
void EngineHandle::Unregister(EngineHandle* handle) { LiveHandles().remove(handle); }

EngineHandle* EngineHandle::Find(void* handle)
{
    auto* h = static_cast<EngineHandle*>(handle);
    return h && LiveHandles().contains(h) ? h : nullptr;
}
