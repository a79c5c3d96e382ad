#pragma once

#include "host/framework/g_operation.h"

// "tb_barcode_officialdocument": a command for interceptors to act on; its own action
// only checks that there is a view.
class GP_BarcodeOfficialDocument : public G_Operation
{
public:
    G_Operation* Clone() override;
    ~GP_BarcodeOfficialDocument() override;
    const char* Name() override;
    int DoAction() override;
};
