#pragma once

#include "host/framework/g_operation.h"

// "tb_barcodeaddimage": a command the reader offers for interceptors to act on; its own
// action does nothing.
class GP_BarcodeAddImage : public G_Operation
{
public:
    G_Operation* Clone() override;
    ~GP_BarcodeAddImage() override;
    const char* Name() override;
    int AuthorityType() override;
    int DoAction() override;
};
