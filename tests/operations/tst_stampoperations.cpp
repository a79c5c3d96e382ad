// The stamp operations: what "ti_stamp" and "d_invoiceseal" hand to "tp_stamp", deleting
// and embedding the stamp selected last (also from its context menu), which layer an
// embedded stamp goes to, and what a saved file holds afterwards, read back by programs of
// other makers.

#include "fakedocument.h"
#include "hostfixture.h"
#include "stampkit.h"

#include "host/framework/g_operationinterceptor.h"

namespace
{

// Watches the runs of one operation: its parameters as the run starts and its
// "annotid" once the action is done.
class RunRecorder : public G_OperationInterceptor
{
public:
    explicit RunRecorder(const char* name) : m_name(name) {}
    bool Intercepts(G_Operation* op) override { return m_name == op->Name(); }
    bool PrepareDataHandle(G_Operation* op, bool) override
    {
        ++runs;
        keys = op->Param()->Keys();
        for (const QString& key : qAsConst(keys))
            values.insert(key, op->Param()->Value(key));
        return true;
    }
    void AfterDoActionHandle(G_Operation* op) override
    {
        annotIdAfter = op->Param()->GetInt32("annotid", 0);
    }

    int runs = 0;
    QStringList keys;
    QVariantMap values;
    int annotIdAfter = 0;
private:
    QByteArray m_name;
};

const CCA_GSize kSize(40, 30);

void select(int page, int annotId)
{
    G_SettingMgr::Instance()->SetConfigCache(QStringLiteral("stampPageIndex"), page);
    G_SettingMgr::Instance()->SetConfigCache(QStringLiteral("stampAnnotID"), annotId);
}

} // namespace

class TestStampOperations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { StampKit::InitPlugin(); }
    void init()
    {
        m_fx.reset(new HostFixture);
        QString error;
        QVERIFY2(m_fx->OpenFile(StampKit::ContractPath(), &error), qPrintable(error));
    }

    void cleanup() { m_fx.reset(); }

    void forwarderPassesStampKeys_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isAuto");
        QTest::addColumn<bool>("applySign");
        QTest::addColumn<QStringList>("keys");

        const QStringList head{"name", "stampId", "stampSize", "imgPath"};
        const QStringList at{"pageIndex", "position"};
        for (const char* name : {"ti_stamp", "d_invoiceseal"}) {
            QTest::addRow("%s, interactive", name) << name << false << false << head + QStringList{"auto"};
            QTest::addRow("%s, interactive, sign", name)
                << name << false << true << head + QStringList{"applysign", "auto"};
            QTest::addRow("%s, automatic", name) << name << true << false << head + at + QStringList{"auto"};
            QTest::addRow("%s, automatic, sign", name)
                << name << true << true << head + at + QStringList{"applysign", "auto"};
        }
    }

    void forwarderPassesStampKeys()
    {
        QFETCH(QString, name);
        QFETCH(bool, isAuto);
        QFETCH(bool, applySign);
        QFETCH(QStringList, keys);
        RunRecorder placement("tp_stamp");
        StampKit::PointerTo(*m_fx, 0, CCA_GPoint(100, 100));
        const int stampId = StampKit::EmbedSeal(m_fx->Document());
        QVariantMap out;
        QCOMPARE(m_fx->Run(name.toUtf8().constData(),
                           {{"stampId", stampId},
                            {"stampSize", QVariant::fromValue(kSize)},
                            {"imgPath", StampKit::SealPath()},
                            {"pageIndex", 2},
                            {"position", QVariant::fromValue(CCA_GPoint(15, 25))},
                            {"applysign", applySign},
                            {"auto", isAuto}},
                           &out),
                 1);

        QCOMPARE(placement.runs, 1);
        QCOMPARE(placement.keys, keys);
        QCOMPARE(placement.values.value("stampId").toInt(), stampId);
        QCOMPARE(placement.values.value("stampSize").value<CCA_GSize>(), kSize);
        QCOMPARE(placement.values.value("imgPath").toString(), StampKit::SealPath());
        const QVariant autoValue = placement.values.value("auto");
        QCOMPARE(autoValue.userType(), int(QMetaType::Int));
        QCOMPARE(autoValue.toInt(), isAuto ? 1 : 0);
        if (applySign)
            QCOMPARE(placement.values.value("applysign").toBool(), true);
        const int handedBack = out.value("annotid").toInt();
        if (!isAuto) {
            QCOMPARE(handedBack, 0);
            QVERIFY(StampKit::Pending(m_fx->View()));
            return;
        }
        QCOMPARE(placement.values.value("pageIndex").toInt(), 2);
        QCOMPARE(placement.values.value("position").value<CCA_GPoint>(), CCA_GPoint(15, 25));
        QVERIFY(handedBack > 0);
        QCOMPARE(handedBack, placement.annotIdAfter);
        IG_Annot* placed = m_fx->View()->Page(2)->AnnotById(unsigned(handedBack));
        QVERIFY(placed);
        QCOMPARE(placed->GetRect(), CCA_GRect(15, 25, 55, 55));
    }

    void deleteNamesCachedPageAndId_data()
    {
        QTest::addColumn<int>("page"); // −1: nothing selected yet
        QTest::addColumn<int>("annotId");
        QTest::addColumn<QString>("text");
        QTest::newRow("page 3, id 17") << 3 << 17 << "3:17";
        QTest::newRow("page 0, id 1024") << 0 << 1024 << "0:1024";
        QTest::newRow("nothing selected") << -1 << -1 << "";
    }

    void deleteNamesCachedPageAndId()
    {
        QFETCH(int, page);
        QFETCH(int, annotId);
        QFETCH(QString, text);
        IG_Annot* stamp = StampKit::PlaceAuto(*m_fx, 0, CCA_GPoint(20, 20), kSize);
        QVERIFY(stamp);
        if (page >= 0)
            select(page, annotId);
        const quint64 revision = m_fx->Document()->Revision();
        RunRecorder del("d_delannot");

        QCOMPARE(m_fx->Run("d_delpageannot"), text.isEmpty() ? 0 : 1);

        QCOMPARE(del.runs, text.isEmpty() ? 0 : 1);
        QCOMPARE(del.values.value("pageAndAnnotID").toString(), text);
        QVERIFY(stamp->IsOnPage());
        QCOMPARE(m_fx->Document()->Revision(), revision);
    }

    void menuActsOnTheLastSelection()
    {
        IG_Annot* a = StampKit::PlaceAuto(*m_fx, 0, CCA_GPoint(30, 40), kSize);
        IG_Annot* b = StampKit::PlaceAuto(*m_fx, 1, CCA_GPoint(100, 150), kSize);
        QVERIFY(a && b);
        IG_Page* page = m_fx->View()->Page(1);
        const int layers = page->LayerCount();
        QVERIFY(layers > 0);
        const int objects = page->LayerAt(layers - 1)->ObjectCount();
        QUndoStack* undo = m_fx->View()->UndoStack();
        QVERIFY(undo->count() > 0);

        m_fx->ClickAt(0, StampKit::Centre(a->GetRect()));
        m_fx->ClickAt(1, StampKit::Centre(b->GetRect()));
        m_fx->RightClickMenu(b, QStringLiteral("d_embedpageannot"));
        QVERIFY(!b->IsOnPage());
        QVERIFY(a->IsOnPage());
        QCOMPARE(page->LayerCount(), layers);
        QCOMPARE(page->LayerAt(layers - 1)->ObjectCount(), objects + 1);
        QCOMPARE(undo->count(), 0); // page content has no way back

        m_fx->ClickAt(0, StampKit::Centre(a->GetRect()));
        m_fx->RightClickMenu(a, QStringLiteral("d_delpageannot"));
        QVERIFY(!a->IsOnPage());
        QCOMPARE(undo->count(), 1);
    }

    void embedChoosesLayer_data()
    {
        // Pages of the reader's own documents always have their content layer, so a small
        // in-memory document stands in for documents whose pages come without any layer.
        QTest::addColumn<int>("layersBefore");
        QTest::addColumn<int>("selectedId"); // −1: nothing selected yet
        QTest::addColumn<bool>("embeddable");
        QTest::addColumn<int>("layersAfter");
        QTest::addColumn<int>("targetLayer"); // −1: nothing embedded

        QTest::newRow("no layer: one is made") << 0 << 5 << true << 1 << 0;
        QTest::newRow("two layers: the last") << 2 << 5 << true << 2 << 1;
        QTest::newRow("nothing selected, no layer") << 0 << -1 << true << 1 << -1;
        QTest::newRow("nothing selected, one layer") << 1 << -1 << true << 1 << -1;
        QTest::newRow("stamp that cannot be page content stays") << 1 << 5 << false << 1 << -1;
    }

    void embedChoosesLayer()
    {
        QFETCH(int, layersBefore);
        QFETCH(int, selectedId);
        QFETCH(bool, embeddable);
        QFETCH(int, layersAfter);
        QFETCH(int, targetLayer);
        FakeDocument doc;
        doc.page->annots.push_back(std::make_unique<FakeAnnot>(doc.page.get(), 5));
        FakeAnnot* stamp = doc.page->annots.front().get();
        stamp->embeddable = embeddable;
        for (int i = 0; i < layersBefore; ++i)
            doc.page->NewLayer(-1);
        m_fx->CloseDocument();
        G_DocView view(m_fx->Context(), &doc);
        m_fx->Context()->SetCurrentDocView(&view);
        view.UndoStack()->push(new QUndoCommand(QStringLiteral("earlier change")));
        if (selectedId >= 0)
            select(0, selectedId);
        m_fx->Context()->ClearEventLog();
        RunRecorder del("d_delannot");

        QCOMPARE(m_fx->Run("d_embedpageannot", {{"pageIndex", 0}}), targetLayer < 0 ? 0 : 1);

        QCOMPARE(doc.page->LayerCount(), layersAfter);
        QCOMPARE(stamp->embeddedInto, doc.page->LayerAt(targetLayer));
        QCOMPARE(stamp->onPage, targetLayer < 0);
        QCOMPARE(del.runs, targetLayer < 0 ? 0 : 1);
        QCOMPARE(view.UndoStack()->count(), targetLayer < 0 ? 1 : 0);
        if (targetLayer >= 0) {
            QCOMPARE(doc.page->layers[size_t(targetLayer)]->objects, 1);
            const auto changed = m_fx->Events(110);
            QCOMPARE(changed.size(), 1);
            QCOMPARE(static_cast<const G_DocumentChangedEvent*>(changed.first())->SubType(), 0);
        }
    }

    void savedFileReadsBack_data()
    {
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("annotsInFile"); // on the first page, once saved
        QTest::addColumn<bool>("sealShown");   // drawn with annotations hidden unless placed
        QTest::newRow("embedded stamp is page content") << "contract.pdf" << "embed" << 0 << true;
        QTest::newRow("stamp on a page whose crop box is offset")
            << "cropped.pdf" << "place" << 2 << true;
        QTest::newRow("last stamp of a page deleted") << "cropped.pdf" << "delete" << 0 << false;
    }

    void savedFileReadsBack()
    {
        QFETCH(QString, sample);
        QFETCH(QString, action);
        QFETCH(int, annotsInFile);
        QFETCH(bool, sealShown);
        if (!PdfTools::Has("qpdf") || !PdfTools::Has("pdftoppm"))
            QSKIP("qpdf and pdftoppm are needed to read the saved file");
        QVERIFY(m_fx->OpenFile(QStringLiteral(SAMPLES_DIR "/") + sample));

        // 60 × 45 mm with its top-left at (40, 50) mm: the seal's star is at its middle.
        IG_Annot* stamp = action == "delete"
                              ? m_fx->View()->Page(0)->AnnotAt(0)
                              : StampKit::PlaceAuto(*m_fx, 0, CCA_GPoint(40, 50), CCA_GSize(60, 45));
        QVERIFY(stamp);
        if (action != "place") {
            m_fx->ClickAt(0, StampKit::Centre(stamp->GetRect()));
            m_fx->RightClickMenu(stamp, action == "embed" ? "d_embedpageannot" : "d_delpageannot");
            QVERIFY(!stamp->IsOnPage());
        }
        const QString out = m_fx->TempDir() + "/saved.pdf";
        QString error;
        QVERIFY2(m_fx->Document()->SaveAs(out, &error), qPrintable(error));
        const QString check = PdfTools::Check(out);
        QVERIFY2(check.isEmpty(), qPrintable(check));
        QCOMPARE(PdfTools::AnnotCount(out, 0), annotsInFile);

        const QImage page = PdfTools::Render(out, 0, action == "embed");
        QVERIFY(!page.isNull());
        const int red = PdfTools::RedAround(page, CCA_GPoint(70, 72.5f));
        QVERIFY2((red > 40) == sealShown, qPrintable(QString::number(red)));
        QCOMPARE(PdfTools::RedAround(page, CCA_GPoint(150, 20)), 0); // nothing where no stamp was

        // Opened again, the reader finds what the other programs found.
        QVERIFY(m_fx->OpenFile(out));
        int onPage = 0;
        for (int i = 0; i < m_fx->View()->Page(0)->AnnotCount(); ++i)
            onPage += m_fx->View()->Page(0)->AnnotAt(i)->IsOnPage();
        QCOMPARE(onPage, annotsInFile);
    }

private:
    std::unique_ptr<HostFixture> m_fx;
};

QTEST_MAIN(TestStampOperations)
#include "tst_stampoperations.moc"
