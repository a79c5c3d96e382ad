#pragma once
// The page thumbnails beside the document: a click on one moves the view there and is
// announced as ChangeShowIndexSignal (plug-ins follow page changes through it). Pictures are
// drawn when their row comes into sight, and again after each change to the document.

#include "host/framework/g_navigationpage.h"

#include <QPointer>

class G_DocView;
class QListWidget;

class ThumbnailPanel : public Core::G_NavigationPage
{
    Q_OBJECT
public:
    explicit ThumbnailPanel(QWidget* parent = nullptr);

    void SetView(G_DocView* view); // null: empty
    QListWidget* List() const { return m_list; }
    static constexpr int kWidth = 96; // pixels of a thumbnail's width

private:
    void drawVisible();
    void followView(int page);

    QListWidget* m_list;
    QPointer<G_DocView> m_view;
};
