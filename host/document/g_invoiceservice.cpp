#include "g_application.h"

#include "documentbackend.h"
#include "ig_page.h"
#include "readerdocument.h"

namespace
{
// The first of `names` that the document's fields carry, as UTF-8.
CCA_String Field(const QMap<QString, QString>& fields, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        const QString value = fields.value(QLatin1String(name)).trimmed();
        if (!value.isEmpty())
            return GQ_ToCAS(value);
    }
    return CCA_String();
}

bool Read(G_DocumentContext* context, G_InvoiceInfoData* info)
{
    auto* doc = context ? dynamic_cast<ReaderDocument*>(context->Document()) : nullptr;
    if (!doc || !doc->Backend())
        return false;
    const QMap<QString, QString> fields = doc->Backend()->Fields();
    G_InvoiceInfoData data;
    data.InvoiceCode = Field(fields, {"InvoiceCode"});
    data.InvoiceNumber = Field(fields, {"InvoiceNo", "InvoiceNumber"});
    data.IssueDate = Field(fields, {"IssueDate"});
    data.SellerName = Field(fields, {"SellerName"});
    data.SellerTaxId = Field(fields, {"SellerTaxID"});
    data.BuyerName = Field(fields, {"BuyerName"});
    data.BuyerTaxId = Field(fields, {"BuyerTaxID"});
    data.TotalAmount = Field(fields, {"TotalAmount", "TotalTax-includedAmount"});
    if (data.InvoiceNumber.IsEmpty() || data.SellerName.IsEmpty() || data.SellerTaxId.IsEmpty())
        return false;
    if (info)
        *info = data;
    return true;
}
} // namespace

bool G_InvoiceService::IsInvoice(G_DocumentContext* context)
{
    return Read(context, nullptr);
}

int G_InvoiceService::InvoiceKind(G_DocumentContext* context, int pageIndex)
{
    if (!Read(context, nullptr))
        return 0;
    return pageIndex >= 0 && pageIndex < context->Document()->PageCount() ? 1 : 0;
}

bool G_InvoiceService::ReadInvoiceInfo(G_DocumentContext* context, G_InvoiceInfoData& info)
{
    return Read(context, &info);
}
