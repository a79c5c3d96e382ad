#include "g_toolhandler.h"

#include "g_annotationhandler.h"
#include "g_docview.h"

#include <QStringList>

namespace
{
QList<G_ToolHandler*>& registry()
{
    static auto* list = new QList<G_ToolHandler*>; // outlives static destruction
    return *list;
}
} // namespace

G_ToolHandler::G_ToolHandler() = default;

G_ToolHandler::~G_ToolHandler()
{
    registry().removeAll(this);
}

void G_ToolHandler::PaintSceneStart(QPainter*, const QRect&) {}
void G_ToolHandler::PaintSceneEnd(QPainter*, const QRect&) {}
void G_ToolHandler::PaintBeforePage(QPainter*, int) {}
void G_ToolHandler::PaintAfterPage(QPainter*, int) {}
void G_ToolHandler::ResetViewRender() {}
void G_ToolHandler::OnDestroy() {}
void G_ToolHandler::OnActivate() {}
void G_ToolHandler::OnDeactivate() {}
int G_ToolHandler::OnLButtonDown(unsigned int, const CCA_Point&)
{
    return 0;
}
int G_ToolHandler::OnLButtonUp(unsigned int, const CCA_Point&)
{
    return 0;
}
int G_ToolHandler::OnLButtonDblClk(unsigned int, const CCA_Point&)
{
    return 0;
}
int G_ToolHandler::OnMButtonDown(unsigned int, const CCA_Point&)
{
    return 0;
}
int G_ToolHandler::OnMButtonUp(unsigned int, const CCA_Point&)
{
    return 0;
}
int G_ToolHandler::OnMButtonDblClk(unsigned int, const CCA_Point&)
{
    return 0;
}
int G_ToolHandler::OnRButtonDown(unsigned int, const CCA_Point&)
{
    return 0;
}
int G_ToolHandler::OnRButtonUp(unsigned int, const CCA_Point&)
{
    return 0;
}
int G_ToolHandler::OnRButtonDblClk(unsigned int, const CCA_Point&)
{
    return 0;
}
int G_ToolHandler::OnMouseMove(unsigned int, const CCA_Point&)
{
    return 0;
}
int G_ToolHandler::OnMouseEnter()
{
    return 0;
}
int G_ToolHandler::OnMouseLeave()
{
    return 0;
}
int G_ToolHandler::OnMouseWheel(unsigned int, int, const CCA_Point&)
{
    return 0;
}
int G_ToolHandler::OnKeyDown(int, unsigned int)
{
    return 0;
}
int G_ToolHandler::OnKeyUp(int, unsigned int)
{
    return 0;
}
int G_ToolHandler::OnWindowEvent(QEvent*)
{
    return 0;
}

bool G_ToolHandler::RegisterHandlerToGlobal()
{
    if (registry().contains(this))
        return true;
    const CCA_String name = HandlerName();
    if (name.IsEmpty() || FindGlobal(name.c_str()))
        return false;
    registry().append(this);
    return true;
}

G_ToolHandler* G_ToolHandler::FindGlobal(const char* name)
{
    if (!name)
        return nullptr;
    for (G_ToolHandler* handler : qAsConst(registry())) {
        if (handler->HandlerName() == name)
            return handler;
    }
    return nullptr;
}

QStringList G_ToolHandler::GlobalNames()
{
    QStringList names;
    for (G_ToolHandler* handler : qAsConst(registry()))
        names.append(GQ_ToQString(handler->HandlerName()));
    return names;
}

G_UIContext* G_ToolHandler::UIContext() const
{
    return m_view ? m_view->UIContext() : nullptr;
}

IG_Document* G_ToolHandler::GDocument() const
{
    return m_view ? m_view->GDocument() : nullptr;
}
