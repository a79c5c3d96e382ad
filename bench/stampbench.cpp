// Stamping benchmark: the same transparent picture, 40 x 30 mm, 6 mm from the right and
// bottom edges of every page of a long A4 document, saved (as annotations, and embedded),
// beside peers on the same input in the same run: qpdf --overlay (embedded) and a mutool
// script (both variants). Ours twice: through the document model alone, and as a user
// runs it, `minireader stamp`, which goes through the plug-in's stamp command and picker
// for every page.
//
//   stampbench [--pages N] [--rounds N] [--work DIR] [--samples DIR]     (the table)
//   stampbench --worker annot|embed IN.pdf PICTURE OUT.pdf    (one run of the model)
//
// Every variant runs as a child process: wall time and peak resident memory (wait4's
// ru_maxrss) are that process's own.
#include "benchoptions.h"
#include "host/document/documentio.h"
#include "host/document/ica_streamreader.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_layer.h"
#include "host/document/ig_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

std::string StampJson(int resourceId)
{
    return "{\"RunTime\":false,\"SubType\":\"Stamp\",\"Appearance\":[{\"Type\":\"Image\","
           "\"ResourceID\":" +
           std::to_string(resourceId) + ",\"Width\":40.0,\"Height\":30.0,\"RunTime\":false}]}";
}

// Stamps every page of `doc` at the corner; embedded when asked. False on failure.
bool StampAll(IG_Document* doc, const QString& picture, bool embed)
{
    const std::wstring wide = picture.toStdWString();
    ICA_StreamReader* s = ICA_StreamReader::CreateFileStreamReader(wide.c_str(), 0);
    if (!s)
        return false;
    const int res = doc->AddResource(s, 1, 0);
    s->Release();
    if (res <= 0)
        return false;
    for (int i = 0; i < doc->PageCount(); ++i) {
        IG_Page* page = doc->PageAt(i);
        const float x = page->Width() - 46, y = page->Height() - 36;
        IG_Annot* a = page->NewAnnot(G_AnnotType_Stamp, "Stamp", CCA_GRect(x, y, x + 40, y + 30),
                                     StampJson(res));
        if (!a)
            return false;
        a->SetCreator("bench");
        a->SetCreationDate("2024-01-01 12:00:00");
        if (embed) {
            IG_Layer* layer =
                page->LayerCount() > 0 ? page->LayerAt(page->LayerCount() - 1) : page->NewLayer(-1);
            if (!a->EmbedInto(layer, true) || !page->RemoveAnnot(a->ID(), false))
                return false;
        }
    }
    return true;
}

int Worker(const QStringList& args)
{
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: stampbench --worker annot|embed IN PICTURE OUT\n");
        return 2;
    }
    QString error;
    QElapsedTimer t;
    t.start();
    std::unique_ptr<IG_Document> doc(DocumentIO::Open(args.at(1), &error));
    if (!doc) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const qint64 opened = t.nsecsElapsed();
    if (!StampAll(doc.get(), args.at(2), args.at(0) == QLatin1String("embed"))) {
        std::fprintf(stderr, "stamping failed\n");
        return 1;
    }
    const qint64 placed = t.nsecsElapsed();
    if (!doc->SaveAs(args.at(3), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    if (qEnvironmentVariableIsSet("STAMPBENCH_PHASES"))
        std::fprintf(stderr, "open %.1f ms, place %.1f ms, save %.1f ms\n", opened / 1e6,
                     (placed - opened) / 1e6, (t.nsecsElapsed() - placed) / 1e6);
    // The job is done and the process ends: like any batch tool, it leaves the memory to
    // the system instead of taking a thousand pages' objects apart one by one.
    (void)doc.release();
    return 0;
}

struct Result {
    QString name;
    bool ok = false;
    double seconds = 0;
    long peakKiB = 0;
    qint64 bytes = 0;
    QString check;
};

// Runs a program as a child of its own; its wall time and peak memory.
Result RunChild(const QString& name, const QString& program, const QStringList& args,
                const QString& output, bool check)
{
    Result r;
    r.name = name;
    QFile::remove(output);
    std::vector<std::string> store;
    store.push_back(program.toStdString());
    for (const QString& a : args)
        store.push_back(a.toStdString());
    std::vector<char*> argv;
    for (std::string& s : store)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        // Quiet peers: their warnings are not the figures.
        std::freopen("/dev/null", "w", stdout);
        // The reader chooses its own platform for a batch, as it does for a user who sets none.
        if (program == QStringLiteral(MINIREADER_PATH))
            unsetenv("QT_QPA_PLATFORM");
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {
    };
    if (pid < 0 || wait4(pid, &status, 0, &usage) < 0)
        return r;
    r.seconds = timer.nsecsElapsed() / 1e9;
    r.peakKiB = usage.ru_maxrss;
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && QFileInfo::exists(output);
    r.bytes = QFileInfo(output).size();
    if (r.ok && check) {
        QProcess qpdf;
        qpdf.start(QStringLiteral("qpdf"), {QStringLiteral("--check"), output});
        qpdf.waitForFinished(600000);
        r.check = qpdf.exitStatus() == QProcess::NormalExit && qpdf.exitCode() == 0
                      ? QStringLiteral("ok")
                      : QStringLiteral("FAILED");
    }
    return r;
}

bool MakeInput(const QString& sample, int pages, const QString& out)
{
    QStringList args{QStringLiteral("--empty"), QStringLiteral("--pages")};
    for (int i = 0; i < pages; ++i)
        args << sample << QStringLiteral("1");
    args << QStringLiteral("--") << out;
    return QProcess::execute(QStringLiteral("qpdf"), args) == 0;
}

// One A4 page with the picture embedded at the corner: the overlay for qpdf.
bool MakeStampPage(const QString& picture, const QString& out)
{
    std::unique_ptr<IG_Document> doc(DocumentIO::CreateBlank({CCA_GSize(210, 297)}));
    QString error;
    return StampAll(doc.get(), picture, true) && doc->SaveAs(out, &error);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args.first() == QLatin1String("--worker"))
        return Worker(args.mid(1));

    const BenchOptions options =
        BenchOptions::Read(args, QStringLiteral("stampbench"), BenchOptions());
    const int pages = options.pages, rounds = options.rounds;
    const QString &work = options.work, &samples = options.samples;
    const QString script = QStringLiteral(BENCH_DIR "/mutool_stamp.js");
    const QDir w(work);
    const QString input = w.filePath(QStringLiteral("in.pdf"));
    const QString picture = QDir(samples).filePath(QStringLiteral("seal_red.png"));
    const QString stampPage = w.filePath(QStringLiteral("stamp.pdf"));
    if (!MakeInput(QDir(samples).filePath(QStringLiteral("contract.pdf")), pages, input) ||
        !MakeStampPage(picture, stampPage)) {
        std::fprintf(stderr, "could not make the input files in %s\n", qPrintable(work));
        return 1;
    }
    const qint64 inBytes = QFileInfo(input).size();
    const qint64 picBytes = QFileInfo(picture).size();
    const QString self = QCoreApplication::applicationFilePath();
    const QString mutool = QStringLiteral("mutool");

    struct Variant {
        QString name, program;
        QStringList args;
        QString output;
        int peer; // the row whose time the ratio divides by (−1: none)
    };
    auto out = [&w](const char* n) { return w.filePath(QString::fromLatin1(n)); };
    const QString reader = QStringLiteral(MINIREADER_PATH);
    const QStringList stampArgs{"stamp", "--stamp",  picture, "--size",  "40x30", "--right",
                                "6",     "--bottom", "6",     "--pages", "all"};
    const std::vector<Variant> variants = {
        {"stampannot, annotations",
         self,
         {"--worker", "annot", input, picture, out("ours-annot.pdf")},
         out("ours-annot.pdf"),
         1},
        {"mutool run, annotations",
         mutool,
         {"run", script, "annot", input, picture, out("mutool-annot.pdf")},
         out("mutool-annot.pdf"),
         -1},
        {"stampannot, embedded",
         self,
         {"--worker", "embed", input, picture, out("ours-embed.pdf")},
         out("ours-embed.pdf"),
         4},
        {"qpdf --overlay, embedded",
         QStringLiteral("qpdf"),
         {input, "--overlay", stampPage, "--repeat=1", "--", out("qpdf-overlay.pdf")},
         out("qpdf-overlay.pdf"),
         4},
        {"mutool run, embedded",
         mutool,
         {"run", script, "embed", input, picture, out("mutool-embed.pdf")},
         out("mutool-embed.pdf"),
         -1},
        {"minireader stamp, annots", reader,
         stampArgs + QStringList{"--output", out("reader-annot.pdf"), input},
         out("reader-annot.pdf"), 1},
        {"minireader stamp, embedded", reader,
         stampArgs + QStringList{"--embed", "--output", out("reader-embed.pdf"), input},
         out("reader-embed.pdf"), 4},
    };
    // Every variant once per round, in turn, so that a busy moment of the machine falls on
    // all of them alike; each figure is the median of its rounds.
    std::vector<std::vector<Result>> runs(variants.size());
    for (int round = 0; round < rounds; ++round)
        for (size_t v = 0; v < variants.size(); ++v)
            runs[v].push_back(RunChild(variants[v].name, variants[v].program, variants[v].args,
                                       variants[v].output, round == rounds - 1));
    std::vector<Result> results;
    for (std::vector<Result>& r : runs) {
        std::sort(r.begin(), r.end(),
                  [](const Result& a, const Result& b) { return a.seconds < b.seconds; });
        Result median = r[r.size() / 2];
        median.ok = std::all_of(r.begin(), r.end(), [](const Result& x) { return x.ok; });
        for (const Result& x : r) {
            median.peakKiB = std::max(median.peakKiB, x.peakKiB);
            if (!x.check.isEmpty())
                median.check = x.check;
        }
        results.push_back(median);
    }

    std::printf("Stamping %d A4 pages (input %lld bytes, picture %lld bytes, 473x355 PNG "
                "at 40x30 mm); whole processes, median of %d rounds\n\n",
                pages, static_cast<long long>(inBytes), static_cast<long long>(picBytes), rounds);
    std::printf("%-26s %8s %10s %10s %11s %12s %7s\n", "variant", "wall s", "to mutool", "peak MiB",
                "output B", "B/page added", "check");
    for (size_t v = 0; v < results.size(); ++v) {
        const Result& r = results[v];
        if (!r.ok) {
            std::printf("%-26s %8s\n", qPrintable(r.name), "FAILED");
            continue;
        }
        const int peer = variants[v].peer;
        const QString ratio =
            peer >= 0 && results[size_t(peer)].seconds > 0
                ? QString::number(r.seconds / results[size_t(peer)].seconds, 'f', 2)
                : QStringLiteral("-");
        std::printf("%-26s %8.3f %10s %10.1f %11lld %12.1f %7s\n", qPrintable(r.name), r.seconds,
                    qPrintable(ratio), r.peakKiB / 1024.0, static_cast<long long>(r.bytes),
                    double(r.bytes - inBytes - picBytes) / pages, qPrintable(r.check));
    }
    const qint64 budget = inBytes + picBytes + 600LL * pages;
    std::printf("\n");
    for (int i : {0, 2, 5, 6}) {
        const Result& ours = results[size_t(i)];
        const Result& peer = results[size_t(variants[size_t(i)].peer)];
        std::printf("%s: %s than mutool (ratio %.2f); output %lld <= budget %lld "
                    "(input + picture + 600 B/page): %s\n",
                    qPrintable(ours.name),
                    ours.ok && peer.ok && ours.seconds <= peer.seconds ? "no slower" : "SLOWER",
                    peer.seconds > 0 ? ours.seconds / peer.seconds : 0.0,
                    static_cast<long long>(ours.bytes), static_cast<long long>(budget),
                    ours.ok && ours.bytes <= budget ? "yes" : "NO");
    }
    // The whole job through the reader against the other peer, qpdf --overlay, which
    // embeds.
    for (int i : {5, 6}) {
        const Result& ours = results[size_t(i)];
        const Result& qpdf = results[3];
        std::printf("%s: %s than qpdf --overlay (ratio %.2f)\n", qPrintable(ours.name),
                    ours.ok && qpdf.ok && ours.seconds <= qpdf.seconds ? "no slower" : "SLOWER",
                    qpdf.seconds > 0 ? ours.seconds / qpdf.seconds : 0.0);
    }
    return 0;
}
