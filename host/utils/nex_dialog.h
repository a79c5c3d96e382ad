#pragma once
// The reader's frameless dialog: a QDialog without a system frame, drawn with the reader's
// shadow (a Nex_Shadow child, whose width is the margin around the contents),
// dragged by the area set with SetDragArea. exec() is the modal loop; tests answer it
// from a timer through QApplication::activeModalWidget().

#include <QDialog>

namespace Utils
{
namespace Widgets
{

class Nex_Dialog : public QDialog
{
    Q_OBJECT
public:
    // `resizable` false keeps the size fixed once ScaleDialog has set it.
    explicit Nex_Dialog(QWidget* parent = nullptr, bool resizable = false);
    ~Nex_Dialog() override;

    // Scales the dialog's size and the pixel values of `styleSheet` (applied when not empty).
    void ScaleDialog(bool scaleSize, const QString& styleSheet);
    void SetDragArea(const QRect& area);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_resizable = false;
    QRect m_dragArea;
    QPoint m_dragOffset;
    bool m_dragging = false;
};

} // namespace Widgets
} // namespace Utils
