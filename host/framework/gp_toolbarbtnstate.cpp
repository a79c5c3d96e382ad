#include "gp_toolbarbtnstate.h"

#include "g_uicontext.h"

G_Operation* GP_ToolbarBtnState::Clone()
{
    auto* op = new GP_ToolbarBtnState;
    op->CopyFrom(this);
    return op;
}

int GP_ToolbarBtnState::DoAction()
{
    const QString name = Param()->GetQString("btnName");
    if (!UIContext() || name.isEmpty())
        return 0;
    UIContext()->SetCommandBarButtonChecked(name, Param()->GetBool("checked", false));
    return 1;
}
