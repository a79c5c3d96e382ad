#include "g_navigationpage.h"

namespace Core
{

namespace
{
QList<G_NavigationPage*>& pages()
{
    static auto* list = new QList<G_NavigationPage*>; // outlives static destruction
    return *list;
}
} // namespace

G_NavigationPage::G_NavigationPage(QWidget* parent) : QWidget(parent)
{
    pages().append(this);
}

G_NavigationPage::~G_NavigationPage()
{
    pages().removeAll(this);
}

QList<G_NavigationPage*> G_NavigationPage::allNaviPages()
{
    return pages();
}

} // namespace Core
