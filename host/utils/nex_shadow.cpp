#include "nex_shadow.h"

#include "nex_dpi.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>

#ifdef STAMPREADER_HAVE_XCB
#include <cstdlib>
#include <xcb/xcb.h>
#endif

namespace Utils
{
namespace Widgets
{

namespace
{

// Whether the see-through margin a shadow needs can be shown. An X server without a
// compositing manager (nobody owns the _NET_WM_CM_S<screen> selection) shows it black, so
// there the panel goes without a shadow. Other platforms compose windows themselves.
bool seeThroughWindows()
{
#ifdef STAMPREADER_HAVE_XCB
    static const bool composited = [] {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return true;
        int screen = 0;
        xcb_connection_t* connection = xcb_connect(nullptr, &screen);
        bool owned = false;
        if (!xcb_connection_has_error(connection)) {
            const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
            xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
                connection, xcb_intern_atom(connection, 1, quint16(name.size()), name.data()),
                nullptr);
            if (atom && atom->atom != XCB_ATOM_NONE) {
                xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
                    connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
                owned = owner && owner->owner != XCB_NONE;
                std::free(owner);
            }
            std::free(atom);
        }
        xcb_disconnect(connection);
        return owned;
    }();
    return composited;
#else
    return true;
#endif
}

} // namespace

Nex_Shadow::Nex_Shadow(QWidget* host, int baseWidth)
    : QWidget(host), m_width(seeThroughWindows() ? DPI::Nex_Util::ScalePx(qMax(0, baseWidth)) : 0)
{
    setObjectName(QStringLiteral("Nex_Shadow"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (m_width > 0)
        host->setAttribute(Qt::WA_TranslucentBackground);
    host->setContentsMargins(m_width, m_width, m_width, m_width);
    host->installEventFilter(this);
    setGeometry(host->rect());
    lower(); // the host's other children, made after it, are drawn on the panel
}

Nex_Shadow::~Nex_Shadow() = default;

QRect Nex_Shadow::PanelRect() const
{
    return rect().adjusted(m_width, m_width, -m_width, -m_width);
}

bool Nex_Shadow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void Nex_Shadow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    // Rings fading outwards: darkest next to the panel.
    for (int i = 0; i < m_width; ++i) {
        const double nearness = double(i + 1) / m_width;
        painter.setPen(QColor(54, 66, 90, int(28 * nearness * nearness)));
        const QRectF ring = QRectF(rect()).adjusted(i + 0.5, i + 0.5, -i - 0.5, -i - 0.5);
        painter.drawRoundedRect(ring, m_width - i + 2, m_width - i + 2);
    }
    painter.setPen(QColor(54, 66, 90, 38));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(PanelRect()).adjusted(-0.5, -0.5, 0.5, 0.5));
}

} // namespace Widgets
} // namespace Utils
