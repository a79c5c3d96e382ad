#pragma once

#include <QList>
#include <QtGlobal>

class G_Operation;

// Constructing an interceptor makes it take part in every operation run (see
// g_operation.h for the order); destroying it ends that. No registration call exists.
class G_OperationInterceptor
{
public:
    G_OperationInterceptor();
    virtual ~G_OperationInterceptor();

    virtual bool Intercepts(G_Operation* op) = 0;
    virtual bool PrepareDataHandle(G_Operation* op, bool performed); // default true
    virtual bool BeforeDoActionHandle(G_Operation* op);              // default true
    virtual void AfterDoActionHandle(G_Operation* op);               // default nothing

    static QList<G_OperationInterceptor*> Live(); // construction order
    static int LiveCount();
    static bool IsLive(const G_OperationInterceptor* interceptor);
    // Unique in the process: a run tells the interceptors it started with from a new one
    // that took the address of one destroyed meanwhile.
    quint64 Serial() const { return m_serial; }

    G_OperationInterceptor(const G_OperationInterceptor&) = delete;
    G_OperationInterceptor& operator=(const G_OperationInterceptor&) = delete;

private:
    quint64 m_serial;
};
