#pragma once

#include "host/framework/ga_common.h"

class GAC_Stamp;

// Handler "StampEditHandler": takes stamp annotations (not signatures, pre-seals or
// tablet stamps), selects, moves and resizes them with the common behaviour and offers
// delete, embed and apply-signature in the context menu.
//
// Every selection publishes the selected stamp as "stampPageIndex"/"stampAnnotID" in the
// settings cache, not just the first one of a handler object: the delete and embed
// operations act on those keys, so they must always name the stamp selected last, however
// the host reuses handler objects. The handler's own command is still made and attached
// once, at its first selection.
class GA_Stamp : public GA_Common
{
public:
    GA_Stamp();
    ~GA_Stamp() override;

    G_ToolHandler* CreateInstance() override;
    CCA_String HandlerName() override;
    void OnDeactivate() override;
    int OnLButtonDown(unsigned int flags, const CCA_Point& point) override;
    int OnLButtonUp(unsigned int flags, const CCA_Point& point) override;
    int OnRButtonUp(unsigned int flags, const CCA_Point& point) override;
    int OnMouseMove(unsigned int flags, const CCA_Point& point) override;
    bool Filter(IG_Annot* annot) override;
    void OnSelected() override;
    QVector<CCA_Point> GetCtrlPoints() override;
    bool HitTest(const CCA_Point& point) override;

    GAC_Stamp* StampCommand() const { return m_stampCmd; }

private:
    GAC_Stamp* m_stampCmd = nullptr;
};
