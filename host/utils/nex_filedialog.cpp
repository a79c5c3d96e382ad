#include "nex_filedialog.h"

#include "filedialogseam.h"

#include <QFileDialog>

namespace Utils
{
namespace Widgets
{

namespace
{
QString ask(int kind, QWidget* parent, const QString& caption, const QString& directory,
            const QString& filter)
{
    FileDialogRequest request;
    request.kind = kind;
    request.caption = caption;
    request.directory = directory;
    request.filter = filter;
    FileDialogSeam::Record(request);
    if (FileDialogSeam::HasAnswer())
        return FileDialogSeam::Answer(request);
    switch (kind) {
    case FileDialogRequest::SaveFile:
        return QFileDialog::getSaveFileName(parent, caption, directory, filter);
    case FileDialogRequest::ExistingDirectory:
        return QFileDialog::getExistingDirectory(parent, caption, directory);
    default:
        return QFileDialog::getOpenFileName(parent, caption, directory, filter);
    }
}
} // namespace

QString Nex_FileDialog::getOpenFileName(QWidget* parent, const QString& caption,
                                        const QString& directory, const QString& filter)
{
    return ask(FileDialogRequest::OpenFile, parent, caption, directory, filter);
}

QString Nex_FileDialog::getSaveFileName(QWidget* parent, const QString& caption,
                                        const QString& directory, const QString& filter)
{
    return ask(FileDialogRequest::SaveFile, parent, caption, directory, filter);
}

QString Nex_FileDialog::getExistingDirectory(QWidget* parent, const QString& caption,
                                             const QString& directory)
{
    return ask(FileDialogRequest::ExistingDirectory, parent, caption, directory, QString());
}

} // namespace Widgets
} // namespace Utils
