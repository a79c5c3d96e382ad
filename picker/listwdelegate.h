#pragma once
// Draws a stamp of the picker's lists: its thumbnail centred in a framed cell, highlighted
// under the mouse, with a delete box on deletable (custom) stamps. A press on a stamp
// chooses it (ItemAdd), a press on the delete box of a deletable one deletes it (ItemDel);
// the delegate never changes the list itself.

#include <QStyledItemDelegate>

class QListView;

class ListWDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit ListWDelegate(QListView* view);
    ~ListWDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // The delete box of a cell (shared by painting and hit testing).
    static QRect DeleteBox(const QRect& cell);

signals:
    void ItemDel(QAbstractItemModel* model, QModelIndex index);
    void ItemAdd(QAbstractItemModel* model, QModelIndex index);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    QListView* m_view;
};
