#include "gp_barcoderecordsgenerated.h"

G_Operation* GP_BarcodeRecordsGenerated::Clone()
{
    auto* copy = new GP_BarcodeRecordsGenerated;
    copy->CopyFrom(this);
    return copy;
}

GP_BarcodeRecordsGenerated::~GP_BarcodeRecordsGenerated() = default;

const char* GP_BarcodeRecordsGenerated::Name()
{
    return "tb_barcode_recordsgenerated";
}

int GP_BarcodeRecordsGenerated::DoAction()
{
    return DocView() ? 1 : 0;
}
