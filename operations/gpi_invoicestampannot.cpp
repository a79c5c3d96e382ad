#include "gpi_invoicestampannot.h"

#include "gpi_stampannot.h"
#include "host/document/g_application.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_toolhandler.h"
#include "host/framework/g_uicontext.h"
#include "host/framework/icore.h"
#include "picker/stampdialog.h"
#include "picker/stampselection.h"
#include "seals/autoinvoicesealdlg.h"

#include <QCoreApplication>
#include <QDebug>

GPI_InvoiceStampAnnot::GPI_InvoiceStampAnnot() = default;

GPI_InvoiceStampAnnot::~GPI_InvoiceStampAnnot() = default;

bool GPI_InvoiceStampAnnot::Intercepts(G_Operation* op)
{
    return GPI_StampAnnot::NameMatches(op, "d_invoiceseal", false);
}

bool GPI_InvoiceStampAnnot::BeforeDoActionHandle(G_Operation*)
{
    return true;
}

bool GPI_InvoiceStampAnnot::IsInvoiceDocument(G_DocView* view)
{
    G_Application* app = G_Application::Instance();
    G_DocumentContext* context = app->DocumentContext(view->GDocument());
    G_InvoiceService* invoices = app->Engine() ? app->Engine()->InvoiceService() : nullptr;
    return context && invoices && invoices->IsInvoice(context) &&
           invoices->InvoiceKind(context, view->Page(0) ? view->Page(0)->Index() : 0) == 1;
}

bool GPI_InvoiceStampAnnot::PrepareDataHandle(G_Operation* op, bool)
{
    GPI_StampAnnot::RunStart start;
    if (!GPI_StampAnnot::StartRun(op, &start))
        return false;
    G_DocView* view = start.view;
    G_UIContext* context = op->UIContext();

    if (IsInvoiceDocument(view)) {
        const QString added = QCoreApplication::translate("GPI_InvoiceStampAnnot", "Add success!");
        // The dialog is the main window's; it goes when this run is done with it.
        std::unique_ptr<AutoInvoiceSealDlg> dialog(
            new AutoInvoiceSealDlg(context, Core::ICore::mainWindow()));
        if (view->PageCount() < 2) {
            dialog->AddInvoiceSeal();
            if (context)
                context->FireEvent(new G_StringEvent(added, 173));
        } else if (dialog->exec() != 0 && context) {
            context->FireEvent(new G_StringEvent(added, 173));
        }
        const QByteArray name = start.previousTool.toUtf8();
        view->SetToolHandler(view->ToolHandlerByName(name.constData()));
        GPI_StampAnnot::SelectOnCommandBar(context, QStringLiteral("t_handtool"));
        return false;
    }

    if (op->Param()->GetBool("ActionSelected", false)) {
        qDebug() << " === to set d_invoiceseal.";
        GPI_StampAnnot::SelectOnCommandBar(context, QStringLiteral("tab_receipt"));
        GPI_StampAnnot::SelectOnCommandBar(context, QStringLiteral("d_invoiceseal"));
        return false;
    }

    G_ToolHandler* tool = view->ToolHandler();
    StampDialog* picker = StampDialog::Instance(view, start.anchor);
    picker->setGeometry(int(start.anchor.left), int(start.anchor.bottom), picker->width(),
                        picker->height());
    picker->InitInvoiceStampWidget();
    view->SetToolHandler(tool);

    StampSelection selection;
    if (picker->GetStampSelection(selection)) {
        GPI_StampAnnot::WriteSelection(op, selection, true);
        applySign = selection.applySign;
        op->Param()->Add("auto", selection.isAuto);
        view->SetAnnotSelectionKept(false);
        return true;
    }
    GPI_StampAnnot::RestoreTool(op, start);
    return false;
}

void GPI_InvoiceStampAnnot::AfterDoActionHandle(G_Operation* op)
{
    GPI_StampAnnot::FinishRun(op, applySign);
}
