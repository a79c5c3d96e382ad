#pragma once
// The reader's message box, and the seam every message box of the reader goes through.
//
// Seam: when MessageBoxSeam::SetAnswerer is given a function, no window is shown: the
// function receives each request and returns the button to report. Every request (shown
// or answered) is also recorded in MessageBoxSeam::History until Clear.

#include "../base/ca_types.h"

#include <QDialog>
#include <QList>
#include <QMap>
#include <functional>

class QLabel;
class QPushButton;

namespace Utils {
namespace Widgets {

struct MessageBoxRequest {
    enum Kind { Information = 1, Question = 2, Error = 3, Warning = 4 };
    int kind = Information;
    QString title;
    QString text;
    QString detail;
    int buttons = 0;
    int defaultButton = -1;
    QMap<int, QString> buttonTexts;
};

class MessageBoxSeam {
public:
    using Answerer = std::function<int(const MessageBoxRequest&)>;
    static void SetAnswerer(Answerer answerer);
    static bool HasAnswerer();
    static int Answer(const MessageBoxRequest& request); // only when HasAnswerer
    static void Record(const MessageBoxRequest& request);
    static QList<MessageBoxRequest> History();
    static void Clear();
};

// A modal box with a kind icon, a title, a content text with detail, and up to two
// buttons (the right one closes it with QMessageBox::Close unless renamed otherwise).
class Nex_MessageBox : public QDialog {
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
    int exec() override;

    // Shows a box for a request (or lets the seam answer); used by the UI context.
    static int Show(QWidget* parent, const MessageBoxRequest& request);

private:
    MessageBoxRequest m_request;
    QLabel* m_title;
    QLabel* m_text;
    QLabel* m_detail;
    QPushButton* m_rightBtn;
};

class Nex_Shadow {
public:
    static int ShadowWidth(); // pixels of the frameless dialogs' shadow, DPI-scaled
};

} // namespace Widgets
} // namespace Utils
