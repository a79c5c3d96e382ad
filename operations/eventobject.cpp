#include "eventobject.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

EventObject::EventObject(QAbstractItemView* view) : QObject(view), m_view(view) {}

EventObject::~EventObject() = default;

bool EventObject::eventFilter(QObject* watched, QEvent* event)
{
    // The type first: while the view is being destroyed its viewport still sends events,
    // and the view can no longer be asked anything.
    if (event->type() != QEvent::Paint || !m_view || watched != m_view->viewport())
        return false;
    // A view without a model shows nothing either, so it gets the text too.
    if (m_view->model() && m_view->model()->rowCount(QModelIndex()) != 0)
        return false;
    QWidget* viewport = m_view->viewport();
    QPainter painter(viewport);
    painter.save();
    QFont font(QStringLiteral("Microsoft YaHei"));
    font.setPointSizeF(9.0);
    const QFontMetrics metrics(font);
    const int x = (viewport->width() - metrics.horizontalAdvance(placeholderText)) / 2;
    const int y = (viewport->height() - metrics.height()) / 2;
    painter.setPen(QColor(QStringLiteral("#B7BFD0")));
    painter.setFont(font);
    painter.drawText(QPointF(x, y), placeholderText);
    painter.restore();
    painter.end();
    return false;
}
