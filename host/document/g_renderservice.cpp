#include "g_application.h"

#include "cca_qtdevice.h"
#include "ig_page.h"

#include <QPainter>

bool G_RenderService::RenderPage(G_EngineHandle /*handle*/, IG_Page* page, CCA_QtDevice* device,
                                 const CCA_Matrix* matrix, int flags, int /*reserved1*/,
                                 int /*reserved2*/, const NexSharedPtr<NexJson>& options)
{
    // The handle only names the caller's session; any page of any open document renders.
    if (!page || !device || !device->Painter() || !matrix || !device->Painter()->isActive())
        return false;
    QPainter* painter = device->Painter();
    painter->save();
    CCA_GRect clip;
    if (options && options->HasMember("Clip") && NexJsonHelper::ToRect(options->Member("Clip"), &clip))
        painter->setClipRect(GQ_ToQRectF(clip), Qt::IntersectClip);
    const bool ok = page->Render(painter, *matrix, flags & G_Render_All);
    painter->restore();
    return ok;
}
