#include "hostcomponents.h"

#include "gp_applysignature.h"
#include "gp_batchaddinvoice.h"
#include "gp_delannot.h"
#include "gp_digitalsignature.h"
#include "gp_showannot.h"
#include "gp_toolbarbtnstate.h"
#include "gp_zoom.h"
#include "gt_handtool.h"
#include "gt_textselect.h"
#include "signedembedguard.h"

void HostComponents::RegisterAll()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // Deliberately never deleted: they serve every view until the process ends, and the
    // registries hold them.
    static auto* hand = new GT_HandTool;
    static auto* textSelect = new GT_TextSelect;
    hand->RegisterHandlerToGlobal();
    textSelect->RegisterHandlerToGlobal();
    static G_Operation* const operations[] = {
        new GP_Zoom,      new GP_DelAnnot,        new GP_DigitalSignature, new GP_ApplySignature,
        new GP_ShowAnnot, new GP_ToolbarBtnState, new GP_BatchAddInvoice};
    for (G_Operation* op : operations)
        op->RegisterToGlobal();
    // Constructed before plug-ins load, so it is asked first.
    static auto* signedEmbed = new SignedEmbedGuard;
    (void)signedEmbed;
}
