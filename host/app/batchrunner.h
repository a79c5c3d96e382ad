#pragma once
// `minireader stamp`: reads the command line, loads the plug-ins, finds the stamp once and
// stamps the files. One file is stamped in this process (BatchStamp). Many files are
// stamped by workers, child processes running `minireader stamp` on one file each, as
// many at once as asked (the reader's objects all live on one GUI thread, so a process
// is the unit of parallel work); this process shows the progress, passes on what each
// worker says and collects their exit codes.

#include "batchoptions.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QVector>

class QEventLoop;
class QProcess;
class QTextStream;

class BatchRunner : public QObject
{
    Q_OBJECT
public:
    // The command with the arguments after "stamp"; returns the exit code (0 every file
    // stamped, 1 some file failed, 2 nothing tried).
    static int Main(const QStringList& arguments, QTextStream& out, QTextStream& err);

private:
    BatchRunner(const BatchOptions& options, const QString& stampPath, const QSize& stampSize,
                QTextStream& out, QTextStream& err);
    int runWorkers();
    void startNext();
    void finishWorker(int file, QProcess* process, const QString& problem);
    void showProgress(bool finished);
    bool writePreview();

    struct File {
        QString input;
        QString output;
        bool done = false;
        bool ok = false;
    };

    const BatchOptions& m_options;
    QString m_stampPath;
    QSize m_stampSize;
    QTextStream& m_out;
    QTextStream& m_err;
    QVector<File> m_files;
    QEventLoop* m_loop = nullptr; // while the workers run
    int m_next = 0;
    int m_running = 0;
    int m_finished = 0;
    int m_failed = 0;
    bool m_terminal = false;
    bool m_progressShown = false;
    qint64 m_started = 0; // ms since the epoch
};
