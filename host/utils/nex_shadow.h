#pragma once

#include <QWidget>

namespace Utils
{
namespace Widgets
{

// The shadow of the reader's frameless dialogs and popups. Constructed on a host window,
// it gives the host a translucent background and contents margins of ShadowWidth(), keeps
// itself under the host's other children at the host's full size, and paints a soft shadow in that
// margin around a white panel. Layouts on the host lay their widgets out inside the panel.
class Nex_Shadow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kBaseWidth = 8;

    explicit Nex_Shadow(QWidget* host, int baseWidth = kBaseWidth);
    ~Nex_Shadow() override;

    int ShadowWidth() const { return m_width; } // pixels, DPI-scaled
    QRect PanelRect() const; // the white panel inside the shadow, host coordinates

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_width;
};

} // namespace Widgets
} // namespace Utils
