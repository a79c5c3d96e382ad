// Embedding a stamp into the page content of a signed document asks first (the host's
// SignedEmbedGuard); declining leaves the document as it was. The embed operation itself
// belongs to the plug-in: a stand-in of the same name does what it does.
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_layer.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_uicontext.h"
#include "hostfixture.h"
#include "pdftestutil.h"

#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
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

class TestSignedEmbed : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_unsigned = PdfTestUtil::Sample(QStringLiteral("contract.pdf"));
        m_signed = m_dir.filePath(QStringLiteral("signed.pdf"));
        const QString problem = PdfTestUtil::SignPdf(m_unsigned, m_signed, m_dir.path());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        m_standIn.RegisterToGlobal();
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
        HostFixture host;
        QString error;
        QVERIFY2(host.OpenFile(isSigned ? m_signed : m_unsigned, &error), qPrintable(error));
        IG_Page* page = host.Document()->PageAt(0);
        IG_Annot* stamp = host.AddStamp(0, CCA_GRect(20, 20, 60, 50));
        QVERIFY(stamp);
        IG_Layer* layer = page->LayerAt(page->LayerCount() - 1);
        const int objects = layer->ObjectCount();
        host.AnswerMessageBoxes(answer);

        G_Operation* op = host.Context()->CreateOperationByName("d_embedpageannot", QString());
        QVERIFY(op);
        QCOMPARE(op->PerformAction(), embedded ? 1 : 0);
        op->DeleteLater();

        const QList<Utils::Widgets::MessageBoxRequest> boxes = host.MessageBoxes();
        QCOMPARE(boxes.size(), isSigned ? 1 : 0);
        if (isSigned)
            QVERIFY2(boxes.first().text.contains(QLatin1String("signed")),
                     qPrintable(boxes.first().text));
        QCOMPARE(stamp->IsOnPage(), !embedded);
        QCOMPARE(layer->ObjectCount(), objects + (embedded ? 1 : 0));
    }

private:
    QTemporaryDir m_dir;
    QString m_signed, m_unsigned;
    EmbedStandIn m_standIn;
};

QTEST_MAIN(TestSignedEmbed)
#include "tst_signedembed.moc"
