#include "gt_stamp.h"

#include "gac_stamp.h"
#include "host/document/g_application.h"
#include "host/document/ica_streamreader.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "host/framework/crf_eventmgr.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_uicontext.h"
#include "host/framework/ga_common.h"

#include <QDebug>
#include <QMap>
#include <QSize>

GT_Stamp::GT_Stamp() = default;

GT_Stamp::~GT_Stamp()
{
    if (m_stampCmd && m_stampCmd->Annot()) {
        IG_Annot* annot = m_stampCmd->Annot();
        if (annot->Page())
            annot->Page()->RemoveAnnot(annot->ID(), false);
        m_stampCmd->SetAnnot(nullptr);
        if (DocView())
            DocView()->Refresh();
    }
    delete m_stampCmd;
}

void GT_Stamp::PaintAfterPage(QPainter*, int)
{
    // The pending annotation is its own preview.
}

G_ToolHandler* GT_Stamp::CreateInstance()
{
    return new GT_Stamp;
}

CCA_String GT_Stamp::HandlerName()
{
    return "tp_stamp";
}

void GT_Stamp::OnActivate()
{
    if (!m_stampCmd)
        m_stampCmd = new GAC_Stamp;
    m_stampCmd->view = DocView();
    if (G_UIContext* context = UIContext()) {
        CRF_EventMgr* events = context->EventMgr();
        connect(events, &CRF_EventMgr::SwitchDocView, this, &GT_Stamp::OnSwitchDocView,
                Qt::UniqueConnection);
    }
}

int GT_Stamp::OnMouseMove(unsigned int, const CCA_Point& point)
{
    G_DocView* view = DocView();
    IG_Annot* annot = m_stampCmd ? m_stampCmd->Annot() : nullptr;
    if (!annot || !view || !annot->Page())
        return 0;
    if (view->PageIndexByPoint(point, true, false) < 0)
        return 0;

    const CCA_GPoint p = GA_Common::transformToCGPoint(view, annot->Page()->Index(), point);
    const CCA_GRect r = annot->GetRect();
    const double dx = (double(p.x) - r.left) - (double(r.right) - r.left) * 0.5;
    const double dy = (double(p.y) - r.top) - (double(r.bottom) - r.top) * 0.5;
    annot->Offset(float(dx), float(dy));
    view->Refresh();
    return 1;
}

int GT_Stamp::OnLButtonDown(unsigned int, const CCA_Point& point)
{
    G_DocView* view = DocView();
    if (!view)
        return 0;
    const int page = view->PageIndexByPoint(point, true, false);
    if (page < 0)
        return 0;
    if (m_stampCmd)
        m_stampCmd->pageIndex = page;
    return 1;
}

int GT_Stamp::OnLButtonUp(unsigned int, const CCA_Point& point)
{
    G_DocView* view = DocView();
    if (!view || !m_stampCmd)
        return 0;
    const int page = view->PageIndexByPoint(point, true, false);
    const float m = view->MM2Px(2.0f);
    IG_Annot* pending = m_stampCmd->Annot();
    if (page < 0 || !pending || !pending->Page() || pending->Page()->Index() != page)
        return 0;

    m_stampCmd->annotType = 8;

    const QRect r = view->PageRect(page);
    const bool inside = r.left() + m <= point.x && point.x <= r.right() - m &&
                        r.top() + m <= point.y && point.y <= r.bottom() - m;
    if (!inside)
        return 0;

    // A press on another page (a drag back onto the stamp's page) must not send the
    // finished stamp to that page.
    m_stampCmd->pageIndex = page;
    FinalizeStamp(pending);
    m_stampCmd->pageIndex = page;

    if (IG_Annot* placed = m_stampCmd->Annot()) {
        m_stampCmd->CreateAnnotCmd(placed);
        m_stampCmd->SetAnnot(nullptr);
        if (UIContext())
            UIContext()->FireEvent(new G_DocumentChangedEvent(view, 110, 1, placed));
        // Let the current tool see the click as well, as if it had been its own.
        if (G_ToolHandler* tool = view->ToolHandler()) {
            tool->OnLButtonDown(0, point);
            tool->OnLButtonUp(0, point);
        }
        if (m_stampCmd->applySign)
            RunDigitalSignature(m_stampCmd, placed->ID());
    }
    fireHandTool();
    return 1;
}

IG_Annot* GT_Stamp::FinalizeStamp(IG_Annot* pending)
{
    G_DocView* view = DocView();
    if (!view || !pending)
        return nullptr;
    IG_Page* page = view->Page(m_stampCmd->pageIndex);
    if (page)
        page->Load();

    ICA_StreamReader* stream =
        ICA_StreamReader::CreateFileStreamReader(GQ_ToCAWS(m_stampCmd->imagePath).c_str(), 0);
    int resourceId = 0;
    if (IG_Document* doc = view->GDocument())
        resourceId = doc->AddResource(stream, 1, 0);
    if (stream)
        stream->Release();
    m_stampCmd->resourceId = resourceId;

    const CCA_GRect rect = pending->GetRect();
    qDebug() << "GT_Stamp::FinalizeStamp" << rect.left << rect.top << rect.right << rect.bottom;

    if (pending->Page())
        pending->Page()->RemoveAnnot(pending->ID(), false);
    m_stampCmd->SetAnnot(nullptr);

    IG_Annot* placed = m_stampCmd->Flush(rect, false);
    if (placed)
        placed->SetRect(rect);
    return placed;
}

void GT_Stamp::RunDigitalSignature(GAC_Stamp* command, unsigned int annotId)
{
    G_UIContext* context = UIContext();
    G_DocView* view = command ? command->view : nullptr;
    if (!context || !view)
        return;
    G_Application* app = G_Application::Instance();
    G_DocumentContext* docContext = app->DocumentContext(view->GDocument());
    if (!docContext) {
        context->InformationMessageBox(tr("title"), tr("The current document load context fail."),
                                       0, -1, QMap<int, QString>(), QSize());
        return;
    }
    app->Engine()->SignatureService()->PrepareSignature(docContext,
                                                        std::make_shared<const NexJson>());
    context->FireEvent(new G_DocumentChangedEvent(context->CurrentDocView(), 110, 0));

    if (G_Operation* op = context->CreateOperationByName("d_digitalsignature", QString())) {
        op->Param()->Add("annotid", static_cast<int>(annotId));
        op->Param()->Add("pageIndex", command->pageIndex);
        op->PerformAction();
        op->DeleteLater();
    }
}

int GT_Stamp::OnRButtonUp(unsigned int, const CCA_Point&)
{
    IG_Annot* annot = m_stampCmd ? m_stampCmd->Annot() : nullptr;
    if (!annot)
        return 1;
    if (annot->Page())
        annot->Page()->RemoveAnnot(annot->ID(), false);
    m_stampCmd->SetAnnot(nullptr);
    if (UIContext())
        UIContext()->FireEvent(new G_AnnotationEvent(GDocument(), annot, 111));
    fireHandTool();
    if (DocView())
        DocView()->Refresh();
    return 1;
}

void GT_Stamp::OnSwitchDocView(G_DocView* view)
{
    if (!view || !view->ToolHandler() || view->ToolHandler()->HandlerName() != "tp_stamp")
        return;
    if (!UIContext())
        return;
    G_DocView* own = DocView();
    if (own && own->ToolHandler() && own->ToolHandler()->HandlerName() == "t_handtool")
        return;
    fireHandTool();
}

void GT_Stamp::fireHandTool()
{
    if (G_UIContext* context = UIContext()) {
        context->FireEvent(new G_CommandBarOpChangedEvent(G_Event::CommandBarSettingData(
            QStringList{QStringLiteral("t_handtool")}, 7, QVariant(true))));
    }
}
