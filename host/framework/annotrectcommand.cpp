#include "annotrectcommand.h"

#include "../document/ig_annot.h"
#include "g_docview.h"

AnnotRectCommand::AnnotRectCommand(G_DocView* view, IG_Annot* annot, const CCA_GRect& before,
                                   const CCA_GRect& after, const QString& text)
    : QUndoCommand(text), m_view(view), m_annot(annot), m_before(before), m_after(after)
{
}

void AnnotRectCommand::apply(const CCA_GRect& rect)
{
    if (m_annot)
        m_annot->SetRect(rect);
    if (m_view)
        m_view->Refresh();
}

void AnnotRectCommand::undo()
{
    apply(m_before);
}

void AnnotRectCommand::redo()
{
    if (m_firstRedo) {
        m_firstRedo = false;
        return;
    }
    apply(m_after);
}
