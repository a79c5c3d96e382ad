#include "signedembedguard.h"

#include "g_operation.h"
#include "g_uicontext.h"
#include "host/document/ig_document.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <cstring>

bool SignedEmbedGuard::Intercepts(G_Operation* op)
{
    if (!op || std::strcmp(op->Name(), "d_embedpageannot") != 0)
        return false;
    const IG_Document* doc = op->GDocument();
    return doc && doc->HasSignatures();
}

bool SignedEmbedGuard::PrepareDataHandle(G_Operation* op, bool /*performed*/)
{
    G_UIContext* context = op->UIContext();
    if (!context)
        return false;
    const int answer = context->WarningMessageBox(
        QCoreApplication::translate("SignedEmbedGuard", "Embed Stamp"),
        QCoreApplication::translate(
            "SignedEmbedGuard",
            "This document is digitally signed. Embedding the stamp into the page changes "
            "the signed content, and the signatures will no longer match it. Embed it "
            "anyway?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}
