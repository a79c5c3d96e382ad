#include "gp_showannot.h"

#include "g_docview.h"
#include "g_uicontext.h"

G_Operation* GP_ShowAnnot::Clone()
{
    auto* op = new GP_ShowAnnot;
    op->CopyFrom(this);
    return op;
}

int GP_ShowAnnot::DoAction()
{
    G_DocView* view = DocView();
    if (!view)
        return 0;
    const bool visible = Param()->GetBool("isVisible", true);
    view->SetAnnotStatus(visible);
    if (UIContext())
        UIContext()->SetCommandBarButtonChecked(QStringLiteral("t_annot"), visible);
    return 1;
}
