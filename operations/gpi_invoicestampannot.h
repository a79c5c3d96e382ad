#pragma once
// Gives "d_invoiceseal" its seal. On a document the reader's invoice service recognises
// as an invoice it generates the invoice seal (AutoInvoiceSealDlg: at once on a one-page
// invoice, after asking first page or all pages otherwise), places it and stops the run.
// When the caller only asks for the command to be selected ("ActionSelected"), it selects
// the receipt tab and the command. Otherwise it opens the stamp picker in its invoice
// mode and lets the run forward the chosen stamp, as the stamp command does.

#include "host/framework/g_operationinterceptor.h"

class G_DocView;

class GPI_InvoiceStampAnnot : public G_OperationInterceptor
{
public:
    GPI_InvoiceStampAnnot();
    ~GPI_InvoiceStampAnnot() override;

    bool Intercepts(G_Operation* op) override;
    bool PrepareDataHandle(G_Operation* op, bool performed) override;
    bool BeforeDoActionHandle(G_Operation* op) override;
    void AfterDoActionHandle(G_Operation* op) override;

    // Whether the engine recognises the view's document as an invoice, first page included.
    static bool IsInvoiceDocument(G_DocView* view);

private:
    bool applySign = false;
};
