// Saving keeps the file's bytes and appends the changes, so signatures stay valid; files
// with passwords open, save and keep their password.
#include "host/document/documentio.h"
#include "host/document/ica_streamreader.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "pdftestutil.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace PdfTestUtil;

class TestPdfUpdate : public QObject {
    Q_OBJECT

private slots:
    void probe()
    {
        QTemporaryDir dir;
        const QString in = Sample("contract.pdf");
        const QString xs = dir.filePath("xs.pdf");
        QCOMPARE(Run("qpdf", {"--object-streams=generate", in, xs}), 0);
        for (const QString& src : {in, xs}) {
            for (bool lin : {false, true}) {
                const QString out = dir.filePath(QString("signed-%1.pdf").arg(lin)) ;
                QString problem = SignPdf(src, out, dir.path(), lin);
                QVERIFY2(problem.isEmpty(), qPrintable(problem));
                qDebug().noquote() << PdfSig(out);
                QString err;
                std::unique_ptr<IG_Document> doc(DocumentIO::Open(out, &err));
                QVERIFY2(doc, qPrintable(err));
                qDebug() << "signed" << doc->HasSignatures() << doc->PageAt(0)->AnnotCount();
                doc->PageAt(1)->NewAnnot(G_AnnotType_Stamp, "Stamp", CCA_GRect(10, 10, 50, 40),
                                         "{\"RunTime\":false}");
                G_SaveReport rep;
                QVERIFY2(doc->SaveAs(out, &err, &rep), qPrintable(err));
                qDebug() << rep.incremental << rep.rewritten << rep.reason;
                qDebug().noquote() << PdfSig(out);
                QString check;
                QVERIFY2(QpdfCheck(out, &check), qPrintable(check));
                system(qPrintable("tail -c 700 " + out + " | strings | tail -25"));
            }
        }
    }
};

QTEST_MAIN(TestPdfUpdate)
#include "tst_pdfupdate.moc"
