// The reader's own operations run by name: zoom, delete with undo, annotation display,
// command-bar button states, signature requests and batch stamping.

#include "host/framework/gp_batchaddinvoice.h"
#include "hostfixture.h"

class TestHostOperations : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_host.reset(new HostFixture);
        QVERIFY(m_host->OpenBlank({CCA_GSize(210, 297), CCA_GSize(297, 210)}));
    }

    void cleanup() { m_host.reset(); }

    void zoomIsKeptWithinLimits_data()
    {
        QTest::addColumn<float>("asked"); // negative: no value given
        QTest::addColumn<float>("expected");
        QTest::newRow("below") << 9.9f << 10.0f;
        QTest::newRow("lowest") << 10.0f << 10.0f;
        QTest::newRow("inside") << 237.5f << 237.5f;
        QTest::newRow("highest") << 500.0f << 500.0f;
        QTest::newRow("above") << 500.1f << 500.0f;
        QTest::newRow("no value changes nothing") << -1.0f << 100.0f;
    }

    void zoomIsKeptWithinLimits()
    {
        QFETCH(float, asked);
        QFETCH(float, expected);
        QVariantMap params;
        if (asked > 0)
            params.insert("zoomIndex", asked);
        QCOMPARE(m_host->Run("v_zoom", params, nullptr, false), asked > 0 ? 1 : 0);
        QCOMPARE(m_host->View()->GetZoom(), expected);
    }

    void deleteAnnotation_data()
    {
        QTest::addColumn<QString>("text"); // %1: the identifier of the stamp on the second page
        QTest::addColumn<bool>("deletes");
        QTest::newRow("page and id") << "1:%1" << true;
        QTest::newRow("spaces around") << " 1 : %1 " << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("no colon") << "117" << false;
        QTest::newRow("letters") << "a:b" << false;
        QTest::newRow("negative page") << "-1:%1" << false;
        QTest::newRow("missing page") << "7:%1" << false;
        QTest::newRow("wrong page") << "0:%1" << false;
        QTest::newRow("unknown id") << "1:99999" << false;
        QTest::newRow("trailing junk") << "1:%1x" << false;
    }

    void deleteAnnotation()
    {
        QFETCH(QString, text);
        QFETCH(bool, deletes);
        IG_Annot* keep = m_host->AddStamp(1, CCA_GRect(10, 10, 50, 50));
        IG_Annot* gone = m_host->AddStamp(1, CCA_GRect(60, 60, 100, 100));
        QVERIFY(keep && gone);
        const quint64 revision = m_host->Document()->Revision();
        const QVariantMap request{{"pageAndAnnotID", text.contains("%1") ? text.arg(gone->ID()) : text}};
        QCOMPARE(m_host->Run("d_delannot", request), deletes ? 1 : 0);
        QVERIFY(keep->IsOnPage());
        QCOMPARE(gone->IsOnPage(), !deletes);
        QCOMPARE(m_host->Document()->Revision() > revision, deletes);
        QUndoStack* undo = m_host->View()->UndoStack();
        QCOMPARE(undo->count(), deletes ? 1 : 0);
        if (!deletes)
            return;
        undo->undo();
        QVERIFY(gone->IsOnPage());
        undo->redo();
        QVERIFY(!gone->IsOnPage());
        QCOMPARE(m_host->Run("d_delannot", request), 0); // nothing left to delete
        QCOMPARE(undo->count(), 1);
    }

    void showAnnotAndButtonStates()
    {
        G_UIContext* context = m_host->Context();
        for (const QVariant& visible : {QVariant(false), QVariant(1)}) {
            QCOMPARE(m_host->Run("t_showannot", {{"isVisible", visible}}), 1);
            QCOMPARE(m_host->View()->AnnotStatus(), visible.toBool());
            QCOMPARE(context->CommandBarButtonChecked(QStringLiteral("t_annot")), visible.toBool());
        }
        QSignalSpy changed(context, &G_UIContext::CommandBarButtonChanged);
        QCOMPARE(m_host->Run("t_toolbarbtnstate", {{"btnName", "t_other"}, {"checked", true}}, nullptr,
                             false),
                 1);
        QVERIFY(context->CommandBarButtonChecked(QStringLiteral("t_other")));
        QCOMPARE(changed.count(), 1);
        const int states = context->CommandBarButtonStates().size();
        QCOMPARE(m_host->Run("t_toolbarbtnstate", {{"checked", true}}, nullptr, false), 0); // no name
        QCOMPARE(context->CommandBarButtonStates().size(), states);
    }

    void signatureRequestsAreRecordedAndShown_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("digital signature") << QByteArray("d_digitalsignature");
        QTest::newRow("apply signature") << QByteArray("d_applysignature");
    }

    void signatureRequestsAreRecordedAndShown()
    {
        QFETCH(QByteArray, name);
        QCOMPARE(m_host->Run(name.constData(), {{"annotid", 12}, {"pageIndex", 1}}), 1);
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

    void batchStampsEveryPageInOneUndoEntry()
    {
        const int resource = m_host->StampResource();
        QVERIFY(resource > 0);
        QSignalSpy fired(m_host->Context(), &G_UIContext::EventFired);
        QCOMPARE(m_host->Run("batchaddinvoice",
                             {{"stampId", resource},
                              {"stampSize", QVariant::fromValue(CCA_GSize(40, 30))},
                              {"pageandposition", "0:164,261/1:251,174"}}),
                 1);
        IG_Annot* a = m_host->View()->Page(0)->AnnotAt(0);
        IG_Annot* b = m_host->View()->Page(1)->AnnotAt(0);
        QCOMPARE(m_host->View()->Page(0)->AnnotCount(), 1);
        QCOMPARE(m_host->View()->Page(1)->AnnotCount(), 1);
        QCOMPARE(a->GetRect(), CCA_GRect(164, 261, 204, 291));
        QCOMPARE(a->Type(), G_AnnotType_Stamp);
        QCOMPARE(a->ResourceID(), resource);
        QVERIFY(!a->IsRunTime());
        QCOMPARE(b->GetRect(), CCA_GRect(251, 174, 291, 204));
        QCOMPARE(fired.count(), 1);
        QUndoStack* undo = m_host->View()->UndoStack();
        QCOMPARE(undo->count(), 1);
        undo->undo();
        QVERIFY(!a->IsOnPage() && !b->IsOnPage());
        undo->redo();
        QVERIFY(a->IsOnPage() && b->IsOnPage());
        QList<GP_BatchAddInvoice::Placement> parsed;
        QVERIFY(GP_BatchAddInvoice::ParsePlacements(QStringLiteral("0:-3,4/12:5,6"), &parsed));
        QCOMPARE(parsed.size(), 2);
        QCOMPARE(parsed.at(0).position, CCA_GPoint(-3, 4));
        QCOMPARE(parsed.at(1).page, 12);
    }

    void batchRefusesWhatItCannotPlace_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("width");
        QTest::newRow("empty") << QString() << 40.0f;
        QTest::newRow("missing y") << QStringLiteral("0:164") << 40.0f;
        QTest::newRow("trailing slash") << QStringLiteral("0:164,261/") << 40.0f;
        QTest::newRow("second page missing") << QStringLiteral("0:1,1/5:1,1") << 40.0f;
        QTest::newRow("no size") << QStringLiteral("0:1,1") << 0.0f;
    }

    void batchRefusesWhatItCannotPlace()
    {
        QFETCH(QString, text);
        QFETCH(float, width);
        QCOMPARE(m_host->Run("batchaddinvoice",
                             {{"stampId", m_host->StampResource()},
                              {"stampSize", QVariant::fromValue(CCA_GSize(width, 30))},
                              {"pageandposition", text}}),
                 0);
        QCOMPARE(m_host->View()->Page(0)->AnnotCount(), 0);
        QCOMPARE(m_host->View()->UndoStack()->count(), 0);
    }

private:
    std::unique_ptr<HostFixture> m_host;
};

QTEST_MAIN(TestHostOperations)
#include "tst_hostoperations.moc"
