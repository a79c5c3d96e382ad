#include "g_operationinterceptor.h"

namespace
{
QList<G_OperationInterceptor*>& live()
{
    static auto* list = new QList<G_OperationInterceptor*>; // outlives static destruction
    return *list;
}
} // namespace

G_OperationInterceptor::G_OperationInterceptor()
{
    static quint64 made = 0;
    m_serial = ++made;
    live().append(this);
}

G_OperationInterceptor::~G_OperationInterceptor()
{
    live().removeAll(this);
}

bool G_OperationInterceptor::PrepareDataHandle(G_Operation*, bool)
{
    return true;
}

bool G_OperationInterceptor::BeforeDoActionHandle(G_Operation*)
{
    return true;
}

void G_OperationInterceptor::AfterDoActionHandle(G_Operation*) {}

QList<G_OperationInterceptor*> G_OperationInterceptor::Live()
{
    return live();
}

int G_OperationInterceptor::LiveCount()
{
    return live().size();
}

bool G_OperationInterceptor::IsLive(const G_OperationInterceptor* interceptor)
{
    return live().contains(const_cast<G_OperationInterceptor*>(interceptor));
}
