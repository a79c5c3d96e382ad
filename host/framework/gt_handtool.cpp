#include "gt_handtool.h"

#include "../document/ig_annot.h"
#include "g_annotationhandler.h"
#include "g_docview.h"

#include <QScrollBar>

GT_HandTool::GT_HandTool() = default;

GT_HandTool::~GT_HandTool()
{
    if (m_handler) {
        G_AnnotationHandler* handler = m_handler;
        m_handler = nullptr;
        handler->OnDeselected();
        delete handler;
    }
    qDeleteAll(m_retired);
}

G_ToolHandler* GT_HandTool::CreateInstance()
{
    return new GT_HandTool;
}

CCA_String GT_HandTool::HandlerName()
{
    return "t_handtool";
}

template <typename Call> int GT_HandTool::forward(Call call)
{
    if (!m_handler)
        return 0;
    ++m_forwarding;
    const int result = call(m_handler);
    --m_forwarding;
    releaseRetired();
    return result;
}

void GT_HandTool::releaseRetired()
{
    if (m_forwarding > 0 || m_retired.isEmpty())
        return;
    const QList<G_AnnotationHandler*> retired = m_retired;
    m_retired.clear();
    qDeleteAll(retired);
}

bool GT_HandTool::selectionValid()
{
    if (!m_handler)
        return false;
    IG_Annot* annot = m_handler->CurrentAnnot();
    if (annot && annot->IsOnPage())
        return true;
    DropSelection(); // the annotation left its page (deleted, undone) meanwhile
    return false;
}

bool GT_HandTool::SelectAnnot(IG_Annot* annot)
{
    if (!annot || !DocView())
        return false;
    if (m_handler && m_handler->CurrentAnnot() == annot)
        return true;
    DropSelection();
    const QList<G_AnnotationHandler*> prototypes = G_AnnotationHandler::GlobalAnnotHandlers();
    for (G_AnnotationHandler* prototype : prototypes) {
        if (!prototype->Filter(annot))
            continue;
        G_ToolHandler* made = prototype->CreateInstance();
        auto* handler = dynamic_cast<G_AnnotationHandler*>(made);
        if (!handler) {
            delete made;
            continue;
        }
        handler->SetDocView(DocView());
        handler->SetCurrentAnnot(annot);
        m_handler = handler;
        forward([](G_AnnotationHandler* h) {
            h->OnSelected();
            return 0;
        });
        DocView()->Refresh();
        return true;
    }
    return false;
}

void GT_HandTool::DropSelection()
{
    if (!m_handler)
        return;
    G_AnnotationHandler* handler = m_handler;
    m_handler = nullptr;
    ++m_forwarding;
    handler->OnDeselected();
    --m_forwarding;
    m_retired.append(handler);
    releaseRetired();
    if (DocView())
        DocView()->Refresh();
}

void GT_HandTool::PaintAfterPage(QPainter* painter, int pageIndex)
{
    if (m_handler && m_handler->CurrentAnnot() && m_handler->CurrentAnnot()->IsOnPage())
        m_handler->PaintAfterPage(painter, pageIndex);
}

void GT_HandTool::OnDestroy()
{
    DropSelection();
}

void GT_HandTool::OnDeactivate()
{
    m_panning = false;
    DropSelection();
}

int GT_HandTool::OnLButtonDown(unsigned int flags, const CCA_Point& point)
{
    G_DocView* view = DocView();
    if (!view)
        return 0;
    if (selectionValid() && (m_handler->CtrlPointIndex(point) >= 0 || m_handler->HitTest(point))) {
        forward([&](G_AnnotationHandler* h) { return h->OnLButtonDown(flags, point); });
        return 1;
    }
    if (SelectAnnot(view->AnnotAtScenePoint(point))) {
        // Pressing on an annotation and dragging moves it at once.
        forward([&](G_AnnotationHandler* h) { return h->OnLButtonDown(flags, point); });
        return 1;
    }
    DropSelection();
    if (PansView()) {
        m_panning = true;
        m_panStart = QPoint(point.x, point.y) - view->ScrollOffset();
        m_panScroll = view->ScrollOffset();
    }
    return 1;
}

int GT_HandTool::OnLButtonUp(unsigned int flags, const CCA_Point& point)
{
    if (m_panning) {
        m_panning = false;
        return 1;
    }
    if (!selectionValid())
        return 0;
    return forward([&](G_AnnotationHandler* h) { return h->OnLButtonUp(flags, point); });
}

int GT_HandTool::OnLButtonDblClk(unsigned int flags, const CCA_Point& point)
{
    if (!selectionValid())
        return 0;
    return forward([&](G_AnnotationHandler* h) { return h->OnLButtonDblClk(flags, point); });
}

int GT_HandTool::OnRButtonDown(unsigned int flags, const CCA_Point& point)
{
    if (!selectionValid() || !m_handler->HitTest(point))
        return 0;
    return forward([&](G_AnnotationHandler* h) { return h->OnRButtonDown(flags, point); });
}

int GT_HandTool::OnRButtonUp(unsigned int flags, const CCA_Point& point)
{
    G_DocView* view = DocView();
    if (!view)
        return 0;
    if (!(selectionValid() && m_handler->HitTest(point))) {
        if (!SelectAnnot(view->AnnotAtScenePoint(point))) {
            DropSelection();
            return 0;
        }
    }
    forward([&](G_AnnotationHandler* h) { return h->OnRButtonUp(flags, point); });
    return 1;
}

int GT_HandTool::OnMouseMove(unsigned int flags, const CCA_Point& point)
{
    G_DocView* view = DocView();
    if (!view)
        return 0;
    if (m_panning) {
        // Scrolling moves the scene under the pointer: work in viewport positions.
        const QPoint now = QPoint(point.x, point.y) - view->ScrollOffset();
        const QPoint target = m_panScroll - (now - m_panStart);
        view->horizontalScrollBar()->setValue(target.x());
        view->verticalScrollBar()->setValue(target.y());
        m_panStart = now;
        m_panScroll = view->ScrollOffset();
        return 1;
    }
    if (!selectionValid())
        return 0;
    return forward([&](G_AnnotationHandler* h) { return h->OnMouseMove(flags, point); });
}

int GT_HandTool::OnKeyDown(int key, unsigned int flags)
{
    if (!selectionValid())
        return 0;
    return forward([&](G_AnnotationHandler* h) { return h->OnKeyDown(key, flags); });
}

int GT_HandTool::OnKeyUp(int key, unsigned int flags)
{
    if (!selectionValid())
        return 0;
    return forward([&](G_AnnotationHandler* h) { return h->OnKeyUp(key, flags); });
}
