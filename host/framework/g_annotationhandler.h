#pragma once
// Annotation handlers: tool-like handlers that own one selected annotation. The hand tool
// asks the registered handlers, in registration order, to Filter the annotation under a
// click, makes a fresh handler of the first that accepts (CreateInstance), selects the
// annotation in it and forwards mouse and key events while it is selected.

#include "g_toolhandler.h"

#include <QVector>

class IG_Annot;

class G_AnnotationHandler : public G_ToolHandler
{
public:
    ~G_AnnotationHandler() override; // a registered prototype unregisters itself

    virtual bool Filter(IG_Annot* annot) = 0;
    virtual void OnSelected() = 0;
    virtual void OnDeselected() = 0;
    // Index of the control point at a scene point (−1: none), and of a point in a list.
    virtual int CtrlPointIndex(const CCA_Point& point) = 0;
    virtual int CtrlPointIndex(const QVector<CCA_Point>& points, const CCA_Point& point) = 0;
    virtual QVector<CCA_Point> GetCtrlPoints() = 0; // scene pixels
    virtual bool HitTest(const CCA_Point& point) = 0;
    virtual void DoMove(float dx, float dy) = 0;                        // page units
    virtual void DoResize(int ctrlIndex, const CCA_GRect& newRect) = 0; // page units

    // Registers the prototype (not owned); false when its HandlerName is taken.
    bool RegisterAnnotHandlerToGlobal();
    static G_AnnotationHandler* FindGlobalAnnotHandler(const char* name);
    static QList<G_AnnotationHandler*> GlobalAnnotHandlers(); // registration order
    static QStringList GlobalAnnotHandlerNames();

    void SetCurrentAnnot(IG_Annot* annot) { m_annot = annot; }
    IG_Annot* CurrentAnnot() const { return m_annot; }

protected:
    IG_Annot* m_annot = nullptr;
};
