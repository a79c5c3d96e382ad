// The reader's own operations run by name: zoom, delete with undo, annotation display,
// command-bar button states, signature requests and batch stamping.

#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_uicontext.h"
#include "host/framework/gp_batchaddinvoice.h"
#include "hostfixture.h"

#include <QMessageBox>
#include <QUndoStack>
#include <QtTest>

class TestHostOperations : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void hostOperationsAreRegistered();
    void zoomIsKeptWithinLimits_data();
    void zoomIsKeptWithinLimits();
    void zoomWithoutValueChangesNothing();
    void deleteAnnotationWithUndo();
    void deleteRefusesBadText_data();
    void deleteRefusesBadText();
    void showAnnotSetsViewAndButton();
    void toolbarButtonStateIsRecorded();
    void signatureRequestsAreRecordedAndShown_data();
    void signatureRequestsAreRecordedAndShown();
    void batchStampsEveryPageInOneUndoEntry();
    void batchRefusesWhatItCannotPlace_data();
    void batchRefusesWhatItCannotPlace();

private:
    G_Operation* make(const char* name);
    std::unique_ptr<HostFixture> m_host;
};

void TestHostOperations::init()
{
    m_host.reset(new HostFixture);
    QVERIFY(m_host->OpenBlank({CCA_GSize(210, 297), CCA_GSize(297, 210)}));
}

void TestHostOperations::cleanup()
{
    m_host.reset();
}

G_Operation* TestHostOperations::make(const char* name)
{
    return m_host->Context()->CreateOperationByName(name, QString());
}

void TestHostOperations::hostOperationsAreRegistered()
{
    const QStringList names = G_Operation::GlobalNames();
    for (const char* name : {"v_zoom", "d_delannot", "d_digitalsignature", "d_applysignature",
                             "t_showannot", "t_toolbarbtnstate", "batchaddinvoice"})
        QVERIFY2(names.contains(QString::fromLatin1(name)), name);
    QVERIFY(m_host->Context()->FindHandlerByName("t_handtool"));
    QVERIFY(m_host->Context()->FindHandlerByName("t_textselect"));
}

void TestHostOperations::zoomIsKeptWithinLimits_data()
{
    QTest::addColumn<float>("asked");
    QTest::addColumn<float>("expected");
    QTest::newRow("below") << 9.9f << 10.0f;
    QTest::newRow("lowest") << 10.0f << 10.0f;
    QTest::newRow("inside") << 237.5f << 237.5f;
    QTest::newRow("highest") << 500.0f << 500.0f;
    QTest::newRow("above") << 500.1f << 500.0f;
}

void TestHostOperations::zoomIsKeptWithinLimits()
{
    QFETCH(float, asked);
    QFETCH(float, expected);
    G_Operation* op = make("v_zoom");
    QVERIFY(op);
    op->Param()->Add("zoomIndex", asked);
    QCOMPARE(op->ExecuteAction(), 1);
    op->DeleteLater();
    QCOMPARE(m_host->View()->GetZoom(), expected);
}

void TestHostOperations::zoomWithoutValueChangesNothing()
{
    G_Operation* op = make("v_zoom");
    QCOMPARE(op->ExecuteAction(), 0);
    op->DeleteLater();
    QCOMPARE(m_host->View()->GetZoom(), 100.0f);
}

void TestHostOperations::deleteAnnotationWithUndo()
{
    IG_Annot* keep = m_host->AddStamp(1, CCA_GRect(10, 10, 50, 50));
    IG_Annot* gone = m_host->AddStamp(1, CCA_GRect(60, 60, 100, 100));
    QVERIFY(keep && gone);
    IG_Page* page = m_host->View()->Page(1);
    const quint64 revision = m_host->Document()->Revision();
    G_Operation* op = make("d_delannot");
    op->Param()->Add("pageAndAnnotID", QStringLiteral("1:%1").arg(gone->ID()));
    QCOMPARE(op->PerformAction(), 1);
    op->DeleteLater();
    QVERIFY(!gone->IsOnPage());
    QVERIFY(keep->IsOnPage());
    QVERIFY(!page->AnnotById(gone->ID()) || !page->AnnotById(gone->ID())->IsOnPage());
    QVERIFY(m_host->Document()->Revision() > revision);
    QUndoStack* undo = m_host->View()->UndoStack();
    QCOMPARE(undo->count(), 1);
    undo->undo();
    QVERIFY(gone->IsOnPage());
    undo->redo();
    QVERIFY(!gone->IsOnPage());
    // The same request again finds nothing to delete.
    op = make("d_delannot");
    op->Param()->Add("pageAndAnnotID", QStringLiteral("1:%1").arg(gone->ID()));
    QCOMPARE(op->PerformAction(), 0);
    op->DeleteLater();
    QCOMPARE(undo->count(), 1);
}

void TestHostOperations::deleteRefusesBadText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("no colon") << QStringLiteral("117");
    QTest::newRow("letters") << QStringLiteral("a:b");
    QTest::newRow("negative page") << QStringLiteral("-1:%1");
    QTest::newRow("missing page") << QStringLiteral("7:%1");
    QTest::newRow("wrong page") << QStringLiteral("1:%1");
    QTest::newRow("unknown id") << QStringLiteral("0:99999");
    QTest::newRow("trailing junk") << QStringLiteral("0:%1x");
}

void TestHostOperations::deleteRefusesBadText()
{
    QFETCH(QString, text);
    IG_Annot* stamp = m_host->AddStamp(0, CCA_GRect(10, 10, 50, 50));
    G_Operation* op = make("d_delannot");
    op->Param()->Add("pageAndAnnotID", text.contains("%1") ? text.arg(stamp->ID()) : text);
    QCOMPARE(op->PerformAction(), 0);
    op->DeleteLater();
    QVERIFY(stamp->IsOnPage());
    QCOMPARE(m_host->View()->UndoStack()->count(), 0);
}

void TestHostOperations::showAnnotSetsViewAndButton()
{
    G_Operation* op = make("t_showannot");
    op->Param()->Add("isVisible", false);
    QCOMPARE(op->PerformAction(), 1);
    op->DeleteLater();
    QVERIFY(!m_host->View()->AnnotStatus());
    QVERIFY(!m_host->Context()->CommandBarButtonChecked(QStringLiteral("t_annot")));
    op = make("t_showannot");
    op->Param()->Add("isVisible", 1);
    QCOMPARE(op->PerformAction(), 1);
    op->DeleteLater();
    QVERIFY(m_host->View()->AnnotStatus());
    QVERIFY(m_host->Context()->CommandBarButtonChecked(QStringLiteral("t_annot")));
}

void TestHostOperations::toolbarButtonStateIsRecorded()
{
    QSignalSpy changed(m_host->Context(), &G_UIContext::CommandBarButtonChanged);
    G_Operation* op = make("t_toolbarbtnstate");
    op->Param()->Add("btnName", "t_annot");
    op->Param()->Add("checked", true);
    QCOMPARE(op->ExecuteAction(), 1);
    op->DeleteLater();
    QVERIFY(m_host->Context()->CommandBarButtonChecked(QStringLiteral("t_annot")));
    QCOMPARE(changed.count(), 1);
    op = make("t_toolbarbtnstate"); // no name: nothing to record
    op->Param()->Add("checked", true);
    QCOMPARE(op->ExecuteAction(), 0);
    op->DeleteLater();
    QCOMPARE(m_host->Context()->CommandBarButtonStates().size(), 1);
}

void TestHostOperations::signatureRequestsAreRecordedAndShown_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("digital signature") << QByteArray("d_digitalsignature");
    QTest::newRow("apply signature") << QByteArray("d_applysignature");
}

void TestHostOperations::signatureRequestsAreRecordedAndShown()
{
    QFETCH(QByteArray, name);
    G_Operation* op = make(name.constData());
    QVERIFY(op);
    op->Param()->Add("annotid", 12);
    op->Param()->Add("pageIndex", 1);
    QCOMPARE(op->PerformAction(), 1);
    op->DeleteLater();
    const auto requests = m_host->Context()->SignatureRequests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().operation, QString::fromLatin1(name));
    QCOMPARE(requests.first().annotId, 12);
    QCOMPARE(requests.first().pageIndex, 1);
    const auto boxes = m_host->MessageBoxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().kind, int(Utils::Widgets::MessageBoxRequest::Information));
    QVERIFY(boxes.first().text.contains(QStringLiteral("12")));
    QVERIFY(boxes.first().text.contains(QStringLiteral("page 2")));
}

void TestHostOperations::batchStampsEveryPageInOneUndoEntry()
{
    const int resource = m_host->StampResource();
    QVERIFY(resource > 0);
    QSignalSpy fired(m_host->Context(), &G_UIContext::EventFired);
    G_Operation* op = make("batchaddinvoice");
    op->Param()->Add("stampId", resource);
    op->Param()->Add("stampSize", CCA_GSize(40, 30));
    op->Param()->Add("pageandposition", QStringLiteral("0:164,261/1:251,174"));
    QCOMPARE(op->PerformAction(), 1);
    op->DeleteLater();
    IG_Page* first = m_host->View()->Page(0);
    IG_Page* second = m_host->View()->Page(1);
    QCOMPARE(first->AnnotCount(), 1);
    QCOMPARE(second->AnnotCount(), 1);
    IG_Annot* a = first->AnnotAt(0);
    QCOMPARE(a->GetRect(), CCA_GRect(164, 261, 204, 291));
    QCOMPARE(a->Type(), G_AnnotType_Stamp);
    QCOMPARE(a->ResourceID(), resource);
    QVERIFY(!a->IsRunTime());
    IG_Annot* b = second->AnnotAt(0);
    QCOMPARE(b->GetRect(), CCA_GRect(251, 174, 291, 204));
    QCOMPARE(fired.count(), 1);
    QUndoStack* undo = m_host->View()->UndoStack();
    QCOMPARE(undo->count(), 1);
    undo->undo();
    QVERIFY(!a->IsOnPage());
    QVERIFY(!b->IsOnPage());
    undo->redo();
    QVERIFY(a->IsOnPage());
    QVERIFY(b->IsOnPage());
}

void TestHostOperations::batchRefusesWhatItCannotPlace_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("width");
    QTest::newRow("empty") << QString() << 40.0f;
    QTest::newRow("missing y") << QStringLiteral("0:164") << 40.0f;
    QTest::newRow("trailing slash") << QStringLiteral("0:164,261/") << 40.0f;
    QTest::newRow("second page missing") << QStringLiteral("0:1,1/5:1,1") << 40.0f;
    QTest::newRow("no size") << QStringLiteral("0:1,1") << 0.0f;
}

void TestHostOperations::batchRefusesWhatItCannotPlace()
{
    QFETCH(QString, text);
    QFETCH(float, width);
    G_Operation* op = make("batchaddinvoice");
    op->Param()->Add("stampId", m_host->StampResource());
    op->Param()->Add("stampSize", CCA_GSize(width, 30));
    op->Param()->Add("pageandposition", text);
    QCOMPARE(op->PerformAction(), 0);
    op->DeleteLater();
    QCOMPARE(m_host->View()->Page(0)->AnnotCount(), 0);
    QCOMPARE(m_host->View()->UndoStack()->count(), 0);
    QList<GP_BatchAddInvoice::Placement> parsed;
    QVERIFY(GP_BatchAddInvoice::ParsePlacements(QStringLiteral("0:-3,4/12:5,6"), &parsed));
    QCOMPARE(parsed.size(), 2);
    QCOMPARE(parsed.at(0).position, CCA_GPoint(-3, 4));
    QCOMPARE(parsed.at(1).page, 12);
}

QTEST_MAIN(TestHostOperations)
#include "tst_hostoperations.moc"
