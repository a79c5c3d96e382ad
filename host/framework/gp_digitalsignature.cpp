#include "gp_digitalsignature.h"

#include "g_docview.h"
#include "g_uicontext.h"

#include <QCoreApplication>

G_Operation* GP_DigitalSignature::Clone()
{
    auto* op = new GP_DigitalSignature;
    op->CopyFrom(this);
    return op;
}

int GP_DigitalSignature::DoAction()
{
    G_UIContext* context = UIContext();
    if (!context || !DocView())
        return 0;
    G_UIContext::SignatureRequest request;
    request.operation = QString::fromUtf8(Name());
    request.annotId = Param()->GetInt32("annotid", 0);
    request.pageIndex = Param()->GetInt32("pageIndex", 0);
    context->RecordSignatureRequest(request);
    const QString text =
        QCoreApplication::translate("GP_DigitalSignature",
                                    "The annotation %1 on page %2 would be signed now. "
                                    "Digital signatures are not available in this reader yet.")
            .arg(request.annotId)
            .arg(request.pageIndex + 1);
    context->InformationMessageBox(
        QCoreApplication::translate("GP_DigitalSignature", "Digital signature"), text);
    return 1;
}
