#include "nex_inputdialog.h"

#include "textinputseam.h"

#include <QInputDialog>
#include <QLineEdit>

namespace Utils
{
namespace Widgets
{

QString Nex_InputDialog::getPassword(QWidget* parent, const QString& title, const QString& label,
                                     bool* ok)
{
    TextInputRequest request;
    request.title = title;
    request.label = label;
    request.password = true;
    TextInputSeam::Record(request);
    bool accepted = false;
    QString text;
    if (TextInputSeam::HasAnswerer())
        accepted = TextInputSeam::Answer(request, &text);
    else
        text =
            QInputDialog::getText(parent, title, label, QLineEdit::Password, QString(), &accepted);
    if (ok)
        *ok = accepted;
    return accepted ? text : QString();
}

} // namespace Widgets
} // namespace Utils
