#include "annotremovecommand.h"

#include "../document/ig_annot.h"
#include "../document/ig_page.h"
#include "g_docview.h"

#include <QCoreApplication>

AnnotRemoveCommand::AnnotRemoveCommand(G_DocView* view, IG_Annot* annot, QUndoCommand* parent)
    : QUndoCommand(QCoreApplication::translate("G_DocView", "Delete annotation"), parent),
      m_view(view), m_annot(annot)
{
}

void AnnotRemoveCommand::redo()
{
    if (m_annot && m_annot->Page() && !m_removed) {
        if (m_view)
            m_view->ForgetAnnot(m_annot);
        m_removed = m_annot->Page()->RemoveAnnot(m_annot->ID(), false);
    }
    if (m_view)
        m_view->Refresh();
}

void AnnotRemoveCommand::undo()
{
    if (m_annot && m_annot->Page() && m_removed)
        m_removed = !m_annot->Page()->RestoreAnnot(m_annot);
    if (m_view)
        m_view->Refresh();
}
