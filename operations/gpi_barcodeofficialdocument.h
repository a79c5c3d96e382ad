#pragma once
// Stops the barcode commands "tb_barcode_officialdocument" and
// "tb_barcode_recordsgenerated" before they act: the reader does that work elsewhere.

#include "host/framework/g_operationinterceptor.h"

class GPI_BarcodeOfficialDocument : public G_OperationInterceptor
{
public:
    GPI_BarcodeOfficialDocument();
    ~GPI_BarcodeOfficialDocument() override;

    bool Intercepts(G_Operation* op) override;
    bool PrepareDataHandle(G_Operation* op, bool performed) override;
};
