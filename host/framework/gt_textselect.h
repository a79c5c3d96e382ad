#pragma once
// The text-selection tool "t_textselect". Annotations are selected and edited as with the
// hand tool; a drag on empty space marks a selection rectangle instead of moving the view.

#include "gt_handtool.h"

#include <QRect>

class GT_TextSelect : public GT_HandTool
{
public:
    G_ToolHandler* CreateInstance() override;
    CCA_String HandlerName() override;
    int OnLButtonDown(unsigned int flags, const CCA_Point& point) override;
    int OnLButtonUp(unsigned int flags, const CCA_Point& point) override;
    int OnMouseMove(unsigned int flags, const CCA_Point& point) override;
    void PaintSceneEnd(QPainter* painter, const QRect& sceneRect) override;
    void OnDeactivate() override;

    // The rectangle marked last, scene pixels (empty when none).
    QRect SelectionRect() const { return m_selection; }

protected:
    bool PansView() const override { return false; }

private:
    bool m_marking = false;
    QPoint m_anchor;
    QRect m_selection;
};
