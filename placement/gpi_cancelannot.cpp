#include "gpi_cancelannot.h"

#include "gac_stamp.h"
#include "gt_stamp.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_navigationpage.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_uicontext.h"

#include <cstring>

GPI_CancelAnnot* CancelAnnotInstance = nullptr;

namespace
{

// Takes the preview off its page; returns it (null when nothing was pending).
IG_Annot* removePreview(GT_Stamp* tool)
{
    GAC_Stamp* command = tool ? tool->StampCommand() : nullptr;
    IG_Annot* annot = command ? command->Annot() : nullptr;
    if (!annot)
        return nullptr;
    if (annot->Page())
        annot->Page()->RemoveAnnot(annot->ID(), false);
    command->SetAnnot(nullptr);
    return annot;
}

} // namespace

GPI_CancelAnnot::GPI_CancelAnnot(GT_Stamp* pendingTool)
    : QObject(nullptr), G_OperationInterceptor(), m_pendingTool(pendingTool)
{
    const QList<Core::G_NavigationPage*> pages = Core::G_NavigationPage::allNaviPages();
    for (Core::G_NavigationPage* page : pages) {
        connect(page, SIGNAL(ChangeShowIndexSignal(int)), this, SLOT(NaviBarSlot(int)),
                Qt::UniqueConnection);
    }
}

GPI_CancelAnnot::~GPI_CancelAnnot() = default;

bool GPI_CancelAnnot::Intercepts(G_Operation* op)
{
    if (!m_pendingTool || !op)
        return false;
    const char* name = op->Name();
    return std::strcmp(name, "ti_stamp") != 0 && std::strcmp(name, "d_invoiceseal") != 0;
}

bool GPI_CancelAnnot::PrepareDataHandle(G_Operation* op, bool)
{
    G_UIContext* context = op ? op->UIContext() : nullptr;
    if (!context || !context->FindHandlerByName("t_handtool"))
        return false;
    G_DocView* view = op->DocView();

    GT_Stamp* tool = m_pendingTool.data();
    IG_Annot* removed = removePreview(tool);
    G_DocView* docSource = view ? view : (tool ? tool->DocView() : nullptr);
    context->FireEvent(
        new G_AnnotationEvent(docSource ? docSource->GDocument() : nullptr, removed, 111));

    if (view) {
        G_ToolHandler* hand = view->ToolHandlerByName("t_handtool");
        G_ToolHandler* current = view->ToolHandler();
        const bool handCurrent = current && current->HandlerName() == "t_handtool";
        if (hand && !handCurrent) {
            view->SetToolHandler(hand);
            view->Refresh();
            context->FireEvent(new G_CommandBarOpChangedEvent(G_Event::CommandBarSettingData(
                QStringList{QStringLiteral("t_handtool")}, 7, QVariant(true))));
        }
        view->ResetToolState();
        view->Refresh();
    }

    m_pendingTool = nullptr;
    return true;
}

bool GPI_CancelAnnot::BeforeDoActionHandle(G_Operation*)
{
    return true;
}

void GPI_CancelAnnot::NaviBarSlot(int)
{
    GT_Stamp* tool = m_pendingTool.data();
    if (!tool)
        return;
    G_UIContext* context = tool->UIContext();
    G_ToolHandler* hand = context ? context->FindHandlerByName("t_handtool") : nullptr;
    if (!hand)
        return;
    G_DocView* view = tool->DocView();

    IG_Annot* removed = removePreview(tool);
    context->FireEvent(new G_AnnotationEvent(view ? view->GDocument() : nullptr, removed, 111));
    if (view)
        view->SetToolHandler(hand);
    m_pendingTool = nullptr;
}
