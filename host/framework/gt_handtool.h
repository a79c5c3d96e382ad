#pragma once
// The hand tool "t_handtool": selects annotations and pans the view.
//
// A click on an annotation asks the registered annotation handlers, in registration
// order, to Filter it; the first that accepts gets a fresh instance (CreateInstance) that
// holds the annotation (SetDocView, SetCurrentAnnot, OnSelected) and receives the mouse
// and key events while it is selected. A click elsewhere deselects it (OnDeselected) and
// drags the view. A right click on an annotation selects it and forwards OnRButtonUp.

#include "g_toolhandler.h"

#include <QList>
#include <QPoint>

class IG_Annot;

class GT_HandTool : public G_ToolHandler
{
public:
    GT_HandTool();
    ~GT_HandTool() override;

    G_ToolHandler* CreateInstance() override;
    CCA_String HandlerName() override;
    void PaintAfterPage(QPainter* painter, int pageIndex) override;
    void OnDestroy() override;
    void OnDeactivate() override;
    int OnLButtonDown(unsigned int flags, const CCA_Point& point) override;
    int OnLButtonUp(unsigned int flags, const CCA_Point& point) override;
    int OnLButtonDblClk(unsigned int flags, const CCA_Point& point) override;
    int OnRButtonDown(unsigned int flags, const CCA_Point& point) override;
    int OnRButtonUp(unsigned int flags, const CCA_Point& point) override;
    int OnMouseMove(unsigned int flags, const CCA_Point& point) override;
    int OnKeyDown(int key, unsigned int flags) override;
    int OnKeyUp(int key, unsigned int flags) override;

    G_AnnotationHandler* AnnotationHandler() const override { return m_handler; }

    // Selects `annot` through the first annotation handler that accepts it; false when
    // none does.
    bool SelectAnnot(IG_Annot* annot);
    // Deselects: OnDeselected, then the handler instance is released (after the event
    // that is being forwarded to it, when called from inside one).
    void DropSelection();

protected:
    // Whether a drag on empty space moves the view.
    virtual bool PansView() const { return true; }

private:
    template <typename Call> int forward(Call call);
    bool selectionValid();
    void releaseRetired();

    G_AnnotationHandler* m_handler = nullptr;
    QList<G_AnnotationHandler*> m_retired;
    int m_forwarding = 0;
    bool m_panning = false;
    QPoint m_panStart;
    QPoint m_panScroll;
};
