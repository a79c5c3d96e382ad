#include "gp_embedstamp.h"

#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "host/framework/clearannot.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_settingmgr.h"
#include "host/framework/g_uicontext.h"

#include <QUndoStack>

G_Operation* GP_EmbedStamp::Clone()
{
    auto* copy = new GP_EmbedStamp;
    copy->CopyFrom(this);
    return copy;
}

GP_EmbedStamp::~GP_EmbedStamp() = default;

const char* GP_EmbedStamp::Name()
{
    return "d_embedpageannot";
}

int GP_EmbedStamp::AuthorityType()
{
    return 2;
}

int GP_EmbedStamp::DoAction()
{
    G_DocView* view = DocView();
    if (!view)
        return 0;
    IG_Document* doc = view->GDocument();
    IG_Page* page = doc ? doc->PageAt(Param()->GetInt32("pageIndex", 0)) : nullptr;
    if (!page)
        return 0;

    const int layers = page->LayerCount();
    IG_Layer* layer = layers > 0 ? page->LayerAt(layers - 1) : page->NewLayer(-1);

    const QVariant cached =
        G_SettingMgr::Instance()->ConfigValue(QStringLiteral("stampAnnotID"), QVariant(-1));
    const int annotId = cached.toInt();
    if (annotId == -1)
        return 0;
    IG_Annot* annot = page->AnnotById(static_cast<unsigned int>(annotId));
    if (!annot || !layer)
        return 0;
    // A stamp whose picture cannot become page content (none was ever embedded) stays an
    // annotation: deleting it and its history would lose it for good.
    if (!annot->EmbedInto(layer, true))
        return 0;

    G_UIContext* context = UIContext();
    if (G_Operation* del =
            context ? context->CreateOperationByName("d_delannot", QString()) : nullptr) {
        const int annotPage = annot->Page() ? annot->Page()->Index() : page->Index();
        del->Param()->Add("pageAndAnnotID",
                          QStringLiteral("%1:%2").arg(annotPage).arg(annot->ID()));
        del->PerformAction();
        del->DeleteLater();
    }

    // Page content has no undo: nothing recorded before may bring the annotation back.
    if (view->UndoStack())
        view->UndoStack()->clear();
    ClearAnnot::GetInstance()->ClearStack(view->UndoStack());

    if (context)
        context->FireEvent(new G_DocumentChangedEvent(context->CurrentDocView(), 110, 0));
    view->ClearViewCache(QString());
    return 1;
}
