#include "g_application.h"

#include "enginehandle.h"
#include "ig_document.h"

#include <QSet>

struct G_Engine::Private {
    G_SignatureService signature;
    G_InvoiceService invoice;
    G_ConvertService convert;
    G_RenderService render;
    QSet<EngineHandle*> handles;
};

G_Engine::G_Engine() : d(std::make_unique<Private>()) {}

G_Engine::~G_Engine()
{
    const QSet<EngineHandle*> handles = d->handles;
    for (EngineHandle* h : handles) {
        G_EngineHandle raw = h;
        ReleaseHandle(&raw);
    }
}

G_EngineHandle G_Engine::AcquireHandle(int /*reserved*/)
{
    auto* h = new EngineHandle();
    d->handles.insert(h);
    EngineHandle::Register(h);
    return h;
}

void G_Engine::ReleaseHandle(G_EngineHandle* handle)
{
    if (!handle || !*handle)
        return;
    auto* h = static_cast<EngineHandle*>(*handle);
    if (d->handles.remove(h)) {
        h->SetDocument(nullptr, false);
        EngineHandle::Unregister(h);
        delete h;
    }
    *handle = nullptr;
}

int G_Engine::OpenHandleCount() const { return d->handles.size(); }

G_SignatureService* G_Engine::SignatureService() { return &d->signature; }
G_InvoiceService* G_Engine::InvoiceService() { return &d->invoice; }
G_ConvertService* G_Engine::ConvertService() { return &d->convert; }
G_RenderService* G_Engine::RenderService() { return &d->render; }

IG_Document* G_Engine::HandleDocument(G_EngineHandle handle) const
{
    EngineHandle* h = EngineHandle::Find(handle);
    return h && d->handles.contains(h) ? h->Document() : nullptr;
}

void G_Engine::SetHandleDocument(G_EngineHandle handle, IG_Document* doc)
{
    EngineHandle* h = EngineHandle::Find(handle);
    if (h && d->handles.contains(h))
        h->SetDocument(doc, false); // the caller keeps owning it
}
