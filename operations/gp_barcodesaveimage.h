#pragma once

#include "host/framework/g_operation.h"

// "tb_barcodesaveimage": brings the barcode picture "saveFilePath" to "saveDestPath",
// converting it when the destination is an OFD or PDF file and moving it otherwise.
// Writes "saveFile" = 1 when the file arrived; the interceptor tells the user.
class GP_BarcodeSaveImage : public G_Operation
{
public:
    G_Operation* Clone() override;
    ~GP_BarcodeSaveImage() override;
    const char* Name() override;
    int DoAction() override;
};
