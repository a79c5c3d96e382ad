#pragma once

#include <QObject>

class G_DocView;

// Broadcasts reader-wide changes.
class CRF_EventMgr : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
signals:
    void SwitchDocView(G_DocView* view); // another view became current
    void DocClose(G_DocView* view);
    void AllDocClose();
    void MainWindowRectChanged();
    void ActivedScreenChanged();
};
