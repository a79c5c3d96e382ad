#pragma once

#include "host/framework/g_operationinterceptor.h"

#include <QObject>
#include <QPointer>

class GT_Stamp;

// Ends a stamp placement the user walks away from: once a placement has run, the first
// operation of another kind (a new "ti_stamp" or "d_invoiceseal" placement excepted) or a
// page change in a navigation panel removes the preview and brings the hand tool back.
//
// The pending tool is held through a QPointer: tools belong to their views and die with
// them, and a guarded pointer turns null by itself when that happens, so the interceptor
// never reaches a destroyed tool.
class GPI_CancelAnnot : public QObject, public G_OperationInterceptor
{
    Q_OBJECT
public:
    explicit GPI_CancelAnnot(GT_Stamp* pendingTool = nullptr);
    ~GPI_CancelAnnot() override;

    bool Intercepts(G_Operation* op) override;
    bool PrepareDataHandle(G_Operation* op, bool performed) override;
    bool BeforeDoActionHandle(G_Operation* op) override;

    void SetPendingTool(GT_Stamp* tool) { m_pendingTool = tool; }
    GT_Stamp* PendingTool() const { return m_pendingTool.data(); }

public slots:
    void NaviBarSlot(int index);

private:
    QPointer<GT_Stamp> m_pendingTool;
};

// The one cancel interceptor of the process, made when the plug-in registers its parts;
// the placement operation records its tool here.
extern GPI_CancelAnnot* CancelAnnotInstance;
