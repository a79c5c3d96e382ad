#pragma once
// "t_showannot": shows ("isVisible" true, the default) or hides the annotations of the
// view, and keeps the command-bar button "t_annot" in step.

#include "g_operation.h"

class GP_ShowAnnot : public G_Operation
{
public:
    G_Operation* Clone() override;
    const char* Name() override { return "t_showannot"; }
    int AuthorityType() override { return 0; }
    int DoAction() override;
};
