#pragma once
// Operations: named, cloneable units of work run by the reader.
//
// A run (ExecuteAction or PerformAction) asks every live G_OperationInterceptor, in the
// order they were constructed, whether it Intercepts the operation. For the accepting
// ones, in that order: PrepareDataHandle (a false result ends the run at once: no
// DoAction, no AfterDoActionHandle), then BeforeDoActionHandle for each (a false result
// ends the run the same way), then DoAction, whose result is kept (ActionResult), then
// AfterDoActionHandle for each. An interceptor destroyed during a run is skipped from then
// on; one constructed during a run takes part from the next run.
//
// ExecuteAction runs silently. PerformAction is the user-level run: it refuses an
// operation whose AuthorityType is 2 (it changes the document) when the document is
// read-only (with a warning to the user; the result is 0), and after the run tells the
// UI context (OperationPerformed) so the command bar and observers learn of it.
// PrepareDataHandle receives true from PerformAction and false from ExecuteAction.

#include "g_operationparam.h"

#include <QString>

class G_DocView;
class G_UIContext;
class IG_Document;

class G_Operation
{
public:
    G_Operation();
    virtual ~G_Operation();

    virtual G_Operation* Clone() = 0;
    virtual const char* Name() = 0;
    // 0: reads only; 2: changes the document (refused by PerformAction when read-only).
    virtual int AuthorityType();
    virtual int DoAction() = 0;
    // The parameters as a JSON object (member per key), and back.
    virtual QString ListenerParamsJson();
    virtual bool ParseParamJson(const QString& json);
    virtual void ResetParams();

    // Makes this object the prototype found by Name() (replacing an earlier prototype of
    // that name). Not owned by the registry; a prototype deleted later unregisters itself.
    void RegisterToGlobal();
    static G_Operation* FindGlobal(const char* name);
    static QStringList GlobalNames(); // in registration order

    int ExecuteAction();
    int PerformAction();
    int ActionResult() const { return m_result; }
    bool WasRun() const { return m_ran; }

    G_DocView* DocView() const { return m_view; }
    G_UIContext* UIContext() const { return m_context; }
    IG_Document* GDocument() const;
    void SetContext(G_UIContext* context, G_DocView* view);

    G_OperationParam* Param() { return &m_param; }
    const G_OperationParam* Param() const { return &m_param; }

    // Copies parameters (over existing keys), UI context and view from `other`.
    void CopyFrom(const G_Operation* other);
    // Releases an operation made by name once control returns to the event loop (at once
    // when there is no event loop running in this thread's application; when asked during
    // its own run, at the end of that run). Safe to call twice, and safe when the
    // operation is deleted otherwise before the loop comes back.
    void DeleteLater();

private:
    int run(bool perform);

    G_OperationParam m_param;
    G_UIContext* m_context = nullptr;
    G_DocView* m_view = nullptr;
    int m_result = 0;
    bool m_ran = false;
    bool m_deleteScheduled = false;
    bool m_deleteAfterRun = false;
    int m_running = 0;
};
