#include "filedialogseam.h"

namespace Utils
{

namespace
{
struct SeamState {
    QStringList queue;
    FileDialogSeam::Answerer answerer;
    QList<FileDialogRequest> history;
};
SeamState& state()
{
    static SeamState s;
    return s;
}
} // namespace

void FileDialogSeam::Enqueue(const QString& answer)
{
    state().queue.append(answer);
}

void FileDialogSeam::SetAnswerer(Answerer answerer)
{
    state().answerer = std::move(answerer);
}

bool FileDialogSeam::HasAnswer()
{
    return !state().queue.isEmpty() || bool(state().answerer);
}

QString FileDialogSeam::Answer(const FileDialogRequest& request)
{
    if (!state().queue.isEmpty())
        return state().queue.takeFirst();
    const Answerer answerer = state().answerer;
    return answerer ? answerer(request) : QString();
}

void FileDialogSeam::Record(const FileDialogRequest& request)
{
    state().history.append(request);
}

QList<FileDialogRequest> FileDialogSeam::History()
{
    return state().history;
}

void FileDialogSeam::Clear()
{
    state() = SeamState();
}

} // namespace Utils
