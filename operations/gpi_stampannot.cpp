#include "gpi_stampannot.h"

#include "host/document/g_application.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_toolhandler.h"
#include "host/framework/g_uicontext.h"
#include "host/json/nexjson.h"
#include "picker/stampdialog.h"
#include "picker/stampselection.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLoggingCategory>
#include <QStringList>
#include <cstring>

namespace
{

QString toolName(G_ToolHandler* tool)
{
    return tool ? GQ_ToQStringFromUtf8(tool->HandlerName()) : QString();
}

} // namespace

GPI_StampAnnot::GPI_StampAnnot() = default;

GPI_StampAnnot::~GPI_StampAnnot() = default;

bool GPI_StampAnnot::NameMatches(G_Operation* op, const char* name, bool log)
{
    if (!op || !op->Name())
        return false;
    // Every operation the reader runs is asked here by each interceptor: the common case, a
    // plain ASCII name, is compared in place.
    const char* full = op->Name();
    const char* slash = std::strrchr(full, '/');
    const char* last = slash ? slash + 1 : full;
    if (log && QLoggingCategory::defaultCategory()->isDebugEnabled())
        qDebug() << "operName " << QString::fromUtf8(last);
    bool ascii = true;
    for (const char* c = last; *c && ascii; ++c)
        ascii = static_cast<unsigned char>(*c) < 0x80;
    if (ascii)
        return qstricmp(last, name) == 0;
    return QString::fromUtf8(last).toLower() == QLatin1String(name);
}

bool GPI_StampAnnot::Intercepts(G_Operation* op)
{
    return NameMatches(op, "ti_stamp");
}

void GPI_StampAnnot::SelectOnCommandBar(G_UIContext* context, const QString& name)
{
    if (context)
        context->FireEvent(new G_CommandBarOpChangedEvent(
            G_Event::CommandBarSettingData(QStringList{name}, 7, QVariant(true))));
}

void GPI_StampAnnot::ShowAnnotations(G_DocView* view)
{
    G_UIContext* context = view->UIContext();
    if (!context)
        return;
    if (view->AnnotStatus()) {
        if (G_Operation* show = context->CreateOperationByName("t_showannot", QString())) {
            show->Param()->Add("isVisible", true);
            show->PerformAction();
            show->DeleteLater();
        }
    } else if (G_Operation* button =
                   context->CreateOperationByName("t_toolbarbtnstate", QString())) {
        button->Param()->Add("btnName", QStringLiteral("t_annot"));
        button->Param()->Add("checked", false);
        button->ExecuteAction();
        button->DeleteLater();
    }
}

void GPI_StampAnnot::WriteSelection(G_Operation* op, const StampSelection& selection,
                                    bool integerPosition)
{
    G_OperationParam* param = op->Param();
    param->Add("stampId", selection.stampId);
    param->Add("stampSize",
               CCA_GSize(float(selection.stampSize.width()), float(selection.stampSize.height())));
    param->Add("imgPath", selection.imagePath);
    if (selection.isAuto) {
        param->Add("pageIndex", selection.pageIndex);
        if (integerPosition)
            param->Add("position", CCA_Point(int(selection.x), int(selection.y)));
        else
            param->Add("position", CCA_GPoint(float(selection.x), float(selection.y)));
    }
    if (selection.applySign)
        param->Add("applysign", true);
}

bool GPI_StampAnnot::StartRun(G_Operation* op, RunStart* start)
{
    start->view = op ? op->DocView() : nullptr;
    if (!start->view)
        return false;
    start->anchor = op->Param()->GetGRect("position");
    start->previousTool = toolName(start->view->ToolHandler());
    const QString& previous = start->previousTool;
    if (previous != QLatin1String("t_handtool") && previous != QLatin1String("t_textselect") &&
        previous != QLatin1String("ti_stamp")) {
        SelectOnCommandBar(op->UIContext(), QStringLiteral("t_handtool"));
        start->fromHandOrSelect = false;
    } else {
        start->fromHandOrSelect = previous != QLatin1String("ti_stamp");
    }
    ShowAnnotations(start->view);
    return true;
}

void GPI_StampAnnot::RestoreTool(G_Operation* op, const RunStart& start)
{
    if (start.fromHandOrSelect) {
        const QByteArray name = start.previousTool.toUtf8();
        start.view->SetToolHandler(start.view->ToolHandlerByName(name.constData()));
        SelectOnCommandBar(op->UIContext(), start.previousTool);
    } else {
        const QString back = toolName(start.view->PreviousToolHandler());
        qDebug() << "GPI_StampAnnot: previous tool" << back;
        SelectOnCommandBar(op->UIContext(), back);
    }
}

bool GPI_StampAnnot::PrepareDataHandle(G_Operation* op, bool)
{
    RunStart start;
    if (!StartRun(op, &start))
        return false;
    StampDialog* picker = StampDialog::Instance(start.view, start.anchor);
    picker->InitStampWidget();
    picker->exec(QPoint(int(start.anchor.left), int(start.anchor.bottom)));
    qDebug() << "GPI_StampAnnot: current tool" << toolName(start.view->ToolHandler());

    StampSelection selection;
    if (picker->GetStampSelection(selection)) {
        WriteSelection(op, selection);
        applySign = selection.applySign;
        op->Param()->Add("auto", selection.isAuto);
        start.view->SetAnnotSelectionKept(false);
        return true;
    }
    RestoreTool(op, start);
    return false;
}

void GPI_StampAnnot::AfterDoActionHandle(G_Operation* op)
{
    FinishRun(op, applySign);
}

void GPI_StampAnnot::FinishRun(G_Operation* op, bool applySign)
{
    if (!op)
        return;
    const bool isAuto = op->Param()->GetBool("auto", false);
    if (op->ActionResult() != 0 && isAuto)
        FollowAutoPlacement(op, applySign);
    if (op->UIContext() && isAuto)
        SelectOnCommandBar(op->UIContext(), QStringLiteral("t_handtool"));
}

void GPI_StampAnnot::FollowAutoPlacement(G_Operation* op, bool applySign)
{
    const G_OperationParam* param = op->Param();
    const int pageIndex = param->GetInt32("pageIndex", 0);
    const CCA_GSize size = param->GetGSize("stampSize");
    const CCA_GPoint at = param->GetGPoint("position");
    if (G_DocView* view = op->DocView())
        view->GoToPage(view, pageIndex,
                       CCA_GRect(at.x, at.y, at.x + size.width, at.y + size.height), false);

    const int annotId = param->GetInt32("annotid", 0);
    qDebug() << "annotid" << annotId;
    if (!applySign || annotId == 0)
        return;
    G_Application* app = G_Application::Instance();
    G_SignatureService* signing = app->Engine() ? app->Engine()->SignatureService() : nullptr;
    G_DocumentContext* context = app->DocumentContext(op->GDocument());
    G_UIContext* ui = op->UIContext();
    if (!context) {
        if (ui)
            ui->InformationMessageBox(
                QCoreApplication::translate("GPI_StampAnnot", "title"),
                QCoreApplication::translate("GPI_StampAnnot",
                                            "The current document load context fail."),
                0, -1, QMap<int, QString>(), QSize());
        return;
    }
    if (signing)
        signing->PrepareSignature(context, std::make_shared<const NexJson>());
    if (!ui)
        return;
    ui->FireEvent(new G_DocumentChangedEvent(op->DocView(), 110, 0));
    if (G_Operation* sign = ui->CreateOperationByName("d_digitalsignature", QString())) {
        sign->Param()->Add("annotid", annotId);
        sign->Param()->Add("pageIndex", pageIndex);
        sign->PerformAction();
        sign->DeleteLater();
    }
}
