#pragma once
// Undo entry for an annotation put on a page. The annotation is already there when the
// entry is pushed, so the first redo does nothing; undo takes it off (RemoveAnnot), redo
// puts it back (RestoreAnnot). The document keeps the object alive either way.

#include <QPointer>
#include <QUndoCommand>

class G_DocView;
class IG_Annot;

class AnnotAddCommand : public QUndoCommand
{
public:
    AnnotAddCommand(G_DocView* view, IG_Annot* annot, QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    bool OnPage() const { return m_onPage; } // whether the page holds it now

private:
    QPointer<G_DocView> m_view;
    IG_Annot* m_annot;
    bool m_firstRedo = true;
    bool m_onPage = true;
};
