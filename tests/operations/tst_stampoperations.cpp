// The stamp operations: what "ti_stamp" and "d_invoiceseal" hand to "tp_stamp", deleting
// and embedding the stamp selected last (also from its context menu), and what a saved
// file holds after embedding, read back by programs of other makers.

#include "hostfixture.h"
#include "stampkit.h"

#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_layer.h"
#include "host/document/ig_page.h"
#include "host/framework/g_contextmenu.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_operationinterceptor.h"
#include "host/framework/g_settingmgr.h"
#include "host/framework/g_uicontext.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QUndoStack>
#include <QtTest>
#include <memory>

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
        values.clear();
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
    QHash<QString, QVariant> values;
    int annotIdAfter = 0;

private:
    QByteArray m_name;
};

const CCA_GSize kSize(40, 30);

QByteArray run(const QString& program, const QStringList& args, int* exitCode = nullptr)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(30000);
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput() + process.readAllStandardError();
}

} // namespace

class TestStampOperations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void forwarderPassesStampKeys_data();
    void forwarderPassesStampKeys();
    void deleteBeforeAnySelectionDoesNothing();
    void deleteNamesCachedPageAndId_data();
    void deleteNamesCachedPageAndId();
    void deleteFromContextMenuFollowsSelection();
    void embedFromContextMenuAfterSecondSelection();
    void embedWithoutSelectionReturnsZero();
    void stampThatCannotBeEmbeddedStays();
    void embeddedStampIsPageContentWhenSaved();

private:
    void chooseFromMenu(IG_Annot* annot, const QString& operation);
    std::unique_ptr<HostFixture> m_fx;
};

void TestStampOperations::initTestCase()
{
    StampKit::InitPlugin();
}

void TestStampOperations::init()
{
    m_fx.reset(new HostFixture);
    QString error;
    QVERIFY2(m_fx->OpenFile(StampKit::ContractPath(), &error), qPrintable(error));
}

void TestStampOperations::cleanup()
{
    m_fx.reset();
}

void TestStampOperations::chooseFromMenu(IG_Annot* annot, const QString& operation)
{
    G_ContextMenu* menu = m_fx->Context()->ContextMenu();
    menu->SetChooser(
        [operation](const QString&, const QList<G_ContextMenu::Entry>&) { return operation; });
    m_fx->ClickAt(annot->Page()->Index(), StampKit::Centre(annot->GetRect()), Qt::RightButton);
    menu->SetChooser(nullptr);
}

void TestStampOperations::forwarderPassesStampKeys_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isAuto");
    QTest::addColumn<bool>("applySign");
    QTest::addColumn<QStringList>("keys");

    const QStringList head{"name", "stampId", "stampSize", "imgPath"};
    for (const char* name : {"ti_stamp", "d_invoiceseal"}) {
        const QByteArray n(name);
        QTest::newRow(n + ", interactive")
            << QString(name) << false << false << head + QStringList{"auto"};
        QTest::newRow(n + ", interactive, sign")
            << QString(name) << false << true << head + QStringList{"applysign", "auto"};
        QTest::newRow(n + ", automatic") << QString(name) << true << false
                                         << head + QStringList{"pageIndex", "position", "auto"};
        QTest::newRow(n + ", automatic, sign")
            << QString(name) << true << true
            << head + QStringList{"pageIndex", "position", "applysign", "auto"};
    }
}

void TestStampOperations::forwarderPassesStampKeys()
{
    QFETCH(QString, name);
    QFETCH(bool, isAuto);
    QFETCH(bool, applySign);
    QFETCH(QStringList, keys);

    RunRecorder placement("tp_stamp");
    StampKit::PointerTo(*m_fx, 0, CCA_GPoint(100, 100));
    G_Operation* op = m_fx->Context()->CreateOperationByName(name.toUtf8().constData(), QString());
    QVERIFY(op);
    const int stampId = StampKit::EmbedSeal(m_fx->Document());
    op->Param()->Add("stampId", stampId);
    op->Param()->Add("stampSize", kSize);
    op->Param()->Add("imgPath", StampKit::SealPath());
    op->Param()->Add("pageIndex", 2);
    op->Param()->Add("position", CCA_GPoint(15, 25));
    op->Param()->Add("applysign", applySign);
    op->Param()->Add("auto", isAuto);
    QCOMPARE(op->DoAction(), 1); // the forwarding itself, without the picker's interceptor
    const int handedBack = op->Param()->GetInt32("annotid", -1);
    op->DeleteLater();

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

void TestStampOperations::deleteBeforeAnySelectionDoesNothing()
{
    IG_Annot* stamp = StampKit::PlaceAuto(*m_fx, 0, CCA_GPoint(20, 20), kSize);
    QVERIFY(stamp);
    RunRecorder del("d_delannot");
    QUndoStack* undo = m_fx->View()->UndoStack();
    const int undoBefore = undo->count();
    const quint64 revision = m_fx->Document()->Revision();

    G_Operation* op = m_fx->Context()->CreateOperationByName("d_delpageannot", QString());
    QVERIFY(op);
    QCOMPARE(op->PerformAction(), 0);
    op->DeleteLater();

    QCOMPARE(del.runs, 0);
    QVERIFY(stamp->IsOnPage());
    QCOMPARE(undo->count(), undoBefore);
    QCOMPARE(m_fx->Document()->Revision(), revision);
}

void TestStampOperations::deleteNamesCachedPageAndId_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("annotId");
    QTest::addColumn<QString>("text");
    QTest::newRow("page 3, id 17") << 3 << 17 << "3:17";
    QTest::newRow("page 0, id 1024") << 0 << 1024 << "0:1024";
}

void TestStampOperations::deleteNamesCachedPageAndId()
{
    QFETCH(int, page);
    QFETCH(int, annotId);
    QFETCH(QString, text);
    G_SettingMgr::Instance()->SetConfigCache(QStringLiteral("stampPageIndex"), page);
    G_SettingMgr::Instance()->SetConfigCache(QStringLiteral("stampAnnotID"), annotId);
    RunRecorder del("d_delannot");

    G_Operation* op = m_fx->Context()->CreateOperationByName("d_delpageannot", QString());
    QVERIFY(op);
    QCOMPARE(op->PerformAction(), 1);
    op->DeleteLater();

    QCOMPARE(del.runs, 1);
    QCOMPARE(del.values.value("pageAndAnnotID").toString(), text);
}

void TestStampOperations::deleteFromContextMenuFollowsSelection()
{
    IG_Annot* a = StampKit::PlaceAuto(*m_fx, 0, CCA_GPoint(30, 40), kSize);
    IG_Annot* b = StampKit::PlaceAuto(*m_fx, 1, CCA_GPoint(100, 150), kSize);
    QVERIFY(a && b);
    QUndoStack* undo = m_fx->View()->UndoStack();
    const int undoBefore = undo->count();

    m_fx->ClickAt(0, StampKit::Centre(a->GetRect()));
    chooseFromMenu(a, QStringLiteral("d_delpageannot"));
    QVERIFY(!a->IsOnPage());
    QVERIFY(b->IsOnPage());

    m_fx->ClickAt(1, StampKit::Centre(b->GetRect()));
    chooseFromMenu(b, QStringLiteral("d_delpageannot"));
    QVERIFY(!b->IsOnPage());
    QCOMPARE(undo->count(), undoBefore + 2);

    // Deleting is an ordinary change: both come back.
    undo->undo();
    undo->undo();
    QVERIFY(a->IsOnPage());
    QVERIFY(b->IsOnPage());
}

void TestStampOperations::embedFromContextMenuAfterSecondSelection()
{
    IG_Annot* a = StampKit::PlaceAuto(*m_fx, 0, CCA_GPoint(30, 40), kSize);
    IG_Annot* b = StampKit::PlaceAuto(*m_fx, 1, CCA_GPoint(100, 150), kSize);
    QVERIFY(a && b);
    IG_Page* page = m_fx->View()->Page(1);
    const int layers = page->LayerCount();
    QVERIFY(layers > 0);
    const int objects = page->LayerAt(layers - 1)->ObjectCount();
    QVERIFY(m_fx->View()->UndoStack()->count() > 0);

    m_fx->ClickAt(0, StampKit::Centre(a->GetRect()));
    m_fx->ClickAt(1, StampKit::Centre(b->GetRect()));
    chooseFromMenu(b, QStringLiteral("d_embedpageannot"));

    QVERIFY(!b->IsOnPage());
    QVERIFY(a->IsOnPage());
    QCOMPARE(page->LayerCount(), layers);
    QCOMPARE(page->LayerAt(layers - 1)->ObjectCount(), objects + 1);
    QCOMPARE(m_fx->View()->UndoStack()->count(), 0);
}

void TestStampOperations::embedWithoutSelectionReturnsZero()
{
    IG_Annot* stamp = StampKit::PlaceAuto(*m_fx, 0, CCA_GPoint(20, 20), kSize);
    QVERIFY(stamp);
    G_Operation* op = m_fx->Context()->CreateOperationByName("d_embedpageannot", QString());
    QVERIFY(op);
    op->Param()->Add("pageIndex", 0);
    QCOMPARE(op->PerformAction(), 0);
    op->DeleteLater();
    QVERIFY(stamp->IsOnPage());
    QVERIFY(m_fx->View()->UndoStack()->count() > 0);
}

void TestStampOperations::stampThatCannotBeEmbeddedStays()
{
    // Placed without a picture (a caller that passed no "stampId"): the stamp has nothing
    // that could become page content.
    G_Operation* place = m_fx->Context()->CreateOperationByName("tp_stamp", QString());
    QVERIFY(place);
    place->Param()->Add("stampSize", kSize);
    place->Param()->Add("pageIndex", 0);
    place->Param()->Add("position", CCA_GPoint(40, 50));
    place->Param()->Add("auto", 1);
    QCOMPARE(place->PerformAction(), 1);
    const unsigned int id = unsigned(place->Param()->GetInt32("annotid", 0));
    place->DeleteLater();
    IG_Page* page = m_fx->View()->Page(0);
    IG_Annot* stamp = page->AnnotById(id);
    QVERIFY(stamp);
    QCOMPARE(stamp->ResourceID(), 0);
    const int layers = page->LayerCount();
    const int objects = layers > 0 ? page->LayerAt(layers - 1)->ObjectCount() : 0;
    QUndoStack* undo = m_fx->View()->UndoStack();
    const int undoBefore = undo->count();
    QVERIFY(undoBefore > 0);

    m_fx->ClickAt(0, StampKit::Centre(stamp->GetRect()));
    QCOMPARE(G_SettingMgr::Instance()
                 ->ConfigValue(QStringLiteral("stampAnnotID"), QVariant(-1))
                 .toUInt(),
             id);
    RunRecorder del("d_delannot");
    G_Operation* op = m_fx->Context()->CreateOperationByName("d_embedpageannot", QString());
    QVERIFY(op);
    op->Param()->Add("pageIndex", 0);
    QCOMPARE(op->PerformAction(), 0);
    op->DeleteLater();

    // Nothing went into the page, so the stamp and the way back to earlier changes stay.
    QCOMPARE(del.runs, 0);
    QVERIFY(stamp->IsOnPage());
    QCOMPARE(page->LayerCount(), layers);
    if (layers > 0)
        QCOMPARE(page->LayerAt(layers - 1)->ObjectCount(), objects);
    QCOMPARE(undo->count(), undoBefore);
}

void TestStampOperations::embeddedStampIsPageContentWhenSaved()
{
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    const QString qpdf = QStandardPaths::findExecutable("qpdf");
    if (pdftoppm.isEmpty() || qpdf.isEmpty())
        QSKIP("pdftoppm and qpdf are needed to read the saved file");

    // 60 × 45 mm with its top-left at (40, 50) mm: the seal's star is at its middle.
    IG_Annot* stamp = StampKit::PlaceAuto(*m_fx, 0, CCA_GPoint(40, 50), CCA_GSize(60, 45));
    QVERIFY(stamp);
    m_fx->ClickAt(0, StampKit::Centre(stamp->GetRect()));
    chooseFromMenu(stamp, QStringLiteral("d_embedpageannot"));
    QVERIFY(!stamp->IsOnPage());

    const QString out = m_fx->TempDir() + "/embedded.pdf";
    QString error;
    QVERIFY2(m_fx->Document()->SaveAs(out, &error), qPrintable(error));

    int code = -1;
    const QByteArray check = run(qpdf, {"--check", out}, &code);
    QVERIFY2(code == 0, check.constData());

    // No annotation is left on the first page.
    const QByteArray json = run(qpdf, {"--json=2", "--json-key=pages", out}, &code);
    QCOMPARE(code, 0);
    const QJsonArray pages = QJsonDocument::fromJson(json).object().value("pages").toArray();
    QCOMPARE(pages.size(), 3);
    QVERIFY2(pages.at(0).toObject().value("annotations").toArray().isEmpty(), json.left(2000));

    // Drawn with annotations hidden, the star is there: it is page content now.
    const QString prefix = m_fx->TempDir() + "/page";
    run(pdftoppm, {"-r", "72", "-f", "1", "-l", "1", "-hide-annotations", out, prefix}, &code);
    QCOMPARE(code, 0);
    QImage image;
    for (const QString& name : {prefix + "-1.ppm", prefix + "-01.ppm", prefix + "-001.ppm"}) {
        if (image.load(name))
            break;
    }
    QVERIFY(!image.isNull());
    const double k = 72.0 / 25.4;
    const QPoint centre(int(70 * k), int(72.5 * k));
    int red = 0;
    for (int dy = -4; dy <= 4; ++dy) {
        for (int dx = -4; dx <= 4; ++dx) {
            const QColor c = image.pixelColor(centre + QPoint(dx, dy));
            if (c.red() > 170 && c.green() < 110 && c.blue() < 110)
                ++red;
        }
    }
    QVERIFY2(red > 40, qPrintable(QString::number(red)));
    // And nothing red where no stamp was.
    const QColor away = image.pixelColor(int(150 * k), int(20 * k));
    QVERIFY(!(away.red() > 170 && away.green() < 110));
}

QTEST_MAIN(TestStampOperations)
#include "tst_stampoperations.moc"
