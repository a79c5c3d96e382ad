#pragma once

#include "host/framework/g_toolhandler.h"

#include <QObject>

class GAC_Stamp;
class IG_Annot;

// Tool "tp_stamp": carries an interactive stamp placement to its end. The placement
// operation makes it current and leaves a run-time annotation in its command; the tool
// lets that preview follow the pointer, commits it on a left click at least 2 mm inside
// its page, drops it on a right click, and returns to the hand tool either way.
//
// The cancel interceptor keeps a guarded pointer to the pending tool, so destroying a tool
// (its view closing) never leaves a dangling pending tool behind.
class GT_Stamp : public QObject, public G_ToolHandler
{
    Q_OBJECT
public:
    GT_Stamp();
    ~GT_Stamp() override;

    void PaintAfterPage(QPainter* painter, int pageIndex) override;
    G_ToolHandler* CreateInstance() override;
    CCA_String HandlerName() override;
    void OnActivate() override;
    int OnLButtonDown(unsigned int flags, const CCA_Point& point) override;
    int OnLButtonUp(unsigned int flags, const CCA_Point& point) override;
    int OnRButtonUp(unsigned int flags, const CCA_Point& point) override;
    int OnMouseMove(unsigned int flags, const CCA_Point& point) override;

    void OnSwitchDocView(G_DocView* view);
    // Embeds the picture again and replaces the run-time annotation by a permanent one.
    IG_Annot* FinalizeStamp(IG_Annot* pending);
    void RunDigitalSignature(GAC_Stamp* command, unsigned int annotId);

    // Null until the first activation.
    GAC_Stamp* StampCommand() const { return m_stampCmd; }

private:
    void fireHandTool();

    GAC_Stamp* m_stampCmd = nullptr;
};
