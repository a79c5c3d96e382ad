#include "g_application.h"

// Invoice recognition is not there yet: no document counts as an invoice, and no invoice
// data is read. The answers below are the ones the plug-in handles as "not an invoice".

bool G_InvoiceService::IsInvoice(G_DocumentContext* /*context*/) { return false; }

int G_InvoiceService::InvoiceKind(G_DocumentContext* /*context*/, int /*pageIndex*/) { return 0; }

bool G_InvoiceService::ReadInvoiceInfo(G_DocumentContext* /*context*/,
                                       G_InvoiceInfoData& /*info*/)
{
    return false;
}
