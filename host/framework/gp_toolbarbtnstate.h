#pragma once
// "t_toolbarbtnstate": records the checked state ("checked") of the command-bar button
// named "btnName" in the UI context. 0 without a context or a name.

#include "g_operation.h"

class GP_ToolbarBtnState : public G_Operation
{
public:
    G_Operation* Clone() override;
    const char* Name() override { return "t_toolbarbtnstate"; }
    int AuthorityType() override { return 0; }
    int DoAction() override;
};
