#include "ga_common.h"

#include "../document/ig_annot.h"
#include "../document/ig_page.h"
#include "annotrectcommand.h"
#include "g_docview.h"
#include "g_operation.h"
#include "g_uicontext.h"

#include <QCoreApplication>
#include <QPainter>
#include <QUndoStack>
#include <cmath>

namespace
{

// Which edges a control point drags: −1 the low edge (left/top), +1 the high edge, 0 none.
int edgeOf(float value, float low, float high)
{
    const float mid = (low + high) / 2;
    const float dLow = std::fabs(value - low);
    const float dMid = std::fabs(value - mid);
    const float dHigh = std::fabs(value - high);
    if (dMid < dLow && dMid < dHigh)
        return 0;
    return dLow <= dHigh ? -1 : 1;
}

// Moves `rect` by the least amount that brings it inside a page of `w` × `h` (when it fits).
CCA_GRect keptOnPage(CCA_GRect rect, float w, float h)
{
    if (rect.Width() <= w) {
        const float dx = rect.left < 0 ? -rect.left : (rect.right > w ? w - rect.right : 0);
        rect.left += dx;
        rect.right += dx;
    }
    if (rect.Height() <= h) {
        const float dy = rect.top < 0 ? -rect.top : (rect.bottom > h ? h - rect.bottom : 0);
        rect.top += dy;
        rect.bottom += dy;
    }
    return rect;
}

} // namespace

GA_Common::GA_Common() = default;

GA_Common::~GA_Common() = default;

CCA_GPoint GA_Common::transformToCGPoint(G_DocView* view, int pageIndex, const CCA_Point& point)
{
    if (!view || pageIndex < 0)
        return CCA_GPoint();
    int page = pageIndex;
    return view->DocPointFromScenePoint(point, page);
}

int GA_Common::pageIndexOfAnnot() const
{
    return (m_annot && m_annot->Page()) ? m_annot->Page()->Index() : -1;
}

bool GA_Common::Filter(IG_Annot* annot)
{
    return annot && annot->IsOnPage();
}

void GA_Common::OnSelected()
{
    m_drag = Drag::None;
    if (DocView())
        DocView()->Refresh();
}

void GA_Common::OnDeselected()
{
    m_drag = Drag::None;
    if (DocView())
        DocView()->Refresh();
}

void GA_Common::ResetViewRender()
{
    m_drag = Drag::None;
    m_ctrl = -1;
    if (DocView())
        DocView()->Refresh();
}

void GA_Common::OnDeactivate()
{
    m_drag = Drag::None;
    m_ctrl = -1;
}

QVector<CCA_Point> GA_Common::GetCtrlPoints()
{
    G_DocView* view = DocView();
    const int page = pageIndexOfAnnot();
    if (!view || page < 0 || !m_annot->IsOnPage())
        return {};
    const QRect r = view->SceneRectFromDocRect(page, m_annot->GetRect());
    const int x0 = r.left();
    const int x1 = r.left() + r.width();
    const int y0 = r.top();
    const int y1 = r.top() + r.height();
    const int xm = (x0 + x1) / 2;
    const int ym = (y0 + y1) / 2;
    // Clockwise from the top-left corner.
    return {CCA_Point(x0, y0), CCA_Point(xm, y0), CCA_Point(x1, y0), CCA_Point(x1, ym),
            CCA_Point(x1, y1), CCA_Point(xm, y1), CCA_Point(x0, y1), CCA_Point(x0, ym)};
}

int GA_Common::CtrlPointIndex(const QVector<CCA_Point>& points, const CCA_Point& point)
{
    for (int i = 0; i < points.size(); ++i) {
        if (std::abs(points[i].x - point.x) <= kCtrlRadius &&
            std::abs(points[i].y - point.y) <= kCtrlRadius)
            return i;
    }
    return -1;
}

int GA_Common::CtrlPointIndex(const CCA_Point& point)
{
    return CtrlPointIndex(GetCtrlPoints(), point);
}

bool GA_Common::HitTest(const CCA_Point& point)
{
    G_DocView* view = DocView();
    const int page = pageIndexOfAnnot();
    if (!view || page < 0 || !m_annot->IsOnPage())
        return false;
    const QRect r = view->SceneRectFromDocRect(page, m_annot->GetRect())
                        .adjusted(-kCtrlRadius, -kCtrlRadius, kCtrlRadius, kCtrlRadius);
    return r.contains(point.x, point.y);
}

void GA_Common::DoMove(float dx, float dy)
{
    if (m_annot)
        m_annot->Offset(dx, dy);
}

void GA_Common::DoResize(int, const CCA_GRect& newRect)
{
    if (m_annot)
        m_annot->SetRect(newRect);
}

int GA_Common::OnLButtonDown(unsigned int, const CCA_Point& point)
{
    G_DocView* view = DocView();
    const int page = pageIndexOfAnnot();
    if (!view || page < 0 || !m_annot->IsOnPage() || m_annot->IsLocked())
        return 0;
    const QVector<CCA_Point> points = GetCtrlPoints();
    const int ctrl = CtrlPointIndex(points, point);
    m_startRect = m_annot->GetRect();
    m_pressPoint = transformToCGPoint(view, page, point);
    if (ctrl >= 0) {
        m_drag = Drag::Resize;
        m_ctrl = ctrl;
        // The edges the point drags, found in page units so rotated pages work too.
        const CCA_GPoint at = transformToCGPoint(view, page, points[ctrl]);
        m_edgeX = edgeOf(at.x, m_startRect.left, m_startRect.right);
        m_edgeY = edgeOf(at.y, m_startRect.top, m_startRect.bottom);
        return 1;
    }
    if (HitTest(point)) {
        m_drag = Drag::Move;
        m_ctrl = -1;
        return 1;
    }
    return 0;
}

int GA_Common::OnMouseMove(unsigned int, const CCA_Point& point)
{
    G_DocView* view = DocView();
    const int page = pageIndexOfAnnot();
    if (m_drag == Drag::None || !view || page < 0)
        return 0;
    IG_Page* pageObject = m_annot->Page();
    const CCA_GPoint now = transformToCGPoint(view, page, point);
    const float dx = now.x - m_pressPoint.x;
    const float dy = now.y - m_pressPoint.y;
    if (m_drag == Drag::Move) {
        CCA_GRect target(m_startRect.left + dx, m_startRect.top + dy, m_startRect.right + dx,
                         m_startRect.bottom + dy);
        target = keptOnPage(target, pageObject->Width(), pageObject->Height());
        const CCA_GRect current = m_annot->GetRect();
        DoMove(target.left - current.left, target.top - current.top);
    } else {
        const float w = pageObject->Width();
        const float h = pageObject->Height();
        CCA_GRect r = m_startRect;
        if (m_edgeX < 0)
            r.left = qBound(0.0f, r.left + dx, r.right - kMinSize);
        else if (m_edgeX > 0)
            r.right = qBound(r.left + kMinSize, r.right + dx, qMax(w, r.left + kMinSize));
        if (m_edgeY < 0)
            r.top = qBound(0.0f, r.top + dy, r.bottom - kMinSize);
        else if (m_edgeY > 0)
            r.bottom = qBound(r.top + kMinSize, r.bottom + dy, qMax(h, r.top + kMinSize));
        DoResize(m_ctrl, r);
    }
    view->Refresh();
    return 1;
}

int GA_Common::OnLButtonUp(unsigned int, const CCA_Point&)
{
    G_DocView* view = DocView();
    if (m_drag == Drag::None || !view || !m_annot) {
        m_drag = Drag::None;
        return 0;
    }
    const Drag drag = m_drag;
    m_drag = Drag::None;
    m_ctrl = -1;
    const CCA_GRect now = m_annot->GetRect();
    if (now != m_startRect && view->UndoStack()) {
        const QString text = drag == Drag::Move
                                 ? QCoreApplication::translate("G_DocView", "Move annotation")
                                 : QCoreApplication::translate("G_DocView", "Resize annotation");
        view->UndoStack()->push(new AnnotRectCommand(view, m_annot, m_startRect, now, text));
    }
    view->Refresh();
    return 1;
}

int GA_Common::OnKeyDown(int key, unsigned int flags)
{
    G_DocView* view = DocView();
    const int page = pageIndexOfAnnot();
    if (!view || page < 0 || !m_annot->IsOnPage() || m_drag != Drag::None)
        return 0;
    if (key == Qt::Key_Delete) {
        if (m_annot->IsLocked() || !view->UIContext())
            return 0;
        G_Operation* op = view->UIContext()->CreateOperationByName("d_delannot", QString());
        if (!op)
            return 0;
        op->Param()->Add("pageAndAnnotID", QStringLiteral("%1:%2").arg(page).arg(m_annot->ID()));
        op->PerformAction();
        op->DeleteLater();
        return 1;
    }
    float dx = 0, dy = 0;
    const float step = (flags & Qt::ShiftModifier) ? 10.0f : 1.0f; // millimetres
    switch (key) {
    case Qt::Key_Left:
        dx = -step;
        break;
    case Qt::Key_Right:
        dx = step;
        break;
    case Qt::Key_Up:
        dy = -step;
        break;
    case Qt::Key_Down:
        dy = step;
        break;
    default:
        return 0;
    }
    if (m_annot->IsLocked())
        return 0;
    const CCA_GRect before = m_annot->GetRect();
    CCA_GRect target(before.left + dx, before.top + dy, before.right + dx, before.bottom + dy);
    target = keptOnPage(target, m_annot->Page()->Width(), m_annot->Page()->Height());
    DoMove(target.left - before.left, target.top - before.top);
    const CCA_GRect after = m_annot->GetRect();
    if (after != before && view->UndoStack())
        view->UndoStack()->push(
            new AnnotRectCommand(view, m_annot, before, after,
                                 QCoreApplication::translate("G_DocView", "Move annotation")));
    view->Refresh();
    return 1;
}

void GA_Common::PaintAfterPage(QPainter* painter, int pageIndex)
{
    G_DocView* view = DocView();
    if (!view || !m_annot || !m_annot->IsOnPage() || pageIndexOfAnnot() != pageIndex)
        return;
    const QRect r = view->SceneRectFromDocRect(pageIndex, m_annot->GetRect());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    QPen frame(QColor(0x14, 0x78, 0xd4), 1, Qt::DashLine);
    painter->setPen(frame);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(r);
    if (!m_annot->IsLocked()) {
        painter->setPen(QPen(QColor(0x14, 0x78, 0xd4), 1));
        painter->setBrush(Qt::white);
        const QVector<CCA_Point> points = GetCtrlPoints();
        for (const CCA_Point& p : points)
            painter->drawRect(QRect(p.x - kCtrlRadius + 1, p.y - kCtrlRadius + 1,
                                    2 * kCtrlRadius - 1, 2 * kCtrlRadius - 1));
    }
    painter->restore();
}
