#pragma once
// Paints a grey placeholder text in the middle of an item view while its model is empty.
// Installed on the view's viewport; destroyed with the view (its parent).

#include <QObject>
#include <QString>

class QAbstractItemView;

class EventObject : public QObject
{
    Q_OBJECT
public:
    explicit EventObject(QAbstractItemView* view);
    ~EventObject() override;

    bool eventFilter(QObject* watched, QEvent* event) override; // never consumes the event

    QString placeholderText;

private:
    QAbstractItemView* m_view;
};
