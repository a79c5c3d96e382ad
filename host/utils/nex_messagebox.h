#pragma once
// The reader's message box. Every box goes through MessageBoxSeam (messageboxseam.h):
// with an answerer set no window is shown and the answerer's button is reported; every
// request is recorded in MessageBoxSeam::History.
//
// Object names for tests that drive a shown box: "msgBoxTitle", "msgBoxText",
// "msgBoxDetail", the buttons "msgBoxBtn_<StandardButton value>" and the right-most
// button also answers to rightBtn().

#include "../base/ca_types.h"
#include "messageboxseam.h"
#include "nex_shadow.h"

#include <QDialog>
#include <QList>
#include <QMap>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace Utils
{
namespace Widgets
{

// A modal box with a kind icon, a title, a content text with detail, and its buttons
// (OK alone by default; the right one closes it with QMessageBox::Close when renamed with
// setTextOfRightBtn(text, false)).
class Nex_MessageBox : public QDialog
{
    Q_OBJECT
public:
    explicit Nex_MessageBox(QWidget* parent = nullptr);
    ~Nex_MessageBox() override;

    // `kind`: MessageBoxRequest::Kind.
    void SetTitle(int kind, const QString& title);
    void SetContent(const QString& text, const QString& detail);
    // Text of the right button; `accept` true makes it accept (QMessageBox::Ok) instead
    // of close.
    void setTextOfRightBtn(const QString& text, bool accept);
    // The buttons (QMessageBox::StandardButtons, 0: OK alone), renamed by `texts`.
    void SetButtons(int buttons, int defaultButton = -1, const QMap<int, QString>& texts = {});
    // Runs the box (or lets the seam answer) and returns the button pressed.
    int exec() override;

    QPushButton* rightBtn() const { return m_rightBtn; }
    MessageBoxRequest Request() const { return m_request; }

    // Shows a box for a request (or lets the seam answer); used by the UI context.
    static int Show(QWidget* parent, const MessageBoxRequest& request);

private:
    void rebuildButtons();

    MessageBoxRequest m_request;
    QLabel* m_icon;
    QLabel* m_title;
    QLabel* m_text;
    QLabel* m_detail;
    QHBoxLayout* m_buttonRow;
    QList<QPushButton*> m_buttons;
    QPushButton* m_rightBtn = nullptr;
    int m_rightResult = 0; // what the right button reports; 0: its standard button
    int m_pressed = 0;
};

} // namespace Widgets
} // namespace Utils
