#include "gp_barcodeaddimage.h"

G_Operation* GP_BarcodeAddImage::Clone()
{
    auto* copy = new GP_BarcodeAddImage;
    copy->CopyFrom(this);
    return copy;
}

GP_BarcodeAddImage::~GP_BarcodeAddImage() = default;

const char* GP_BarcodeAddImage::Name()
{
    return "tb_barcodeaddimage";
}

int GP_BarcodeAddImage::AuthorityType()
{
    return 2;
}

int GP_BarcodeAddImage::DoAction()
{
    return 1;
}
