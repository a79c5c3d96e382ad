// The reader program as a user runs it: the registration listing and the headless demo,
// whose saved file is checked with qpdf and rendered with pdftoppm.

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace
{
// Runs a checking program quietly; its exit code.
int check(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
} // namespace

class TestMinireader : public QObject
{
    Q_OBJECT
private slots:
    void listsHostAndPluginRegistrations()
    {
        int code = -1;
        QByteArray errors;
        const QList<QByteArray> lines = run({"--list-registrations"}, &code, &errors).split('\n');
        QCOMPARE(code, 0);
        for (const char* expected :
             {"operation v_zoom", "operation d_delannot", "operation d_digitalsignature",
              "operation batchaddinvoice", "tool t_handtool", "tool t_textselect"})
            QVERIFY2(lines.contains(expected), expected);
        QVERIFY(std::any_of(lines.begin(), lines.end(),
                            [](const QByteArray& l) { return l.startsWith("interceptors "); }));
        if (errors.contains("loaded libstampannot")) {
            for (const char* expected : {"operation ti_stamp", "operation tp_stamp", "tool tp_stamp",
                                         "annothandler StampEditHandler"})
                QVERIFY2(lines.contains(expected), expected);
        }
    }

    void demoStampsAndSavesAReadableFile()
    {
        QTemporaryDir out;
        int code = -1;
        const QByteArray said = run({"--demo", out.path(), QStringLiteral(SAMPLES_DIR)}, &code);
        QCOMPARE(code, 0);
        const QString saved = out.filePath(QStringLiteral("contract-stamped.pdf"));
        QVERIFY2(said.contains("saved "), said.constData());
        QVERIFY(QFile::exists(saved));

        const QString qpdf = QStandardPaths::findExecutable(QStringLiteral("qpdf"));
        if (!qpdf.isEmpty())
            QCOMPARE(check(qpdf, {"--check", saved}), 0);
        if (!said.contains("stamped page 1"))
            QSKIP("no stamp plug-in in this build: the unstamped copy was checked");
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm is not installed");
        // The demo puts a 40 mm seal 20 mm from the right and bottom edges of an A4 page.
        const QString prefix = out.filePath(QStringLiteral("page"));
        QCOMPARE(check(pdftoppm, {"-r", "72", "-f", "1", "-l", "1", "-png", saved, prefix}), 0);
        QImage page(prefix + QStringLiteral("-1.png"));
        QVERIFY(!page.isNull());
        const double px = 72.0 / 25.4;
        const QColor seal = page.pixelColor(qRound(170 * px), qRound((297 - 20 - 20 + 3) * px));
        QVERIFY2(seal.red() > 150 && seal.green() < 120, qPrintable(seal.name()));
        const QColor blank = page.pixelColor(qRound(40 * px), qRound(250 * px));
        QCOMPARE(blank, QColor(Qt::white));
    }

    void demoWithoutFolderExplainsItself()
    {
        int code = -1;
        QByteArray errors;
        run({"--demo"}, &code, &errors);
        QCOMPARE(code, 2);
        QVERIFY(errors.contains("usage: minireader --demo <outdir>"));
    }

private:
    QByteArray run(const QStringList& args, int* exitCode, QByteArray* errors = nullptr)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM")); // the program must pick offscreen itself
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(MINIREADER_PATH), args);
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
        }
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        if (errors)
            *errors = process.readAllStandardError();
        return process.readAllStandardOutput();
    }
};

QTEST_GUILESS_MAIN(TestMinireader)
#include "tst_minireader.moc"
