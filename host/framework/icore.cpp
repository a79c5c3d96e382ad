#include "icore.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace Core
{

namespace
{
QPointer<QWidget>& mainWindowRef()
{
    static QPointer<QWidget> window;
    return window;
}
} // namespace

QWidget* ICore::mainWindow()
{
    return mainWindowRef().data();
}

QWidget* ICore::dialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return mainWindow();
}

void ICore::setMainWindow(QWidget* window)
{
    mainWindowRef() = window;
}

} // namespace Core
