#pragma once
// "batchaddinvoice": puts the same picture stamp on several pages in one undo entry.
// Parameters: "stampId" (resource identifier), "stampSize" (CCA_GSize, millimetres) and
// "pageandposition", "page:x,y" items joined by "/" (e.g. "0:164,261/1:251,174"), each
// the top-left corner of the stamp on that page. The stamps are made as "tp_stamp" makes
// automatic ones: permanent, with the user's name and the time. Nothing is placed when the
// text is malformed, names a missing page, the size is empty, "stampId" names no picture
// of the document, or the document is read-only; the result is then 0.

#include "../base/ca_types.h"
#include "g_operation.h"

#include <QList>

class GP_BatchAddInvoice : public G_Operation
{
public:
    G_Operation* Clone() override;
    const char* Name() override { return "batchaddinvoice"; }
    int AuthorityType() override { return 2; }
    int DoAction() override;

    struct Placement {
        int page = 0;
        CCA_GPoint position;
    };
    // Parses "page:x,y/..."; false when any item is malformed.
    static bool ParsePlacements(const QString& text, QList<Placement>* out);
};
