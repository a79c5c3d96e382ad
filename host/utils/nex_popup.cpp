#include "nex_popup.h"

#include "nex_dpi.h"
#include "nex_shadow.h"
#include "popupseam.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

namespace Utils
{
namespace Widgets
{

Nex_Popup::Nex_Popup(QWidget* parent) : QMenu(parent)
{
    new Nex_Shadow(this);
}

Nex_Popup::~Nex_Popup() = default;

void Nex_Popup::exec(const QPoint& globalPos)
{
    QPoint pos = globalPos;
    // A popup of fixed size is that size; a menu's size hint lays out all of its contents.
    QSize size = minimumSize() == maximumSize() ? maximumSize() : sizeHint();
    if (size.isEmpty())
        size = this->size();
    QScreen* screen = QGuiApplication::screenAt(globalPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        // Keep the whole popup on the screen the point is on.
        const QRect area = screen->availableGeometry();
        pos.setX(qBound(area.left(), pos.x(), qMax(area.left(), area.right() - size.width() + 1)));
        pos.setY(qBound(area.top(), pos.y(), qMax(area.top(), area.bottom() - size.height() + 1)));
    }
    PopupSeam::Record(objectName(), globalPos);
    if (PopupSeam::HasAnswerer()) {
        move(pos);
        PopupSeam::Answer(this);
        return;
    }
    QPointer<Nex_Popup> guard(this);
    QEventLoop loop;
    connect(this, &Nex_Popup::PopupHidden, &loop, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    popup(pos);
    if (guard && m_showing)
        loop.exec();
}

void Nex_Popup::ScalePopup(const QString& styleSheet)
{
    DPI::Nex_Util::ScaleWidgetSize(this);
    if (!styleSheet.isEmpty())
        setStyleSheet(DPI::Nex_Util::ScaleStyleSheet(styleSheet));
}

void Nex_Popup::paintEvent(QPaintEvent*)
{
    // The shadow paints the frame and the panel; a menu frame would cover the shadow.
}

void Nex_Popup::showEvent(QShowEvent* event)
{
    QMenu::showEvent(event);
    m_showing = true;
    emit PopupShown();
}

void Nex_Popup::hideEvent(QHideEvent* event)
{
    QMenu::hideEvent(event);
    m_showing = false;
    emit PopupHidden();
}

} // namespace Widgets
} // namespace Utils
