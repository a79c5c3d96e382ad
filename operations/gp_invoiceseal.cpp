#include "gp_invoiceseal.h"

#include "gp_stampannot.h"

G_Operation* GP_InvoiceSeal::Clone()
{
    auto* copy = new GP_InvoiceSeal;
    copy->CopyFrom(this);
    return copy;
}

GP_InvoiceSeal::~GP_InvoiceSeal() = default;

const char* GP_InvoiceSeal::Name()
{
    return "d_invoiceseal";
}

int GP_InvoiceSeal::AuthorityType()
{
    return 2;
}

int GP_InvoiceSeal::DoAction()
{
    return ForwardToStampPlacement(this);
}
