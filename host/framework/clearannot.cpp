#include "clearannot.h"

#include "g_docview.h"

#include <QUndoStack>

ClearAnnot* ClearAnnot::GetInstance()
{
    static ClearAnnot instance;
    return &instance;
}

void ClearAnnot::ClearStack(QUndoStack* stack)
{
    if (stack)
        stack->clear();
    // Selections of annotations that the cleared history took off their pages end here.
    const QList<G_DocView*> views = G_DocView::AllViews();
    for (G_DocView* view : views) {
        if (!stack || view->UndoStack() == stack)
            view->ForgetAnnot(nullptr);
    }
}
