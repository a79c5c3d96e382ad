#include "gp_zoom.h"

#include "g_docview.h"

G_Operation* GP_Zoom::Clone()
{
    auto* op = new GP_Zoom;
    op->CopyFrom(this);
    return op;
}

int GP_Zoom::DoAction()
{
    G_DocView* view = DocView();
    if (!view || !Param()->Has("zoomIndex"))
        return 0;
    const float zoom = Param()->GetFloat("zoomIndex", view->GetZoom());
    view->SetZoom(qBound(10.0f, zoom, 500.0f));
    return 1;
}
