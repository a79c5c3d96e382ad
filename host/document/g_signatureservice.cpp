#include "g_application.h"

#include "documentio.h"
#include "enginehandle.h"
#include "ig_document.h"

bool G_SignatureService::PrepareSignature(G_DocumentContext* context,
                                          const NexSharedPtr<const NexJson>& /*options*/)
{
    // The reader signs through "d_digitalsignature"; readying it only needs a document
    // the engine knows. The count lets the signing step (and tests) see it was asked for.
    if (!context || !context->Document())
        return false;
    context->NotePreparedSignature();
    return true;
}

IG_Document* G_SignatureService::OpenDocument(G_EngineHandle handle, const wchar_t* path,
                                              const NexSharedPtr<NexJson>& /*options*/)
{
    EngineHandle* h = EngineHandle::Find(handle);
    if (!h || !path)
        return nullptr;
    h->SetDocument(nullptr, false); // one document per handle: the previous one goes
    QString error;
    IG_Document* doc = DocumentIO::Open(QString::fromWCharArray(path), &error);
    if (!doc) {
        if (G_Application::Instance()->Logger())
            G_Application::Instance()->Logger()->Write(error.toUtf8().constData());
        return nullptr;
    }
    h->SetDocument(doc, true);
    return doc;
}

void G_SignatureService::CloseDocument(G_EngineHandle handle)
{
    if (EngineHandle* h = EngineHandle::Find(handle))
        h->SetDocument(nullptr, false);
}
