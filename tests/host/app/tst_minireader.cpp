// The reader program as a user runs it: the registration listing, the headless demo, whose
// saved file is checked with qpdf and rendered with pdftoppm, and the start-up timing.

#include "hostfixture.h"

#include <QProcess>
#include <QRegularExpression>

class TestMinireader : public QObject
{
    Q_OBJECT
private slots:
    void listsHostAndPluginRegistrations()
    {
        int code = -1;
        QByteArray errors;
        const QString said = run({"--list-registrations"}, &code, &errors);
        QCOMPARE(code, 0);
        const QStringList lines = said.split('\n');
        QStringList expected{
            "operation v_zoom",          "operation d_delannot", "operation d_digitalsignature",
            "operation batchaddinvoice", "tool t_handtool",      "tool t_textselect"};
        if (errors.contains("loaded libstampannot"))
            expected << "operation ti_stamp"
                     << "operation tp_stamp"
                     << "tool tp_stamp"
                     << "annothandler StampEditHandler";
        for (const QString& line : expected)
            QVERIFY2(lines.contains(line), qPrintable(line));
        QCOMPARE(lines.filter(QRegularExpression("^interceptors ")).size(), 1);
    }

    void demoStampsAndSavesAReadableFile()
    {
        QTemporaryDir out;
        int code = -1;
        const QByteArray said = run({"--demo", out.path(), QStringLiteral(SAMPLES_DIR)}, &code);
        QCOMPARE(code, 0);
        const QString saved = out.filePath(QStringLiteral("contract-stamped.pdf"));
        QVERIFY2(said.contains("saved ") && QFile::exists(saved), said.constData());
        if (PdfTools::Has("qpdf"))
            QVERIFY(PdfTools::Check(saved).isEmpty());
        if (!said.contains("stamped page 1"))
            QSKIP("no stamp plug-in in this build: the unstamped copy was checked");
        if (!PdfTools::Has("pdftoppm"))
            QSKIP("pdftoppm is not installed");
        // The demo puts a 40 mm seal 20 mm from the right and bottom edges of an A4 page.
        const QImage page = PdfTools::Render(saved, 0);
        QVERIFY(PdfTools::RedAround(page, CCA_GPoint(170, 260), 1) > 0);
        QCOMPARE(page.pixelColor(qRound(40 * 72 / 25.4), qRound(250 * 72 / 25.4)),
                 QColor(Qt::white));
    }

    void demoWithoutFolderExplainsItself()
    {
        int code = -1;
        QByteArray errors;
        run({"--demo"}, &code, &errors);
        QCOMPARE(code, 2);
        QVERIFY(errors.contains("usage: minireader --demo <outdir>"));
    }

    void timesTheFirstPageShownAndQuits()
    {
        int code = -1;
        const QByteArray said =
            run({"--first-page-time", QStringLiteral(SAMPLES_DIR "/contract.pdf")}, &code, nullptr,
                QStringLiteral("offscreen"));
        QCOMPARE(code, 0);
        QVERIFY2(QRegularExpression("^first page shown after \\d+\\.\\d ms$",
                                    QRegularExpression::MultilineOption)
                     .match(QString::fromUtf8(said))
                     .hasMatch(),
                 said.constData());
    }

private:
    // Runs the program on the platform given (none: the program chooses); its standard
    // output.
    QByteArray run(const QStringList& args, int* code, QByteArray* errors = nullptr,
                   const QString& platform = QString())
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM")); // the program must pick offscreen itself
        if (!platform.isEmpty())
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(MINIREADER_PATH), args);
        if (!process.waitForFinished(60000))
            process.kill();
        *code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        if (errors)
            *errors = process.readAllStandardError();
        return process.readAllStandardOutput();
    }
};

QTEST_GUILESS_MAIN(TestMinireader)
#include "tst_minireader.moc"
