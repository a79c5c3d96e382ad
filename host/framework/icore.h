#pragma once

class QWidget;

namespace Core
{
// Parent windows for the reader's dialogs.
class ICore
{
public:
    static QWidget* mainWindow();
    static QWidget* dialogParent(); // the active modal dialog, else the main window
    static void setMainWindow(QWidget* window);
};
} // namespace Core
