// Signed and protected files: saving appends the changes so signatures stay valid, embedding
// into a signed document asks first, and protected files open with their password in the
// reader and stay protected. Checked with qpdf, pdfsig and mutool.
#include "host/utils/textinputseam.h"
#include "hostfixture.h"
#include "mainwindow.h"
#include "pdftestutil.h"

#include <QMessageBox>

using namespace PdfTestUtil;

namespace
{
// The embed operation belongs to the plug-in: this one does what it does.
class EmbedStandIn : public G_Operation
{
public:
    G_Operation* Clone() override
    {
        auto* op = new EmbedStandIn;
        op->CopyFrom(this);
        return op;
    }
    const char* Name() override { return "d_embedpageannot"; }
    int AuthorityType() override { return 2; }
    int DoAction() override
    {
        IG_Page* page = GDocument()->PageAt(0);
        IG_Annot* a = page->AnnotAt(page->AnnotCount() - 1);
        return a->EmbedInto(page->LayerAt(page->LayerCount() - 1), true) &&
               page->RemoveAnnot(a->ID(), false);
    }
};
} // namespace

class TestPdfUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void signedFileStaysValid_data()
    {
        QTest::addColumn<QStringList>("qpdfArgs"); // how the unsigned input is made
        QTest::addColumn<bool>("linearize");       // the signed file is linearized
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("section"); // what the appended section holds
        QTest::newRow("cross-reference table")
            << QStringList() << false << "" << QByteArray("\nxref\n");
        QTest::newRow("cross-reference streams")
            << QStringList{"--object-streams=generate"} << false << "" << QByteArray("/Type /XRef");
        QTest::newRow("linearized") << QStringList() << true << "" << QByteArray("\nxref\n");
        QTest::newRow("encrypted") << QStringList{"--encrypt", "pw", "owner", "256", "--"} << false
                                   << "pw" << QByteArray("\nxref\n");
    }
    void signedFileStaysValid()
    {
        QFETCH(QStringList, qpdfArgs);
        QFETCH(bool, linearize);
        QFETCH(QString, password);
        QFETCH(QByteArray, section);
        const QString input = Path("input.pdf"), path = Path("signed.pdf");
        QFile::remove(input);
        QCOMPARE(Run("qpdf", qpdfArgs + QStringList{Sample("contract.pdf"), input}), 0);
        const QString problem = SignPdf(input, path, m_dir.path(), linearize, password);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(PdfSig(path, password).contains("Total document signed"));

        auto doc = OpenPdf(path, password);
        QVERIFY(doc);
        QVERIFY(doc->HasSignatures());
        IG_Annot* seal = doc->PageAt(0)->AnnotAt(0);
        QVERIFY(seal && seal->IsSignature() && seal->IsLocked());
        QVERIFY(!doc->PageAt(0)->RemoveAnnot(seal->ID(), false));

        QByteArray before = ReadFile(path);
        const int res = AddSeal(doc.get());
        for (int round = 0; round < 2; ++round) { // saving again keeps the first update
            Stamp(doc->PageAt(round + 1), res, CornerRect(doc->PageAt(round + 1)));
            G_SaveReport report;
            QString error;
            QVERIFY2(doc->SaveAs(path, &error, &report), qPrintable(error));
            QVERIFY(report.incremental && !report.rewritten);
            const QByteArray after = ReadFile(path);
            QVERIFY(after.size() > before.size() && after.startsWith(before));
            QVERIFY(after.mid(before.size()).contains(section));
            QString check;
            QVERIFY2(QpdfCheck(path, &check, password), qPrintable(check));
            const QString sig = PdfSig(path, password);
            QVERIFY2(sig.contains("Signature is Valid.") && sig.contains("Not total document"),
                     qPrintable(sig));
            before = after;
        }
        QCOMPARE(AnnotSubtypes(path, password), QStringList({"Widget", "Stamp", "Stamp"}));
        // Nothing changed since: nothing is written.
        QString error;
        QVERIFY(doc->SaveAs(path, &error));
        QCOMPARE(ReadFile(path), before);
    }

    // A file qpdf had to repair cannot be updated: it is written anew and the save says so.
    void repairedFileIsRewritten()
    {
        QByteArray bytes = ReadFile(Sample("contract.pdf"));
        bytes.insert(bytes.indexOf("1 0 obj"), "\n\n\n\n"); // every offset a little off
        const QString path = Path("repaired.pdf");
        QVERIFY(WriteFile(path, bytes));
        auto doc = OpenPdf(path);
        QVERIFY(doc);
        Stamp(doc->PageAt(0), AddSeal(doc.get()), CornerRect(doc->PageAt(0)));
        G_SaveReport report;
        QString error;
        QVERIFY2(doc->SaveAs(path, &error, &report), qPrintable(error));
        QVERIFY(report.rewritten && !report.incremental);
        QVERIFY2(report.reason.contains("repaired"), qPrintable(report.reason));
        QVERIFY(QpdfCheck(path));
        QCOMPARE(AnnotSubtypes(path).value(0), QStringLiteral("Stamp"));
    }

    void embedAsksOnSignedDocuments_data()
    {
        QTest::addColumn<bool>("isSigned");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("embedded");
        QTest::newRow("signed, declined") << true << int(QMessageBox::No) << false;
        QTest::newRow("signed, closed") << true << 0 << false;
        QTest::newRow("signed, accepted") << true << int(QMessageBox::Yes) << true;
        QTest::newRow("unsigned: not asked") << false << int(QMessageBox::No) << true;
    }
    void embedAsksOnSignedDocuments()
    {
        QFETCH(bool, isSigned);
        QFETCH(int, answer);
        QFETCH(bool, embedded);
        const QString signedPath = Path("embed-signed.pdf");
        if (!QFile::exists(signedPath)) {
            const QString problem = SignPdf(Sample("contract.pdf"), signedPath, m_dir.path());
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
        EmbedStandIn standIn;
        standIn.RegisterToGlobal();
        HostFixture host;
        QString error;
        QVERIFY2(host.OpenFile(isSigned ? signedPath : Sample("contract.pdf"), &error),
                 qPrintable(error));
        IG_Page* page = host.Document()->PageAt(0);
        IG_Annot* stamp = host.AddStamp(0, CCA_GRect(20, 20, 60, 50));
        IG_Layer* layer = page->LayerAt(page->LayerCount() - 1);
        const int objects = layer->ObjectCount();
        host.AnswerMessageBoxes(answer);
        QCOMPARE(host.Run("d_embedpageannot"), embedded ? 1 : 0);
        const QList<Utils::Widgets::MessageBoxRequest> boxes = host.MessageBoxes();
        QCOMPARE(boxes.size(), isSigned ? 1 : 0);
        if (isSigned)
            QVERIFY2(boxes.first().text.contains("signed"), qPrintable(boxes.first().text));
        QCOMPARE(stamp->IsOnPage(), !embedded);
        QCOMPARE(layer->ObjectCount(), objects + (embedded ? 1 : 0));
    }

    // Opened in the reader with its password asked in a dialog, asked again when wrong.
    // (Saving a protected file is a row of signedFileStaysValid.)
    void protectedFile()
    {
        const QString path = Path("protected.pdf");
        QCOMPARE(Run("qpdf",
                     {"--encrypt", "user pw", "owner", "256", "--", Sample("contract.pdf"), path}),
                 0);
        HostFixture host;
        host.AnswerMessageBoxes(QMessageBox::Ok);
        QStringList answers{"wrong", "user pw"}, labels; // then Cancel
        Utils::TextInputSeam::SetAnswerer([&](const Utils::TextInputRequest& r, QString* text) {
            labels << r.label;
            if (!r.password || answers.isEmpty())
                return false;
            *text = answers.takeFirst();
            return true;
        });
        MainWindow window;
        QVERIFY(window.OpenFile(path));
        QCOMPARE(labels.size(), 2);
        QVERIFY2(labels.at(1).contains("not correct"), qPrintable(labels.at(1)));
        QCOMPARE(window.View()->GDocument()->PageCount(), 3);
        // Cancelled: nothing opens and no error is shown.
        QVERIFY(window.CloseTab(0));
        const int boxes = host.MessageBoxes().size();
        QVERIFY(!window.OpenFile(path));
        QCOMPARE(labels.size(), 3);
        QCOMPARE(host.MessageBoxes().size(), boxes);
        Utils::TextInputSeam::Clear();
    }

private:
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestPdfUpdate)
#include "tst_pdfupdate.moc"
