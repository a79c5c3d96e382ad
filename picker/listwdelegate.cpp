#include "listwdelegate.h"

#include "host/utils/nex_dpi.h"
#include "stampparam.h"

#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace
{
float scale()
{
    return Utils::DPI::Nex_Mgr::Instance().Scale();
}
} // namespace

ListWDelegate::ListWDelegate(QListView* view) : QStyledItemDelegate(view), m_view(view) {}

ListWDelegate::~ListWDelegate() = default;

QRect ListWDelegate::DeleteBox(const QRect& cell)
{
    const float s = scale();
    const int side = int(13 * s);
    return QRect(int(cell.x() + cell.width() - 17 * s), int(cell.y() + 4 * s), side, side);
}

void ListWDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    const QRect cell = option.rect;
    const float inset = 12 * scale();
    const QRect inner(QPoint(int(cell.left() + inset), int(cell.top() + inset)),
                      QPoint(int(cell.right() - inset), int(cell.bottom() - inset)));
    const QPixmap thumbnail = index.data(ThumbnailRole).value<QPixmap>();
    painter->save();
    painter->drawPixmap(inner.left() + (inner.width() - thumbnail.width()) / 2,
                        inner.top() + (inner.height() - thumbnail.height()) / 2, thumbnail);

    QColor frame(228, 230, 235);
    if (option.state & QStyle::State_MouseOver) {
        frame = QColor(20, 168, 240);
        painter->setPen(Qt::transparent);
        painter->fillRect(cell, QColor(198, 206, 214, 51));
        if (index.data(DeletableRole).toBool()) {
            const QRect box = DeleteBox(cell);
            const QPixmap icon =
                QPixmap(QStringLiteral(":/btndel_hover.svg"))
                    .scaled(box.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            painter->drawPixmap(box.topLeft(), icon);
        }
    }
    painter->setPen(QPen(frame, 1));
    const int x = cell.x(), y = cell.y(), w = cell.width(), h = cell.height();
    painter->drawLine(x, y + 1, x + w, y + 1);
    painter->drawLine(x + w, y + 1, x + w - 1, y + h - 1);
    painter->drawLine(x + w - 1, y + h - 1, x, y + h - 1);
    painter->drawLine(x, y + h - 1, x + 1, y + 1);
    painter->restore();
    QStyledItemDelegate::paint(painter, option, index);
}

QSize ListWDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return Utils::DPI::Nex_Util::ScaleSize(QSize(110, 110));
}

void ListWDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
}

bool ListWDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const QPoint at = static_cast<QMouseEvent*>(event)->pos();
        const bool deletable =
            m_view && m_view->model() && m_view->model()->data(index, DeletableRole).toBool();
        if (deletable && DeleteBox(option.rect).contains(at))
            emit ItemDel(model, index);
        else
            emit ItemAdd(model, index);
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}
