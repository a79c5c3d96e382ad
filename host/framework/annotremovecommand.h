#pragma once
// Undo entry for an annotation taken off its page. Pushing it removes the annotation
// (RemoveAnnot); undo puts it back (RestoreAnnot). The document keeps the object alive.

#include <QPointer>
#include <QUndoCommand>

class G_DocView;
class IG_Annot;

class AnnotRemoveCommand : public QUndoCommand
{
public:
    AnnotRemoveCommand(G_DocView* view, IG_Annot* annot, QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;
    bool Removed() const { return m_removed; }

private:
    QPointer<G_DocView> m_view;
    IG_Annot* m_annot;
    bool m_removed = false;
};
