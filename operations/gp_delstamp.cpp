#include "gp_delstamp.h"

#include "host/framework/g_annotationhandler.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_settingmgr.h"
#include "host/framework/g_uicontext.h"

G_Operation* GP_DelStamp::Clone()
{
    auto* copy = new GP_DelStamp;
    copy->CopyFrom(this);
    return copy;
}

GP_DelStamp::~GP_DelStamp() = default;

const char* GP_DelStamp::Name()
{
    return "d_delpageannot";
}

int GP_DelStamp::AuthorityType()
{
    return 2;
}

int GP_DelStamp::DoAction()
{
    G_DocView* view = DocView();
    if (!view)
        return 0;

    if (G_Operation* del =
            UIContext() ? UIContext()->CreateOperationByName("d_delannot", QString()) : nullptr) {
        G_SettingMgr* settings = G_SettingMgr::Instance();
        const int pageIndex =
            settings->ConfigValue(QStringLiteral("stampPageIndex"), QVariant(-1)).toInt();
        const int annotId =
            settings->ConfigValue(QStringLiteral("stampAnnotID"), QVariant(-1)).toInt();
        if (pageIndex == -1 || annotId == -1) {
            del->DeleteLater();
            return 0;
        }
        del->Param()->Add("pageAndAnnotID", QStringLiteral("%1:%2").arg(pageIndex).arg(annotId));
        del->PerformAction();
        del->DeleteLater();
    }

    // No handler may keep the deleted annotation as its current one.
    for (const char* name : {"t_handtool", "t_textselect"}) {
        G_ToolHandler* tool = view->ToolHandlerByName(name);
        if (!tool)
            continue;
        if (G_AnnotationHandler* handler = tool->AnnotationHandler()) {
            handler->SetCurrentAnnot(nullptr);
            handler->ResetViewRender();
        }
    }
    view->Refresh();
    return 1;
}
