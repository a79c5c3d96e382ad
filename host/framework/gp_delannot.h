#pragma once
// "d_delannot": deletes the annotation named by "pageAndAnnotID" ("page:id", both plain
// decimal) with an undo entry. 0 when the text is malformed or names no annotation on that
// page.

#include "g_operation.h"

class GP_DelAnnot : public G_Operation
{
public:
    G_Operation* Clone() override;
    const char* Name() override { return "d_delannot"; }
    int AuthorityType() override { return 2; }
    int DoAction() override;
};
