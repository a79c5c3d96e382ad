#pragma once
// Tool handlers: what a mouse or key does in a view. The registered objects are
// prototypes; each view makes its own handler per name with CreateInstance the first time
// it needs it (ToolHandlerByName) and owns those instances.
//
// Mouse calls carry Qt keyboard modifier flags and the point in scene pixels; a non-zero
// result means the event was handled.

#include "../base/ca_types.h"

#include <QRect>

class G_AnnotationHandler;
class G_DocView;
class G_UIContext;
class IG_Document;
class QEvent;
class QPainter;

class G_ToolHandler
{
public:
    G_ToolHandler();
    virtual ~G_ToolHandler();

    virtual void PaintSceneStart(QPainter* painter, const QRect& sceneRect);
    virtual void PaintSceneEnd(QPainter* painter, const QRect& sceneRect);
    virtual void PaintBeforePage(QPainter* painter, int pageIndex);
    virtual void PaintAfterPage(QPainter* painter, int pageIndex);
    virtual void ResetViewRender();
    virtual G_ToolHandler* CreateInstance() = 0;
    virtual CCA_String HandlerName() = 0;
    virtual void OnDestroy();
    virtual void OnActivate();
    virtual void OnDeactivate();
    virtual int OnLButtonDown(unsigned int flags, const CCA_Point& point);
    virtual int OnLButtonUp(unsigned int flags, const CCA_Point& point);
    virtual int OnLButtonDblClk(unsigned int flags, const CCA_Point& point);
    virtual int OnMButtonDown(unsigned int flags, const CCA_Point& point);
    virtual int OnMButtonUp(unsigned int flags, const CCA_Point& point);
    virtual int OnMButtonDblClk(unsigned int flags, const CCA_Point& point);
    virtual int OnRButtonDown(unsigned int flags, const CCA_Point& point);
    virtual int OnRButtonUp(unsigned int flags, const CCA_Point& point);
    virtual int OnRButtonDblClk(unsigned int flags, const CCA_Point& point);
    virtual int OnMouseMove(unsigned int flags, const CCA_Point& point);
    virtual int OnMouseEnter();
    virtual int OnMouseLeave();
    virtual int OnMouseWheel(unsigned int flags, int delta, const CCA_Point& point);
    virtual int OnKeyDown(int key, unsigned int flags);
    virtual int OnKeyUp(int key, unsigned int flags);
    virtual int OnWindowEvent(QEvent* event);

    // Makes this object the prototype of its HandlerName(); false when the name is taken.
    // Not owned by the registry; a prototype deleted later unregisters itself.
    bool RegisterHandlerToGlobal();
    static G_ToolHandler* FindGlobal(const char* name);
    static QStringList GlobalNames();

    G_DocView* DocView() const { return m_view; }
    G_UIContext* UIContext() const;
    IG_Document* GDocument() const;
    void SetDocView(G_DocView* view) { m_view = view; }

    // The annotation handler this tool currently hands a selected annotation to, if any.
    virtual G_AnnotationHandler* AnnotationHandler() const { return nullptr; }

    G_ToolHandler(const G_ToolHandler&) = delete;
    G_ToolHandler& operator=(const G_ToolHandler&) = delete;

private:
    G_DocView* m_view = nullptr;
};
