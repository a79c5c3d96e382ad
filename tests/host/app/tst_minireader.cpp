// The reader program as a user runs it: the registration listing, the headless demo, the
// start-up timing, and batch stamping (its page lists and command lines checked in this
// process) on copies of the samples. Saved files are checked with qpdf and pdftoppm.
#include "batchoptions.h"
#include "hostfixture.h"
#include "pagelist.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace
{
QByteArray digest(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}
} // namespace

class TestMinireader : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // Runs the program in the test's folder with no platform set (it chooses one itself, or
    // is given one with -platform); its exit code, output and errors.
    int run(const QStringList& args, QByteArray* said, QByteArray* complaints)
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("STAMPREADER_USER_DIR", m_dir.filePath("user"));
        env.remove("QT_QPA_PLATFORM");
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(MINIREADER_PATH), args);
        if (!process.waitForFinished(120000))
            process.kill();
        *said = process.readAllStandardOutput();
        *complaints = process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("qpdf").isEmpty() ||
            QStandardPaths::findExecutable("pdftoppm").isEmpty())
            QSKIP("qpdf and pdftoppm check the saved files");
        for (const char* name : {"contract.pdf", "landscape.pdf"})
            QVERIFY(QFile::copy(QString(SAMPLES_DIR "/") + name, m_dir.filePath(name)));
        // A4, A4 landscape, A4: the batch asks the picker again for a page of another size.
        const QString contract = m_dir.filePath("contract.pdf");
        QCOMPARE(PdfTools::Run("qpdf", {"--empty", "--pages", contract, "1",
                                        m_dir.filePath("landscape.pdf"), "1", contract, "2", "--",
                                        m_dir.filePath("mixed.pdf")}),
                 0);
        QCOMPARE(
            PdfTools::Run("qpdf", {"--encrypt", "open", "owner", "256", "--",
                                   m_dir.filePath("contract.pdf"), m_dir.filePath("locked.pdf")}),
            0);
    }

    void programModes_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("lines"); // patterns of whole lines it writes
        QTest::newRow("registrations of the host and the plug-in")
            << QStringList{"--list-registrations"} << 0
            << QStringList{"operation v_zoom", "tool t_handtool", "annothandler StampEditHandler",
                           "interceptors \\d+"};
        // No display needed: a terminal without one asks too.
        QTest::newRow("help") << QStringList{"--help"} << 0
                              << QStringList{"Usage: minireader \\[FILE\\.\\.\\.\\]"};
        QTest::newRow("demo without a folder")
            << QStringList{"--demo"} << 2 << QStringList{"usage: minireader --demo <outdir> .*"};
        QTest::newRow("first page time")
            << QStringList{"-platform", "offscreen", "--first-page-time",
                           SAMPLES_DIR "/contract.pdf"}
            << 0 << QStringList{"first page shown after \\d+\\.\\d ms"};
    }
    void programModes()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, lines);
        QByteArray said, errors;
        QCOMPARE(run(args, &said, &errors), exitCode);
        for (const QString& line : lines) {
            const QRegularExpression whole('^' + line + '$', QRegularExpression::MultilineOption);
            QVERIFY2(whole.match(QString::fromUtf8(said + errors)).hasMatch(), qPrintable(line));
        }
    }

    void demoStampsAndSavesAReadableFile()
    {
        QByteArray said, errors;
        QCOMPARE(
            run({"--demo", m_dir.filePath("demo"), QStringLiteral(SAMPLES_DIR)}, &said, &errors),
            0);
        const QString saved = m_dir.filePath("demo/contract-stamped.pdf");
        QVERIFY2(said.contains("saved ") && QFile::exists(saved), said.constData());
        QVERIFY(PdfTools::Check(saved).isEmpty());
        // The demo puts a 40 mm seal 20 mm from the right and bottom edges of an A4 page.
        const QImage page = PdfTools::Render(saved, 0);
        QVERIFY(PdfTools::RedAround(page, CCA_GPoint(170, 260), 1) > 0);
        QCOMPARE(page.pixelColor(qRound(40 * 72 / 25.4), qRound(250 * 72 / 25.4)),
                 QColor(Qt::white));
    }

    void resolvesPageLists_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<QString>("pages"); // from 1, or the start of the message
        QTest::newRow("current") << "current" << 5 << "3";
        QTest::newRow("all") << "ALL" << 3 << "1,2,3";
        QTest::newRow("list and range") << "1,3-5" << 6 << "1,3,4,5";
        QTest::newRow("last") << "last" << 4 << "4";
        QTest::newRow("to the last") << " 2 - last " << 4 << "2,3,4";
        QTest::newRow("each page once, in order") << "5,1,1-2" << 5 << "1,2,5";
        QTest::newRow("range past the end") << "4-9" << 5 << "Page 6 is past the end";
        QTest::newRow("last before its start") << "3-last" << 2 << "The range 3-2 runs backwards";
        QTest::newRow("backwards") << "3-1" << 5 << "The range 3-1 in the page list";
        QTest::newRow("page 0") << "0" << 5 << "\"0\" in the page list is not a page";
        QTest::newRow("empty entry") << "1,,2" << 5 << "The page list \"1,,2\" has an empty";
        QTest::newRow("empty") << " " << 5 << "The page list is empty";
        QTest::newRow("open range") << "2-" << 5 << "\"2-\" in the page list is not";
        QTest::newRow("two dashes") << "1-2-3" << 5 << "\"1-2-3\" in the page list is not";
        QTest::newRow("too large") << "99999999999" << 5 << "\"99999999999\" in the page";
    }
    void resolvesPageLists()
    {
        QFETCH(QString, text);
        QFETCH(int, pageCount);
        QFETCH(QString, pages);
        PageList list;
        QString error;
        QVector<int> indexes;
        if (list.Parse(text, &error) && list.Resolve(pageCount, 2, &indexes, &error)) {
            QStringList numbers;
            for (int index : qAsConst(indexes))
                numbers << QString::number(index + 1);
            QCOMPARE(numbers.join(','), pages);
        } else {
            QVERIFY2(error.startsWith(pages), qPrintable(error));
        }
    }

    void refusesWrongCommandLines_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message"); // the start of it
        auto row = [](const char* name, const char* args, const char* message) {
            QTest::newRow(name) << QString(args).split(' ') << QString(message);
        };
        row("no input", "-s seal.png -o out", "No input file");
        row("no stamp", "-o out a.pdf", "No stamp");
        row("no output", "-s seal.png a.pdf", "No output");
        row("both sides", "-s s.png -o out --left 5 --right 5 a.pdf",
            "Give --right or --left, not");
        row("fractional margin", "-s s.png -o out --top 2.5 a.pdf", "--top 2.5 is not a margin");
        row("zero size", "-s s.png -o out --size 0x30 a.pdf", "--size 0x30 is not a size");
        row("three sides", "-s s.png -o out --size 1x2x3 a.pdf", "--size 1x2x3 is not a size");
        row("pages", "-s s.png -o out -p 2-1 a.pdf", "The range 2-1 in the page list");
        row("a file for many", "-s s.png -o all.pdf a.pdf b.pdf",
            "2 input files go into a folder, but -o names the file all.pdf");
        row("twice", "-s s.png -o out -s other.png a.pdf", "--stamp is given more than once");
        row("no jobs", "-s s.png -o out -j 0 a.pdf", "--jobs 0 is not");
        row("unknown", "-s s.png -o out --colour red a.pdf", "Unknown option 'colour'");
    }
    void refusesWrongCommandLines()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        BatchOptions options;
        QString error;
        QCOMPARE(options.Parse(args, &error), BatchOptions::Error);
        QVERIFY2(error.startsWith(message), qPrintable(error));
    }

    void stampsFiles_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        // Per output file: the pages (from 1) that carry the stamp.
        QTest::addColumn<QVariantMap>("stamped");
        // Of the stamp on the page, millimetres; negative: from the right or bottom edge.
        QTest::addColumn<QPointF>("centre");
        QTest::addColumn<QString>("complaint"); // part of standard error
        auto seal = [](const QString& more) {
            return QStringList{"-s", SAMPLES_DIR "/seal_red.png", "-o", "out"} + more.split(' ');
        };
        // 40 x 30 mm, 10 mm from the right and bottom edges.
        const QString corner = "--size 40x30 --right 10 --bottom 10 ";
        const QPointF at(-30, -25), none;
        const QVariantMap nothing;
        const QVariantList all{1, 2, 3};
        auto pages = [](const char* file, QVariantList list) { return QVariantMap{{file, list}}; };
        // 30 mm wide keeps the picture's shape: 30 x 23 mm, 15 mm from the left, 20 from the top.
        QTest::newRow("page list at the top left")
            << seal("--size 30 --left 15 --top 20 -p 1,last --render-png out/preview.png "
                    "contract.pdf")
            << 0 << pages("contract.pdf", {1, 3}) << QPointF(30, 31.5) << "";
        QTest::newRow("embedded, pages of two sizes") << seal(corner + "-p all --embed mixed.pdf")
                                                      << 0 << pages("mixed.pdf", all) << at << "";
        QTest::newRow("password") << seal(corner + "--password open locked.pdf") << 0
                                  << pages("locked.pdf", {1}) << at << "";
        QTest::newRow("wrong password")
            << seal("--password shut locked.pdf") << 1 << nothing << at << "error: locked.pdf: ";
        QTest::newRow("a locked and a missing file among good ones")
            << seal(corner +
                    "-p all --password open --progress contract.pdf missing.pdf locked.pdf")
            << 1 << QVariantMap{{"contract.pdf", all}, {"locked.pdf", all}} << at
            << "error: missing.pdf: ";
        QTest::newRow("library stamp by name")
            << QStringList{"-s", "ROUND_SEAL", "-o", "out", "landscape.pdf"} << 0
            << pages("landscape.pdf", {1}) << none << "";
        QTest::newRow("unknown library stamp")
            << QStringList{"-s", "no_such_seal", "-o", "out", "contract.pdf"} << 2 << nothing
            << none << "there is no stamp named no_such_seal in the library";
    }
    void stampsFiles()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QVariantMap, stamped);
        QFETCH(QPointF, centre);
        const bool embedded = args.contains("--embed");
        QFETCH(QString, complaint);
        QDir(m_dir.filePath("out")).removeRecursively();
        const QStringList inputs{"contract.pdf", "landscape.pdf", "locked.pdf", "mixed.pdf"};
        QList<QByteArray> before;
        for (const QString& input : inputs)
            before << digest(m_dir.filePath(input));

        QByteArray said;
        QByteArray complaints;
        QCOMPARE(run(QStringList{"stamp"} + args, &said, &complaints), exitCode);
        QVERIFY2(complaints.contains(complaint.toUtf8()), complaints.constData());
        if (args.contains("--progress"))
            QVERIFY2(complaints.contains("stamped 3 of 3 files, 1 failed"), complaints.constData());
        for (int i = 0; i < inputs.size(); ++i)
            QCOMPARE(digest(m_dir.filePath(inputs.at(i))), before.at(i));
        const QStringList written = QDir(m_dir.filePath("out")).entryList({"*.pdf"});
        QCOMPARE(written, stamped.keys());

        for (auto it = stamped.cbegin(); it != stamped.cend(); ++it) {
            QString saved = m_dir.filePath("out/" + it.key());
            QVERIFY2(said.contains("saved " + saved.toUtf8()), said.constData());
            if (it.key() == "locked.pdf") {
                // Still locked with the same password: the checks read a decrypted copy.
                const QString plain = saved + ".plain.pdf";
                QCOMPARE(PdfTools::Run("qpdf", {"--requires-password", saved}), 0);
                QCOMPARE(PdfTools::Run("qpdf", {"--password=open", "--decrypt", saved, plain}), 0);
                saved = plain;
            }
            QCOMPARE(PdfTools::Check(saved), QString());
            const QVariantList pages = it.value().toList();
            const int pageCount = it.key() == "landscape.pdf" ? 1 : 3;
            for (int page = 1; page <= pageCount; ++page) {
                const bool here = pages.contains(page);
                QCOMPARE(PdfTools::AnnotCount(saved, page - 1), here && !embedded ? 1 : 0);
                if (centre.isNull())
                    continue;
                // Embedded stamps are page content: shown with annotations hidden too.
                const QImage image = PdfTools::Render(saved, page - 1, embedded);
                const double width = image.width() * 25.4 / 72, height = image.height() * 25.4 / 72;
                const CCA_GPoint at(centre.x() < 0 ? width + centre.x() : centre.x(),
                                    centre.y() < 0 ? height + centre.y() : centre.y());
                const int red = PdfTools::RedAround(image, at);
                QVERIFY2((red > 0) == here, qPrintable(QString("page %1: %2").arg(page).arg(red)));
            }
        }
        if (args.contains("--render-png")) {
            QImage preview(m_dir.filePath("out/preview.png"));
            QCOMPARE(preview.size(), QSize(794, 1123)); // A4 at 96 dpi
            // Back to 72 dpi, where RedAround measures.
            preview = preview.scaled(595, 842, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            QVERIFY(PdfTools::RedAround(preview, CCA_GPoint(centre.x(), centre.y())) > 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestMinireader)
#include "tst_minireader.moc"
