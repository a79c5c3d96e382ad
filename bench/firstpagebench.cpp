// Start-up benchmark: the time from starting the reader on a long A4 document until the
// first page of its view is painted (`minireader --first-page-time FILE`, which prints
// that moment and quits), beside peers drawing the first page of the same file in the same
// run: pdftoppm and mutool draw, whole processes, at the view's 96 dpi.
//
//   firstpagebench [--pages N] [--rounds N] [--work DIR] [--samples DIR]
//
// The reader's figure is taken by this program when the reader's line arrives, so it holds
// the process start as well; the reader's own count (from its main()) is shown beside it.
#include "benchoptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

constexpr double kTargetSeconds = 0.3;

struct Sample {
    bool ok = false;
    double seconds = 0;
    double ownMs = -1; // the reader's own count, when it gave one
};

// The reader: until it says the first page is shown.
Sample RunReader(const QString& reader, const QString& input)
{
    Sample s;
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(reader, {QStringLiteral("--first-page-time"), input});
    static const QRegularExpression shown(QStringLiteral("first page shown after ([0-9.]+) ms"));
    QByteArray said;
    while (process.waitForReadyRead(60000)) {
        said += process.readAllStandardOutput();
        const QRegularExpressionMatch m = shown.match(QString::fromUtf8(said));
        if (m.hasMatch()) {
            s.seconds = timer.nsecsElapsed() / 1e9;
            s.ownMs = m.captured(1).toDouble();
            s.ok = true;
            break;
        }
    }
    if (!process.waitForFinished(60000))
        process.kill();
    s.ok = s.ok && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return s;
}

// A peer: the whole process, and the picture it should have written.
Sample RunPeer(const QString& program, const QStringList& args, const QString& output)
{
    Sample s;
    QFile::remove(output);
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, args);
    const bool finished = process.waitForFinished(60000);
    s.seconds = timer.nsecsElapsed() / 1e9;
    s.ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 &&
           QFileInfo::exists(output);
    return s;
}

bool MakeInput(const QString& sample, int pages, const QString& out)
{
    QStringList args{QStringLiteral("--empty"), QStringLiteral("--pages")};
    for (int i = 0; i < pages; ++i)
        args << sample << QStringLiteral("1");
    args << QStringLiteral("--") << out;
    return QProcess::execute(QStringLiteral("qpdf"), args) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const BenchOptions options =
        BenchOptions::Read(args, QStringLiteral("firstpagebench"), BenchOptions());
    const int pages = options.pages, rounds = options.rounds;
    const QString &work = options.work, &samples = options.samples;
    const QDir w(work);
    const QString input = w.filePath(QStringLiteral("first.pdf"));
    if (!MakeInput(QDir(samples).filePath(QStringLiteral("contract.pdf")), pages, input)) {
        std::fprintf(stderr, "could not make the input file in %s\n", qPrintable(work));
        return 1;
    }
    const QString reader = QStringLiteral(MINIREADER_PATH);
    const QString pdftoppmOut = w.filePath(QStringLiteral("pdftoppm"));
    const QString mutoolOut = w.filePath(QStringLiteral("mutool.png"));

    // Each variant once per round, in turn, so that a busy moment falls on all alike.
    std::vector<Sample> ours, poppler, mupdf;
    for (int round = 0; round < rounds; ++round) {
        ours.push_back(RunReader(reader, input));
        poppler.push_back(
            RunPeer(QStringLiteral("pdftoppm"),
                    {"-f", "1", "-l", "1", "-r", "96", "-png", "-singlefile", input, pdftoppmOut},
                    pdftoppmOut + QStringLiteral(".png")));
        mupdf.push_back(RunPeer(QStringLiteral("mutool"),
                                {"draw", "-q", "-r", "96", "-o", mutoolOut, input, "1"},
                                mutoolOut));
    }
    auto median = [](std::vector<Sample> v) {
        std::sort(v.begin(), v.end(),
                  [](const Sample& a, const Sample& b) { return a.seconds < b.seconds; });
        Sample m = v[v.size() / 2];
        m.ok = std::all_of(v.begin(), v.end(), [](const Sample& s) { return s.ok; });
        return m;
    };
    const Sample reader1 = median(ours);
    const Sample poppler1 = median(poppler);
    const Sample mupdf1 = median(mupdf);

    std::printf("First page of a %d-page A4 document shown, from process start; median of %d "
                "rounds\n\n",
                pages, rounds);
    std::printf("%-34s %8s %16s\n", "variant", "wall s", "own count ms");
    auto row = [](const char* name, const Sample& s) {
        if (!s.ok) {
            std::printf("%-34s %8s\n", name, "FAILED");
            return;
        }
        std::printf("%-34s %8.3f %16s\n", name, s.seconds,
                    s.ownMs >= 0 ? qPrintable(QString::number(s.ownMs, 'f', 1)) : "-");
    };
    row("minireader, first page painted", reader1);
    row("pdftoppm, page 1 at 96 dpi", poppler1);
    row("mutool draw, page 1 at 96 dpi", mupdf1);
    std::printf("\nminireader: first page shown in %.3f s: %s the %.1f s target\n", reader1.seconds,
                reader1.ok && reader1.seconds < kTargetSeconds ? "within" : "OVER", kTargetSeconds);
    return 0;
}
