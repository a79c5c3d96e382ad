#pragma once

#include "../base/ca_types.h"

// What the invoice service reads from an invoice document (texts in UTF-8).
struct G_InvoiceInfoData {
    CCA_String InvoiceCode;
    CCA_String InvoiceNumber;
    CCA_String IssueDate;
    CCA_String SellerName;    // the seal's name text
    CCA_String SellerTaxId;   // the seal's number text
    CCA_String BuyerName;
    CCA_String BuyerTaxId;
    CCA_String TotalAmount;
};
