#include "gpi_barcodeofficialdocument.h"

#include "gpi_stampannot.h"

GPI_BarcodeOfficialDocument::GPI_BarcodeOfficialDocument() = default;

GPI_BarcodeOfficialDocument::~GPI_BarcodeOfficialDocument() = default;

bool GPI_BarcodeOfficialDocument::Intercepts(G_Operation* op)
{
    return GPI_StampAnnot::NameMatches(op, "tb_barcode_officialdocument", false) ||
           GPI_StampAnnot::NameMatches(op, "tb_barcode_recordsgenerated", false);
}

bool GPI_BarcodeOfficialDocument::PrepareDataHandle(G_Operation*, bool)
{
    return false;
}
