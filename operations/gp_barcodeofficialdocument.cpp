#include "gp_barcodeofficialdocument.h"

G_Operation* GP_BarcodeOfficialDocument::Clone()
{
    auto* copy = new GP_BarcodeOfficialDocument;
    copy->CopyFrom(this);
    return copy;
}

GP_BarcodeOfficialDocument::~GP_BarcodeOfficialDocument() = default;

const char* GP_BarcodeOfficialDocument::Name()
{
    return "tb_barcode_officialdocument";
}

int GP_BarcodeOfficialDocument::DoAction()
{
    return DocView() ? 1 : 0;
}
