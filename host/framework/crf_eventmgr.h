#pragma once

#include "g_event.h"

#include <QMetaType>
#include <QObject>

class G_DocView;
class G_Operation;
class IG_Document;

// Broadcasts reader-wide changes. Receivers may connect queued: every pointer type here is
// registered with the meta-type system by the UI context.
class CRF_EventMgr : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
signals:
    void SwitchDocView(G_DocView* view); // another view became current
    // An event handed to G_UIContext::FireEvent. The pointer is the context's logged copy:
    // it stays valid until ClearEventLog or until kEventLogLimit later events, so queued
    // receivers can still read it.
    void EventFired(G_Event* event);
    // A document's view closed; `op` is the operation that closed it (null when the window
    // did). The document may be gone by the time a queued receiver runs.
    void DocClose(G_Operation* op, IG_Document* document);
    void AllDocClose(G_Operation* op); // the last view closed
    void ActivedScreenChanged(G_DocView* view); // the window moved to another screen
};

Q_DECLARE_OPAQUE_POINTER(G_Operation*)
Q_DECLARE_METATYPE(G_Operation*)
Q_DECLARE_OPAQUE_POINTER(IG_Document*)
Q_DECLARE_METATYPE(IG_Document*)
