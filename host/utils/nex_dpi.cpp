#include "nex_dpi.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace Utils
{
namespace DPI
{

Nex_Mgr& Nex_Mgr::Instance()
{
    static Nex_Mgr instance;
    return instance;
}

float Nex_Mgr::Scale() const
{
    if (m_override > 0)
        return m_override;
    // Every layout check of the page view asks: the environment is read once.
    if (!m_environmentRead) {
        m_environmentScale = 0;
        bool ok = false;
        const float fromEnv = qEnvironmentVariable("STAMPREADER_DPI_SCALE").toFloat(&ok);
        if (ok && fromEnv > 0 && std::isfinite(fromEnv))
            m_environmentScale = fromEnv;
        m_environmentRead = true;
    }
    if (m_environmentScale > 0)
        return m_environmentScale;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const qreal dpi = screen->logicalDotsPerInch();
            if (dpi > 0)
                return float(dpi / 96.0);
        }
    }
    return 1.0f;
}

void Nex_Mgr::SetScale(float scale)
{
    m_override = (scale > 0 && std::isfinite(scale)) ? scale : 0;
    m_environmentRead = false;
}

int Nex_Util::ScalePx(int px)
{
    return int(std::lround(px * double(Nex_Mgr::Instance().Scale())));
}

QSize Nex_Util::ScaleSize(const QSize& size)
{
    if (!size.isValid())
        return size;
    return QSize(ScalePx(size.width()), ScalePx(size.height()));
}

void Nex_Util::ScaleWidgetSize(QWidget* widget)
{
    const QSize minimum = widget->minimumSize();
    const QSize maximum = widget->maximumSize();
    if (!minimum.isEmpty())
        widget->setMinimumSize(ScaleSize(minimum));
    if (maximum.width() < QWIDGETSIZE_MAX && maximum.height() < QWIDGETSIZE_MAX)
        widget->setMaximumSize(ScaleSize(maximum));
    widget->resize(ScaleSize(widget->size()));
}

QString Nex_Util::ScaleStyleSheet(const QString& styleSheet)
{
    static const QRegularExpression pixels(QStringLiteral("(\\d+(?:\\.\\d+)?)px"));
    const double scale = Nex_Mgr::Instance().Scale();
    QString out;
    out.reserve(styleSheet.size());
    int last = 0;
    auto it = pixels.globalMatch(styleSheet);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += styleSheet.midRef(last, m.capturedStart() - last);
        const double value = m.captured(1).toDouble();
        long scaled = std::lround(value * scale);
        if (value > 0 && scaled < 1)
            scaled = 1; // a hairline stays visible
        out += QString::number(scaled) + QStringLiteral("px");
        last = m.capturedEnd();
    }
    out += styleSheet.midRef(last);
    return out;
}

} // namespace DPI
} // namespace Utils
