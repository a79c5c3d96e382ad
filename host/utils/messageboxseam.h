#pragma once
// The seam every message box of the reader goes through.
//
// When SetAnswerer is given a function, no window is shown: the function receives each
// request and returns the button to report (a QMessageBox::StandardButton value). Every
// request, shown or answered, is recorded in History until Clear. Tests and batch runs
// use it to answer boxes without a person; SetAnswerer(nullptr) shows windows again.

#include <QList>
#include <QMap>
#include <QString>
#include <functional>

namespace Utils
{
namespace Widgets
{

struct MessageBoxRequest {
    enum Kind { Information = 1, Question = 2, Error = 3, Warning = 4 };
    int kind = Information;
    QString title;
    QString text;
    QString detail;
    int buttons = 0;        // QMessageBox::StandardButtons; 0: OK alone
    int defaultButton = -1; // −1: none
    QMap<int, QString> buttonTexts;
};

class MessageBoxSeam
{
public:
    using Answerer = std::function<int(const MessageBoxRequest&)>;
    static void SetAnswerer(Answerer answerer);
    static bool HasAnswerer();
    static int Answer(const MessageBoxRequest& request); // only when HasAnswerer
    static void Record(const MessageBoxRequest& request);
    static QList<MessageBoxRequest> History();
    static void Clear();
};

} // namespace Widgets
} // namespace Utils
