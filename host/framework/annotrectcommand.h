#pragma once
// Undo entry for a moved or resized annotation. Pushed after the drag has already set the
// new rectangle, so the first redo does nothing.

#include "../base/ca_types.h"

#include <QPointer>
#include <QUndoCommand>

class G_DocView;
class IG_Annot;

class AnnotRectCommand : public QUndoCommand
{
public:
    AnnotRectCommand(G_DocView* view, IG_Annot* annot, const CCA_GRect& before,
                     const CCA_GRect& after, const QString& text);
    void undo() override;
    void redo() override;

private:
    void apply(const CCA_GRect& rect);

    QPointer<G_DocView> m_view;
    IG_Annot* m_annot;
    CCA_GRect m_before;
    CCA_GRect m_after;
    bool m_firstRedo = true;
};
