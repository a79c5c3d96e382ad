#include "g_annotationhandler.h"

#include <QStringList>

namespace
{
QList<G_AnnotationHandler*>& registry()
{
    static auto* list = new QList<G_AnnotationHandler*>; // outlives static destruction
    return *list;
}
} // namespace

G_AnnotationHandler::~G_AnnotationHandler()
{
    registry().removeAll(this);
}

bool G_AnnotationHandler::RegisterAnnotHandlerToGlobal()
{
    if (registry().contains(this))
        return true;
    const CCA_String name = HandlerName();
    if (name.IsEmpty() || FindGlobalAnnotHandler(name.c_str()))
        return false;
    registry().append(this);
    return true;
}

G_AnnotationHandler* G_AnnotationHandler::FindGlobalAnnotHandler(const char* name)
{
    if (!name)
        return nullptr;
    for (G_AnnotationHandler* handler : qAsConst(registry())) {
        if (handler->HandlerName() == name)
            return handler;
    }
    return nullptr;
}

QList<G_AnnotationHandler*> G_AnnotationHandler::GlobalAnnotHandlers()
{
    return registry();
}

QStringList G_AnnotationHandler::GlobalAnnotHandlerNames()
{
    QStringList names;
    for (G_AnnotationHandler* handler : qAsConst(registry()))
        names.append(GQ_ToQString(handler->HandlerName()));
    return names;
}
