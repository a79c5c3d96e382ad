#include "gp_stampannot.h"

#include "host/framework/g_uicontext.h"

G_Operation* GP_StampAnnot::Clone()
{
    auto* copy = new GP_StampAnnot;
    copy->CopyFrom(this);
    return copy;
}

GP_StampAnnot::~GP_StampAnnot() = default;

const char* GP_StampAnnot::Name()
{
    return "ti_stamp";
}

int GP_StampAnnot::AuthorityType()
{
    return 2;
}

int GP_StampAnnot::DoAction()
{
    return ForwardToStampPlacement(this);
}

int ForwardToStampPlacement(G_Operation* op)
{
    if (!op->DocView())
        return 0;
    G_Operation* placement =
        op->UIContext() ? op->UIContext()->CreateOperationByName("tp_stamp", QString()) : nullptr;
    if (!placement)
        return 1;

    const G_OperationParam* from = op->Param();
    G_OperationParam* to = placement->Param();
    to->Add("stampId", from->GetInt32("stampId", 0));
    to->Add("stampSize", from->GetGSize("stampSize"));
    to->Add("imgPath", from->GetQString("imgPath"));
    const bool isAuto = from->GetBool("auto", false);
    if (isAuto) {
        to->Add("pageIndex", from->GetInt32("pageIndex", 0));
        to->Add("position", from->GetGPoint("position"));
    }
    if (from->GetBool("applysign", false))
        to->Add("applysign", true);
    to->Add("auto", isAuto ? 1 : 0);

    placement->PerformAction();

    op->Param()->Add("annotid", placement->Param()->GetInt32("annotid", 0));
    placement->DeleteLater();
    return 1;
}
