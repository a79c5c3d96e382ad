#include "nex_shadow.h"

#include "nex_dpi.h"

#include <QEvent>
#include <QPainter>

namespace Utils
{
namespace Widgets
{

Nex_Shadow::Nex_Shadow(QWidget* host, int baseWidth)
    : QWidget(host), m_width(DPI::Nex_Util::ScalePx(qMax(0, baseWidth)))
{
    setObjectName(QStringLiteral("Nex_Shadow"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
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
