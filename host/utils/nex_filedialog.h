#pragma once
// The reader's file dialogs. Each call goes through FileDialogSeam (filedialogseam.h), so
// tests and batch runs answer without a window; otherwise the platform dialog is shown.
// An empty result means the user cancelled.

#include <QString>

class QWidget;

namespace Utils
{
namespace Widgets
{

class Nex_FileDialog
{
public:
    static QString getOpenFileName(QWidget* parent, const QString& caption,
                                   const QString& directory, const QString& filter);
    static QString getSaveFileName(QWidget* parent, const QString& caption,
                                   const QString& directory, const QString& filter);
    static QString getExistingDirectory(QWidget* parent, const QString& caption,
                                        const QString& directory);
};

} // namespace Widgets
} // namespace Utils
