#include "gac_common.h"

#include "../document/ig_annot.h"
#include "../document/ig_document.h"
#include "../document/ig_page.h"
#include "annotaddcommand.h"
#include "g_docview.h"

#include <QUndoStack>

GAC_Common::GAC_Common() = default;

GAC_Common::~GAC_Common() = default;

NexSharedPtr<NexJson> GAC_Common::BuildAppearanceJson(bool runTime)
{
    NexSharedPtr<NexJson> json = NexJsonFactory::CreateObject();
    json->SetMember("RunTime", NexJson::Value(runTime));
    json->SetMember("SubType", NexJson::Value(subType.str()));
    return json;
}

IG_Annot* GAC_Common::Flush(const CCA_GRect& rect, bool runTime)
{
    m_annot = nullptr;
    if (!view || !view->GDocument())
        return nullptr;
    IG_Page* page = view->Page(pageIndex);
    if (!page)
        return nullptr;
    page->Load();
    const NexSharedPtr<NexJson> content = BuildAppearanceJson(runTime);
    const std::string text = (content && !content->IsNull())
                                 ? NexJsonFactory::BuildJsonString(content)
                                 : std::string("{}");
    m_annot = page->NewAnnot(G_AnnotType(annotType), subType, rect, text);
    view->Refresh();
    return m_annot;
}

bool GAC_Common::CreateAnnotCmd(IG_Annot* annot)
{
    if (!view || !annot || !view->UndoStack())
        return false;
    view->UndoStack()->push(new AnnotAddCommand(view, annot));
    view->Refresh();
    return true;
}
