#pragma once
// The reader's text-input dialogs. Each call goes through TextInputSeam
// (textinputseam.h), so tests and batch runs answer without a window; otherwise a modal
// dialog is shown.

#include <QString>

class QWidget;

namespace Utils
{
namespace Widgets
{

class Nex_InputDialog
{
public:
    // Asks for a password (typed text hidden). `ok` is false when the user cancelled.
    static QString getPassword(QWidget* parent, const QString& title, const QString& label,
                               bool* ok);
};

} // namespace Widgets
} // namespace Utils
