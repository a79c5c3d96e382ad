#pragma once

#include <QList>
#include <QWidget>

namespace Core
{

// A navigation panel page (thumbnails, bookmarks, ...). Every page that exists is listed
// by allNaviPages; ChangeShowIndexSignal tells that the user moved to another page index.
class G_NavigationPage : public QWidget
{
    Q_OBJECT
public:
    explicit G_NavigationPage(QWidget* parent = nullptr);
    ~G_NavigationPage() override;
    static QList<G_NavigationPage*> allNaviPages();

signals:
    void ChangeShowIndexSignal(int index);
};

} // namespace Core
