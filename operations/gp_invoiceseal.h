#pragma once

#include "host/framework/g_operation.h"

// "d_invoiceseal", the invoice seal command: places the chosen seal through "tp_stamp"
// exactly as "ti_stamp" does and hands "annotid" back.
class GP_InvoiceSeal : public G_Operation
{
public:
    G_Operation* Clone() override;
    ~GP_InvoiceSeal() override;
    const char* Name() override;
    int AuthorityType() override;
    int DoAction() override;
};
