#pragma once
// The reader's popup: a QMenu-based frame for custom content (no menu actions of its own),
// drawn with the reader's shadow (a Nex_Shadow child). exec(pos) shows it at a screen
// point, kept on screen, and returns when it is hidden. Every exec goes through PopupSeam
// (popupseam.h), which may answer it without a window; shown popups are closed by tests
// from a timer through QApplication::activePopupWidget().

#include <QMenu>

namespace Utils
{
namespace Widgets
{

class Nex_Popup : public QMenu
{
    Q_OBJECT
public:
    explicit Nex_Popup(QWidget* parent = nullptr);
    ~Nex_Popup() override;

    void exec(const QPoint& globalPos);
    // Scales the popup to the DPI factor and applies the scaled style sheet (when not empty).
    void ScalePopup(const QString& styleSheet);
    bool IsShowing() const { return m_showing; }

signals:
    void PopupShown();
    void PopupHidden();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool m_showing = false;
};

} // namespace Widgets
} // namespace Utils
