#include "batchrunner.h"

#include "batchstamp.h"
#include "host/document/documentio.h"
#include "host/document/ig_document.h"
#include "host/framework/g_operation.h"
#include "host/framework/hostcomponents.h"
#include "host/utils/nex_path.h"
#include "pluginmanager.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace
{

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The picker writes its panel's state to "stamps.ini" at every choice, through a lock file
// and a synced rename. A batch run makes a thousand choices: it works on a private copy of
// the user folder's "stamps.ini" in memory-backed storage where there is some, which also
// leaves the user's own settings as they were. Workers copy their parent's copy.
class PrivateUserFolder
{
public:
    bool Make(QString* error)
    {
        QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
        for (const QString& candidate : {base, QStringLiteral("/dev/shm"), QDir::tempPath()}) {
            const QFileInfo info(candidate);
            if (!candidate.isEmpty() && info.isDir() && info.isWritable()) {
                base = candidate;
                break;
            }
        }
        m_dir.reset(new QTemporaryDir(QDir(base).filePath(QStringLiteral("minireader-XXXXXX"))));
        if (!m_dir->isValid()) {
            *error = m_dir->errorString();
            return false;
        }
        const QString ini = QStringLiteral("stamps.ini");
        const QString own = Utils::Nex_Path::UserPath() + ini;
        if (QFileInfo::exists(own) && !QFile::copy(own, m_dir->filePath(ini))) {
            *error =
                QCoreApplication::translate("BatchRunner", "%1 cannot be read.").arg(native(own));
            return false;
        }
        qputenv("STAMPREADER_USER_DIR", QFile::encodeName(m_dir->path()));
        return true;
    }
    void Remove() { m_dir.reset(); }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

// Writes the preview of page `page` of a saved copy; false after a message.
bool writePreviewOf(const BatchOptions& options, const QString& saved, int page, QTextStream& out,
                    QTextStream& err)
{
    QString error;
    if (!BatchStamp::RenderPreview(saved, options.password, page, options.renderPng, &error)) {
        err << "error: " << QCoreApplication::translate("BatchRunner", "preview: %1").arg(error)
            << "\n";
        return false;
    }
    out << QCoreApplication::translate("BatchRunner", "wrote %1 (page %2 of %3)")
               .arg(native(options.renderPng), QString::number(page + 1), native(saved))
        << "\n";
    return true;
}

// Ends a one-file run once its copy (and preview) are written. Taking apart a long
// document, the picker and the application object is a good part of a short run and changes
// nothing anyone keeps (the settings folder is private and goes first), so the process ends
// here, as batch tools do. Sanitizer builds take everything apart, so that the leak checker
// still sees what a run leaves behind.
int leave(int code, PrivateUserFolder& folder, QTextStream& out, QTextStream& err)
{
#ifndef __SANITIZE_ADDRESS__
    out.flush();
    err.flush();
    folder.Remove();
    std::fflush(nullptr);
    ::_exit(code);
#else
    Q_UNUSED(folder);
    Q_UNUSED(out);
    Q_UNUSED(err);
    return code;
#endif
}

} // namespace

int BatchRunner::Main(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    BatchOptions options;
    QString error;
    switch (options.Parse(arguments, &error)) {
    case BatchOptions::Help:
        out << BatchOptions::HelpText();
        return 0;
    case BatchOptions::Error:
        err << "minireader stamp: " << error << "\n" << tr("Try: minireader stamp --help") << "\n";
        return 2;
    case BatchOptions::Ok:
        break;
    }
    // The plug-ins' and the host's traces are for their developers, not for a batch run.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    PrivateUserFolder userFolder;
    if (!userFolder.Make(&error)) {
        err << "error: " << tr("no private settings folder: %1").arg(error) << "\n";
        return 2;
    }
    // One file is read while the reader starts up (after the environment is set: changing
    // it while another thread reads it is not safe).
    std::unique_ptr<OpenAhead> ahead;
    if (options.inputs.size() == 1)
        ahead.reset(new OpenAhead(options.inputs.first(), options.password));

    HostComponents::RegisterAll();
    PluginManager plugins;
    plugins.LoadAll(Utils::Nex_Path::PluginPath(), QCoreApplication::arguments());
    if (!G_Operation::FindGlobal("ti_stamp")) {
        err << "error: "
            << tr("the stamp plug-in is not loaded (%1).")
                   .arg(plugins.Messages().join(QStringLiteral("; ")))
            << "\n";
        return 2;
    }

    QString stampPath;
    QSize stampSize;
    {
        // Goes before the plug-ins do: the picker it leaves behind is plug-in code.
        BatchStamp stamper(options, out, err);
        if (!stamper.FindStamp())
            return 2;
        if (options.inputs.size() == 1) {
            const QString& input = options.inputs.first();
            const QString output = options.OutputFor(input);
            stamper.PreparePicker(); // while the file is still being read
            if (!stamper.StampFile(input, output, ahead.get()))
                return leave(1, userFolder, out, err);
            if (!options.renderPng.isEmpty() &&
                !writePreviewOf(options, output, stamper.FirstStampedPage(), out, err))
                return leave(1, userFolder, out, err);
            return leave(0, userFolder, out, err);
        }
        stampPath = stamper.StampPath();
        stampSize = stamper.StampSize();
    }
    BatchRunner runner(options, stampPath, stampSize, out, err);
    return runner.runWorkers();
}

BatchRunner::BatchRunner(const BatchOptions& options, const QString& stampPath,
                         const QSize& stampSize, QTextStream& out, QTextStream& err)
    : m_options(options), m_stampPath(stampPath), m_stampSize(stampSize), m_out(out), m_err(err)
{
    m_terminal = isatty(STDERR_FILENO) == 1;
}

int BatchRunner::runWorkers()
{
    // Two inputs of the same name would write one copy over the other.
    QHash<QString, QString> writers;
    for (const QString& input : m_options.inputs) {
        File file;
        file.input = input;
        file.output = QFileInfo(m_options.OutputFor(input)).absoluteFilePath();
        const QString taken = writers.value(file.output);
        if (!taken.isEmpty()) {
            m_err << "error: " << native(input) << ": "
                  << tr("its copy %1 would replace the copy of %2; stamp it into another "
                        "folder.")
                         .arg(native(file.output), native(taken))
                  << "\n";
            file.done = true;
            ++m_finished;
            ++m_failed;
        } else {
            writers.insert(file.output, input);
        }
        m_files.append(file);
    }

    m_started = QDateTime::currentMSecsSinceEpoch();
    QEventLoop loop;
    QTimer ticker; // keeps a terminal's line fresh while workers run long
    connect(&ticker, &QTimer::timeout, this, [this] { showProgress(false); });
    if (m_terminal)
        ticker.start(250);
    m_loop = &loop;
    startNext();
    if (m_finished < m_files.size())
        loop.exec();
    m_loop = nullptr;
    ticker.stop();
    showProgress(true);

    bool previewed = true;
    if (!m_options.renderPng.isEmpty()) {
        previewed = false;
        for (const File& file : qAsConst(m_files)) {
            if (!file.ok)
                continue;
            QString error;
            std::unique_ptr<IG_Document> saved(
                DocumentIO::Open(file.output, m_options.password, &error));
            QVector<int> pages;
            if (saved && m_options.pages.Resolve(saved->PageCount(), 0, &pages, &error))
                previewed = writePreviewOf(m_options, file.output, pages.first(), m_out, m_err);
            else
                m_err << "error: " << tr("preview: %1").arg(error) << "\n";
            break;
        }
        if (!previewed && m_failed == m_files.size())
            m_err << "error: " << tr("preview: no file was stamped.") << "\n";
    }
    if (m_failed > 0) {
        QStringList failed;
        for (const File& file : qAsConst(m_files)) {
            if (!file.ok)
                failed << native(file.input);
        }
        m_err << "error: "
              << tr("%1 of %2 files could not be stamped: %3")
                     .arg(m_failed)
                     .arg(m_files.size())
                     .arg(failed.join(QStringLiteral(", ")))
              << "\n";
    }
    m_out.flush();
    m_err.flush();
    return m_failed > 0 || !previewed ? 1 : 0;
}

void BatchRunner::startNext()
{
    while (m_running < m_options.jobs && m_next < m_files.size()) {
        const int index = m_next++;
        File& file = m_files[index];
        if (file.done)
            continue;
        auto* process = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!m_options.password.isEmpty())
            env.insert(QString::fromLatin1(BatchOptions::kPasswordVariable), m_options.password);
        process->setProcessEnvironment(env);
        connect(process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
                [this, index, process](int, QProcess::ExitStatus status) {
                    finishWorker(index, process,
                                 status == QProcess::CrashExit
                                     ? tr("its worker stopped unexpectedly.")
                                     : QString());
                });
        connect(process, &QProcess::errorOccurred, this,
                [this, index, process](QProcess::ProcessError error) {
                    if (error == QProcess::FailedToStart)
                        finishWorker(
                            index, process,
                            tr("its worker could not start: %1").arg(process->errorString()));
                });
        ++m_running;
        process->start(
            QCoreApplication::applicationFilePath(),
            m_options.WorkerArguments(file.input, file.output, m_stampPath, m_stampSize));
    }
}

void BatchRunner::finishWorker(int index, QProcess* process, const QString& problem)
{
    File& file = m_files[index];
    if (file.done)
        return;
    file.done = true;
    const QByteArray said = process->readAllStandardOutput();
    const QByteArray complaints = process->readAllStandardError();
    file.ok = problem.isEmpty() && process->exitStatus() == QProcess::NormalExit &&
              process->exitCode() == 0;
    showProgress(true); // the line gives way to what the worker said
    m_out << QString::fromLocal8Bit(said);
    m_out.flush();
    m_err << QString::fromLocal8Bit(complaints);
    if (!file.ok && !complaints.contains("error: ")) {
        m_err << "error: " << native(file.input) << ": "
              << (problem.isEmpty() ? tr("stamping failed (exit code %1).").arg(process->exitCode())
                                    : problem)
              << "\n";
    }
    m_err.flush();
    process->deleteLater();
    --m_running;
    ++m_finished;
    if (!file.ok)
        ++m_failed;
    startNext();
    showProgress(false);
    if (m_finished == m_files.size() && m_loop)
        m_loop->quit();
}

void BatchRunner::showProgress(bool finished)
{
    // On a terminal the line appears once a run takes a while; asked for, it always does.
    const bool longRun = QDateTime::currentMSecsSinceEpoch() - m_started > 1000;
    if (!m_options.progress && !(m_terminal && longRun))
        return;
    const QString line = tr("stamped %1 of %2 files, %3 failed, %4 running")
                             .arg(m_finished)
                             .arg(m_files.size())
                             .arg(m_failed)
                             .arg(m_running);
    if (m_terminal) {
        // One line, rewritten, and wiped before anything else is written.
        if (finished) {
            if (m_progressShown)
                m_err << "\r" << QString(line.size() + 8, QLatin1Char(' ')) << "\r";
            m_progressShown = false;
        } else {
            m_err << "\r" << line;
            m_progressShown = true;
        }
    } else if (!finished) {
        m_err << line << "\n";
    }
    m_err.flush();
}
