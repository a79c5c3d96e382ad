#include "annotaddcommand.h"

#include "../document/ig_annot.h"
#include "../document/ig_page.h"
#include "g_docview.h"

#include <QCoreApplication>

AnnotAddCommand::AnnotAddCommand(G_DocView* view, IG_Annot* annot, QUndoCommand* parent)
    : QUndoCommand(QCoreApplication::translate("G_DocView", "Add annotation"), parent),
      m_view(view), m_annot(annot)
{
}

void AnnotAddCommand::undo()
{
    if (m_annot && m_annot->Page() && m_onPage) {
        if (m_view)
            m_view->ForgetAnnot(m_annot);
        m_onPage = !m_annot->Page()->RemoveAnnot(m_annot->ID(), false);
    }
    if (m_view)
        m_view->Refresh();
}

void AnnotAddCommand::redo()
{
    if (m_firstRedo) {
        m_firstRedo = false;
        return;
    }
    if (m_annot && m_annot->Page() && !m_onPage)
        m_onPage = m_annot->Page()->RestoreAnnot(m_annot);
    if (m_view)
        m_view->Refresh();
}
