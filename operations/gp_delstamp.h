#pragma once

#include "host/framework/g_operation.h"

// "d_delpageannot": deletes the stamp annotation selected last (settings cache
// "stampPageIndex"/"stampAnnotID") through the reader's "d_delannot".
class GP_DelStamp : public G_Operation
{
public:
    G_Operation* Clone() override;
    ~GP_DelStamp() override;
    const char* Name() override;
    int AuthorityType() override;
    int DoAction() override;
};
