#pragma once
// DPI scaling of the reader's widgets. The factor is the primary screen's logical DPI /
// 96, unless STAMPREADER_DPI_SCALE sets it (tests; read on first use and again after each
// SetScale) or SetScale overrides it.

#include <QSize>
#include <QString>

class QWidget;

namespace Utils
{
namespace DPI
{

class Nex_Mgr
{
public:
    static Nex_Mgr& Instance();
    float Scale() const;
    void SetScale(float scale); // ≤ 0 returns to the screen's (or the environment's) factor

private:
    Nex_Mgr() = default;
    float m_override = 0;
    mutable bool m_environmentRead = false;
    mutable float m_environmentScale = 0; // 0: not set
};

class Nex_Util
{
public:
    static int ScalePx(int px);
    static QSize ScaleSize(const QSize& size);
    // Scales a widget's size and its minimum and maximum sizes (those that are set).
    static void ScaleWidgetSize(QWidget* widget);
    // Scales every "<number>px" in a style sheet (rounded, at least 1 when it was).
    static QString ScaleStyleSheet(const QString& styleSheet);
};

} // namespace DPI
} // namespace Utils
