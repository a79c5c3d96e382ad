#include "gp_changehandler.h"

#include "g_docview.h"
#include "g_toolhandler.h"

int GP_ChangeHandler::DoAction()
{
    return InitHandler() ? 1 : 0;
}

bool GP_ChangeHandler::InitHandler()
{
    G_DocView* view = DocView();
    if (!view)
        return false;
    const QByteArray name = Param()->GetQString("name").toUtf8();
    if (name.isEmpty())
        return false;
    G_ToolHandler* handler = view->ToolHandlerByName(name.constData());
    if (!handler)
        return false;
    view->SetToolHandler(handler);
    return true;
}
