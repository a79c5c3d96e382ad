#pragma once
// The seam every file dialog of the reader goes through (use Nex_FileDialog, never
// QFileDialog directly).
//
// Answers queued with Enqueue are handed out first, one per request, without showing a
// window; else, when an answerer is set, it answers; else the platform dialog is shown.
// An empty answer means the user cancelled. Every request is recorded in History.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace Utils
{

struct FileDialogRequest {
    enum Kind { OpenFile = 1, SaveFile = 2, ExistingDirectory = 3 };
    int kind = OpenFile;
    QString caption;
    QString directory;
    QString filter;
};

class FileDialogSeam
{
public:
    using Answerer = std::function<QString(const FileDialogRequest&)>;
    static void Enqueue(const QString& answer);
    static void SetAnswerer(Answerer answerer);
    static bool HasAnswer(); // a queued answer or an answerer exists
    // Only when HasAnswer: the next queued answer, else the answerer's.
    static QString Answer(const FileDialogRequest& request);
    static void Record(const FileDialogRequest& request);
    static QList<FileDialogRequest> History();
    static void Clear(); // drops the history, the queue and the answerer
};

} // namespace Utils
