#include "nex_dialog.h"

#include "nex_dpi.h"
#include "nex_shadow.h"

#include <QMouseEvent>

namespace Utils
{
namespace Widgets
{

Nex_Dialog::Nex_Dialog(QWidget* parent, bool resizable)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_resizable(resizable)
{
    new Nex_Shadow(this);
}

Nex_Dialog::~Nex_Dialog() = default;

void Nex_Dialog::ScaleDialog(bool scaleSize, const QString& styleSheet)
{
    if (scaleSize) {
        DPI::Nex_Util::ScaleWidgetSize(this);
        if (!m_resizable)
            setFixedSize(size());
    }
    if (!styleSheet.isEmpty())
        setStyleSheet(DPI::Nex_Util::ScaleStyleSheet(styleSheet));
}

void Nex_Dialog::SetDragArea(const QRect& area)
{
    m_dragArea = area;
}

void Nex_Dialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_dragArea.contains(event->pos())) {
        m_dragging = true;
        m_dragOffset = event->globalPos() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void Nex_Dialog::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPos() - m_dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void Nex_Dialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        event->accept();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

} // namespace Widgets
} // namespace Utils
