// "batchaddinvoice" on a real invoice: the seal picture on every page it names, made like
// automatic stamps (user name and time), in one undo entry; nothing for a picture the
// document does not hold or a document that may not change.
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "host/document/readerdocument.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_settingmgr.h"
#include "hostfixture.h"

#include <QUndoStack>
#include <QtTest>

class TestBatchInvoice : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_host = std::make_unique<HostFixture>();
        QString error;
        QVERIFY2(m_host->OpenFile(QStringLiteral(SAMPLES_DIR "/invoice_3pages.pdf"), &error),
                 qPrintable(error));
        G_SettingMgr::Instance()->SetConfigValue("annot.annothighlight.identity.username", "Clerk");
    }
    void cleanup() { m_host.reset(); }

    void stampsEveryNamedPageAsAutomaticStamps()
    {
        const int resource = m_host->StampResource();
        QCOMPARE(
            m_host->Run("batchaddinvoice", {{"stampId", resource},
                                            {"stampSize", QVariant::fromValue(CCA_GSize(40, 30))},
                                            {"pageandposition", "0:164,261/2:10,20"}}),
            1);
        QCOMPARE(m_host->View()->Page(1)->AnnotCount(), 0);
        for (int page : {0, 2}) {
            QCOMPARE(m_host->View()->Page(page)->AnnotCount(), 1);
            IG_Annot* a = m_host->View()->Page(page)->AnnotAt(0);
            QCOMPARE(a->ResourceID(), resource);
            QCOMPARE(GQ_ToQString(a->Creator()), QStringLiteral("Clerk"));
            QVERIFY(QDateTime::fromString(GQ_ToQString(a->CreationDate()), "yyyy-MM-dd hh:mm:ss")
                        .isValid());
        }
        QCOMPARE(m_host->View()->UndoStack()->count(), 1);
        m_host->View()->UndoStack()->undo();
        QCOMPARE(m_host->View()->Page(0)->AnnotCount() + m_host->View()->Page(2)->AnnotCount(), 0);
    }

    void placesNothingItCannotShow_data()
    {
        QTest::addColumn<int>("stampId"); // 0: the fixture's picture
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("no such picture") << 99 << false;
        QTest::newRow("no picture") << -1 << false;
        QTest::newRow("read-only document") << 0 << true;
    }
    void placesNothingItCannotShow()
    {
        QFETCH(int, stampId);
        QFETCH(bool, readOnly);
        const int resource = m_host->StampResource();
        dynamic_cast<ReaderDocument*>(m_host->Document())->SetReadOnly(readOnly);
        QCOMPARE(m_host->Run("batchaddinvoice",
                             {{"stampId", stampId == 0 ? resource : std::max(0, stampId)},
                              {"stampSize", QVariant::fromValue(CCA_GSize(40, 30))},
                              {"pageandposition", "0:164,261/1:164,261"}}),
                 0);
        QCOMPARE(m_host->View()->Page(0)->AnnotCount() + m_host->View()->Page(1)->AnnotCount(), 0);
        QCOMPARE(m_host->View()->UndoStack()->count(), 0);
    }

private:
    std::unique_ptr<HostFixture> m_host;
};

QTEST_MAIN(TestBatchInvoice)
#include "tst_batchinvoice.moc"
