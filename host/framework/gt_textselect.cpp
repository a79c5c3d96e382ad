#include "gt_textselect.h"

#include "g_annotationhandler.h"
#include "g_docview.h"

#include <QPainter>

G_ToolHandler* GT_TextSelect::CreateInstance()
{
    return new GT_TextSelect;
}

CCA_String GT_TextSelect::HandlerName()
{
    return "t_textselect";
}

int GT_TextSelect::OnLButtonDown(unsigned int flags, const CCA_Point& point)
{
    GT_HandTool::OnLButtonDown(flags, point);
    m_selection = QRect();
    m_marking = !AnnotationHandler();
    m_anchor = QPoint(point.x, point.y);
    if (DocView())
        DocView()->Refresh();
    return 1;
}

int GT_TextSelect::OnMouseMove(unsigned int flags, const CCA_Point& point)
{
    if (!m_marking)
        return GT_HandTool::OnMouseMove(flags, point);
    m_selection = QRect(m_anchor, QPoint(point.x, point.y)).normalized();
    if (DocView())
        DocView()->Refresh();
    return 1;
}

int GT_TextSelect::OnLButtonUp(unsigned int flags, const CCA_Point& point)
{
    if (!m_marking)
        return GT_HandTool::OnLButtonUp(flags, point);
    m_marking = false;
    return 1;
}

void GT_TextSelect::PaintSceneEnd(QPainter* painter, const QRect&)
{
    if (m_selection.isEmpty())
        return;
    painter->save();
    painter->setPen(QPen(QColor(0x14, 0x78, 0xd4), 1));
    painter->setBrush(QColor(0x14, 0x78, 0xd4, 48));
    painter->drawRect(m_selection);
    painter->restore();
}

void GT_TextSelect::OnDeactivate()
{
    m_marking = false;
    m_selection = QRect();
    GT_HandTool::OnDeactivate();
}
