// Bad input: files that are not documents, damaged or locked ones, failing saves and
// pictures that are not pictures. Each gets a clear failure and leaves the original intact.
#include "host/document/documentio.h"
#include "host/document/ica_streamreader.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "host/document/readerdocument.h"
#include "pdftestutil.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace PdfTestUtil;

namespace {
QByteArray FileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

class TestPdfBadInput : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString contract = Sample(QStringLiteral("contract.pdf"));
        const QByteArray bytes = ReadFile(contract);
        WriteFile(Path("truncated-half.pdf"), bytes.left(bytes.size() / 2));
        WriteFile(Path("truncated-head.pdf"), bytes.left(400));
        WriteFile(Path("empty.pdf"), QByteArray());
        WriteFile(Path("text.pdf"), "This is a letter, not a PDF document.\n");
        WriteFile(Path("png.pdf"), ReadFile(Sample(QStringLiteral("seal_red.png"))));
        WriteFile(Path("header-only.pdf"), "%PDF-1.7\n%%EOF\n");
        QCOMPARE(Run("qpdf", {"--encrypt", "user", "owner", "256", "--", contract,
                               Path("password.pdf")}), 0);
        QCOMPARE(Run("qpdf", {"--encrypt", "", "owner", "256", "--annotate=n", "--modify=none",
                               "--", contract, Path("no-annotations.pdf")}), 0);
        QCOMPARE(Run("qpdf", {"--encrypt", "", "owner", "256", "--print=none", "--",
                               contract, Path("no-print.pdf")}), 0);
        QDir().mkpath(Path("folder.pdf"));
        // Whole, but every cross-reference offset off by a few bytes: qpdf rebuilds it.
        QByteArray shifted = bytes;
        shifted.insert(shifted.indexOf("1 0 obj"), "\n\n\n\n");
        WriteFile(Path("xref-off.pdf"), shifted);
    }

    void wholeFileWithBadXrefOpens()
    {
        QString error;
        std::unique_ptr<IG_Document> doc(DocumentIO::Open(Path("xref-off.pdf"), &error));
        QVERIFY2(doc, qPrintable(error));
        QCOMPARE(doc->PageCount(), 3);
        QVERIFY2(doc->SaveAs(Path("xref-fixed.pdf"), &error), qPrintable(error));
        QString check;
        QVERIFY2(QpdfCheck(Path("xref-fixed.pdf"), &check), qPrintable(check));
    }

    void openFails_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << "missing.pdf" << "does not exist";
        QTest::newRow("folder") << "folder.pdf" << "not a file";
        QTest::newRow("empty") << "empty.pdf" << "not a PDF";
        QTest::newRow("text named .pdf") << "text.pdf" << "not a PDF";
        QTest::newRow("picture named .pdf") << "png.pdf" << "not a PDF";
        QTest::newRow("header only") << "header-only.pdf" << "damaged";
        QTest::newRow("cut in half") << "truncated-half.pdf" << "damaged";
        QTest::newRow("cut after the header") << "truncated-head.pdf" << "damaged";
        QTest::newRow("user password") << "password.pdf" << "password";
        QTest::newRow("ofd, not yet") << "seal.ofd" << "OFD";
        QTest::newRow("no name") << "" << "No file";
    }
    void openFails()
    {
        QFETCH(QString, file);
        QFETCH(QString, says);
        QString error;
        std::unique_ptr<IG_Document> doc(
            DocumentIO::Open(file.isEmpty() ? QString() : Path(file), &error));
        QVERIFY(!doc);
        QVERIFY2(error.contains(says, Qt::CaseInsensitive), qPrintable(error));
        QVERIFY(!DocumentIO::Open(Path(file), nullptr)); // no message wanted: still no crash
    }

    void restrictedFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("annotations forbidden") << "no-annotations.pdf" << true;
        QTest::newRow("only printing forbidden") << "no-print.pdf" << false;
    }
    void restrictedFiles()
    {
        QFETCH(QString, file);
        QFETCH(bool, readOnly);
        const QByteArray before = FileHash(Path(file));
        QString error;
        std::unique_ptr<IG_Document> doc(DocumentIO::Open(Path(file), &error));
        QVERIFY2(doc, qPrintable(error));
        QCOMPARE(doc->PageCount(), 3);
        QCOMPARE(doc->IsReadOnly(), readOnly);
        doc->PageAt(0)->NewAnnot(G_AnnotType_Stamp, "Stamp", CCA_GRect(10, 10, 50, 40),
                                 "{\"RunTime\":false}");
        const QString out = Path("restricted-out.pdf");
        QCOMPARE(doc->SaveAs(out, &error), !readOnly);
        if (readOnly) {
            QVERIFY2(error.contains(QLatin1String("permit")), qPrintable(error));
            QVERIFY(!QFile::exists(out));
        } else {
            QVERIFY(QpdfCheck(out));
            // Encryption is kept: still no printing.
            QString info;
            Run("qpdf", {"--show-encryption", out}, &info);
            QVERIFY2(info.contains(QLatin1String("print low resolution: not allowed")),
                     qPrintable(info));
        }
        QCOMPARE(FileHash(Path(file)), before);
    }

    // A file that cannot be written is still changed in memory (and saved elsewhere).
    void unwritableFileIsNotReadOnly()
    {
        const QString path = Path("readonly-bits.pdf");
        QVERIFY(QFile::copy(Sample("contract.pdf"), path));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        std::unique_ptr<IG_Document> doc(DocumentIO::Open(path, nullptr));
        auto* model = dynamic_cast<ReaderDocument*>(doc.get());
        QVERIFY(model);
        QVERIFY(!model->IsReadOnly());
        // As root every file is writable.
        QCOMPARE(model->IsFileWritable(), QFileInfo(path).isWritable());
    }

    // Saves that cannot succeed fail with a message and leave every file as it was (also
    // for root, who may write anywhere: these places cannot hold a file at all).
    void saveFails_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("says");
        QTest::newRow("parent is a file") << Path("text.pdf") + "/out.pdf" << "folder";
        QTest::newRow("missing folder") << Path("no/such/folder/out.pdf") << "folder";
        QTest::newRow("destination is a folder") << Path("folder.pdf") << "not a file";
        QTest::newRow("no name") << QString() << "No file";
        QTest::newRow("read-only file system") << "/proc/out.pdf" << "";
    }
    void saveFails()
    {
        QFETCH(QString, destination);
        QFETCH(QString, says);
        const QString in = Path("save-source.pdf");
        QFile::remove(in);
        QVERIFY(QFile::copy(Sample("contract.pdf"), in));
        const QByteArray before = FileHash(in);
        std::unique_ptr<IG_Document> doc(DocumentIO::Open(in, nullptr));
        QVERIFY(doc);
        doc->PageAt(0)->NewAnnot(G_AnnotType_Stamp, "Stamp", CCA_GRect(10, 10, 50, 40),
                                 "{\"RunTime\":false}");
        QString error;
        QVERIFY(!doc->SaveAs(destination, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY2(error.contains(says), qPrintable(error));
        QVERIFY(doc->IsModified());
        QCOMPARE(FileHash(in), before);
        QCOMPARE(GQ_ToQString(doc->FilePath()), QFileInfo(in).absoluteFilePath());
        // The document is still whole: a good save afterwards works.
        QVERIFY2(doc->SaveAs(in, &error), qPrintable(error));
        QVERIFY(QpdfCheck(in));
        QCOMPARE(AnnotSubtypes(in).value(0), QStringLiteral("Stamp"));
    }

    void picturesThatAreNot_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray png = ReadFile(Sample(QStringLiteral("seal_red.png")));
        QTest::newRow("pdf") << ReadFile(Sample(QStringLiteral("contract.pdf")));
        QTest::newRow("png cut short") << png.left(png.size() / 3);
        QTest::newRow("png with a broken body") << png.left(60) + QByteArray(200, 'x');
        QTest::newRow("text") << QByteArray("GIF89a? no, plain text");
    }
    void picturesThatAreNot()
    {
        QFETCH(QByteArray, bytes);
        std::unique_ptr<IG_Document> doc(DocumentIO::Open(Sample("contract.pdf"), nullptr));
        QVERIFY(doc);
        ICA_StreamReader* s = ICA_StreamReader::CreateMemoryStreamReader(bytes);
        QCOMPARE(doc->AddResource(s, 1, 0), 0);
        s->Release();
        QCOMPARE(doc->AddResource(nullptr, 1, 0), 0);
    }

private:
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestPdfBadInput)
#include "tst_pdfbadinput.moc"
