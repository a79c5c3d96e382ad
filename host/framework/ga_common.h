#pragma once
// The common annotation handler: select, move (drag the body) and resize (drag one of
// eight control points, clockwise from the top-left corner) with an undo entry per
// completed drag. Moves and resizes keep the annotation on its page. Arrow keys move it
// by 1 mm (10 mm with Shift), Delete runs "d_delannot" on it. Paints the selection frame
// and control points after the annotation's page.

#include "g_annotationhandler.h"

class GA_Common : public G_AnnotationHandler
{
public:
    GA_Common();
    ~GA_Common() override;

    void PaintAfterPage(QPainter* painter, int pageIndex) override;
    void ResetViewRender() override;
    void OnDeactivate() override;
    int OnLButtonDown(unsigned int flags, const CCA_Point& point) override;
    int OnLButtonUp(unsigned int flags, const CCA_Point& point) override;
    int OnMouseMove(unsigned int flags, const CCA_Point& point) override;
    int OnKeyDown(int key, unsigned int flags) override;

    bool Filter(IG_Annot* annot) override;
    void OnSelected() override;
    void OnDeselected() override;
    int CtrlPointIndex(const CCA_Point& point) override;
    int CtrlPointIndex(const QVector<CCA_Point>& points, const CCA_Point& point) override;
    QVector<CCA_Point> GetCtrlPoints() override;
    bool HitTest(const CCA_Point& point) override;
    void DoMove(float dx, float dy) override;
    void DoResize(int ctrlIndex, const CCA_GRect& newRect) override;

    // Maps a scene point into the page-unit coordinates of page `pageIndex` (also when the
    // point lies on another page or off every page).
    static CCA_GPoint transformToCGPoint(G_DocView* view, int pageIndex, const CCA_Point& point);

    // Smallest size a resize leaves, page units.
    static constexpr float kMinSize = 2.0f;
    // Control points are hit within this many scene pixels.
    static constexpr int kCtrlRadius = 4;

protected:
    int pageIndexOfAnnot() const; // −1 without an annotation

private:
    enum class Drag { None, Move, Resize };
    Drag m_drag = Drag::None;
    int m_ctrl = -1;
    CCA_GPoint m_pressPoint;
    CCA_GRect m_startRect;
    int m_edgeX = 0; // edges a resize drags: −1 left/top, +1 right/bottom, 0 none
    int m_edgeY = 0;
};
