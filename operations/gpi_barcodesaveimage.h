#pragma once
// Tells the user whether "tb_barcodesaveimage" brought the barcode picture where it was
// asked to go ("saveFile" written by the operation). A run that had no paths to work with
// (result 0) says nothing.

#include "host/framework/g_operationinterceptor.h"

class GPI_BarcodeSaveImage : public G_OperationInterceptor
{
public:
    GPI_BarcodeSaveImage();
    ~GPI_BarcodeSaveImage() override;

    bool Intercepts(G_Operation* op) override;
    void AfterDoActionHandle(G_Operation* op) override;
};
