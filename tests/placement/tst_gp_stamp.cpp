// The placement operation "tp_stamp" run directly: automatic placement and what it writes
// back, the zoom guard, and where an interactive preview starts.

#include "hostfixture.h"
#include "stampkit.h"

#include "host/document/ig_annot.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_settingmgr.h"
#include "host/framework/g_uicontext.h"

#include <QCursor>
#include <QDir>
#include <QRegularExpression>
#include <QUndoStack>
#include <QtTest>
#include <cmath>
#include <memory>

namespace
{
const CCA_GSize kSize(40, 30);
}

class TestGpStamp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void automaticPlacementWritesBack_data();
    void automaticPlacementWritesBack();
    void automaticPlacementRecordsCreator_data();
    void automaticPlacementRecordsCreator();
    void zoomOutsideRangeIsRestored_data();
    void zoomOutsideRangeIsRestored();
    void interactivePreviewStartsAtPointer_data();
    void interactivePreviewStartsAtPointer();

private:
    G_Operation* makeStamp(const QVariant& autoValue);
    std::unique_ptr<HostFixture> m_fx;
};

void TestGpStamp::initTestCase()
{
    StampKit::InitPlugin();
}

void TestGpStamp::init()
{
    m_fx.reset(new HostFixture);
    QString error;
    QVERIFY2(m_fx->OpenFile(StampKit::ContractPath(), &error), qPrintable(error));
    m_fx->Context()->ClearEventLog();
}

void TestGpStamp::cleanup()
{
    m_fx.reset();
}

G_Operation* TestGpStamp::makeStamp(const QVariant& autoValue)
{
    G_Operation* op = m_fx->Context()->CreateOperationByName("tp_stamp", QString());
    if (!op)
        return nullptr;
    op->Param()->Add("stampId", StampKit::EmbedSeal(m_fx->Document()));
    op->Param()->Add("stampSize", kSize);
    op->Param()->Add("imgPath", StampKit::SealPath());
    op->Param()->AddVariant("auto", autoValue);
    return op;
}

void TestGpStamp::automaticPlacementWritesBack_data()
{
    QTest::addColumn<QVariant>("autoValue");
    QTest::addColumn<QString>("subType");
    QTest::addColumn<int>("pageIndex"); // −1: not given
    QTest::addColumn<QString>("expectedSubType");
    QTest::addColumn<int>("expectedPage");

    QTest::newRow("auto as int 1") << QVariant(1) << "" << 2 << "Stamp" << 2;
    QTest::newRow("auto as bool") << QVariant(true) << "" << 1 << "Stamp" << 1;
    QTest::newRow("sub-type Tablet") << QVariant(1) << "Tablet" << 2 << "Tablet" << 2;
    QTest::newRow("no page given: current page") << QVariant(1) << "" << -1 << "Stamp" << 0;
}

void TestGpStamp::automaticPlacementWritesBack()
{
    QFETCH(QVariant, autoValue);
    QFETCH(QString, subType);
    QFETCH(int, pageIndex);
    QFETCH(QString, expectedSubType);
    QFETCH(int, expectedPage);

    G_DocView* view = m_fx->View();
    const int undoBefore = view->UndoStack()->count();
    G_Operation* op = makeStamp(autoValue);
    QVERIFY(op);
    if (!subType.isEmpty())
        op->Param()->Add("subType", subType);
    if (pageIndex >= 0)
        op->Param()->Add("pageIndex", pageIndex);
    op->Param()->Add("position", CCA_GPoint(20, 30));
    QCOMPARE(op->PerformAction(), 1);
    const int annotId = op->Param()->GetInt32("annotid", 0);
    const int pageOut = op->Param()->GetInt32("pageIndex", -1);
    op->DeleteLater();

    QVERIFY(annotId > 0);
    QCOMPARE(pageOut, expectedPage);
    IG_Annot* annot = view->Page(expectedPage)->AnnotById(unsigned(annotId));
    QVERIFY(annot);
    QVERIFY(annot->IsOnPage());
    QVERIFY(!annot->IsRunTime());
    QCOMPARE(annot->GetRect(), CCA_GRect(20, 30, 60, 60));
    QCOMPARE(GQ_ToQString(annot->SubType()), expectedSubType);
    QCOMPARE(view->UndoStack()->count(), undoBefore + 1);
    QCOMPARE(StampKit::CurrentTool(view), QStringLiteral("t_handtool"));
    QCOMPARE(m_fx->Context()->CommandBarSelection(), QStringLiteral("t_handtool"));

    const auto changed = StampKit::Events(m_fx->Context(), 110);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(static_cast<const G_DocumentChangedEvent*>(changed.first())->SubType(), 1);
    QCOMPARE(static_cast<const G_DocumentChangedEvent*>(changed.first())->Annot(), annot);

    view->UndoStack()->undo();
    QVERIFY(!annot->IsOnPage());
}

void TestGpStamp::automaticPlacementRecordsCreator_data()
{
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QString>("expected");
    QTest::newRow("configured user") << "Ada Lovelace"
                                     << "Ada Lovelace";
    QTest::newRow("home folder name") << "" << QDir::home().dirName();
}

void TestGpStamp::automaticPlacementRecordsCreator()
{
    QFETCH(QString, configured);
    QFETCH(QString, expected);
    if (!configured.isEmpty()) {
        G_SettingMgr::Instance()->SetConfigCache(
            QStringLiteral("annot.annothighlight.identity.username"), configured);
    }
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    IG_Annot* annot = StampKit::PlaceAuto(*m_fx, 0, CCA_GPoint(10, 10), kSize);
    QVERIFY(annot);
    QCOMPARE(QString::fromUtf8(annot->Creator().c_str()), expected);
    const QString date = QString::fromUtf8(annot->CreationDate().c_str());
    const QDateTime stamped = QDateTime::fromString(date, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    QVERIFY2(stamped.isValid(), qPrintable(date));
    QVERIFY(stamped >= before.addSecs(-1));
    QVERIFY(stamped <= QDateTime::currentDateTime().addSecs(1));
}

void TestGpStamp::zoomOutsideRangeIsRestored_data()
{
    QTest::addColumn<float>("zoom");
    QTest::addColumn<float>("restored");
    QTest::addColumn<int>("messages");
    QTest::newRow("9.9 %") << 9.9f << 10.0f << 1;
    QTest::newRow("500.1 %") << 500.1f << 500.0f << 1;
    QTest::newRow("10 %") << 10.0f << 10.0f << 0;
    QTest::newRow("500 %") << 500.0f << 500.0f << 0;
    QTest::newRow("100 %") << 100.0f << 100.0f << 0;
}

void TestGpStamp::zoomOutsideRangeIsRestored()
{
    QFETCH(float, zoom);
    QFETCH(float, restored);
    QFETCH(int, messages);
    G_DocView* view = m_fx->View();
    view->SetZoom(zoom);
    QCOMPARE(view->GetZoom(), zoom);
    m_fx->Context()->ClearEventLog();

    IG_Annot* annot = StampKit::PlaceAuto(*m_fx, 1, CCA_GPoint(50, 60), kSize);

    QCOMPARE(view->GetZoom(), restored);
    const auto shown = StampKit::Events(m_fx->Context(), 173);
    QCOMPARE(shown.size(), messages);
    if (messages) {
        QCOMPARE(static_cast<const G_StringEvent*>(shown.first())->Text(),
                 QStringLiteral("The current view zoom no more than 10%-500%, automatic "
                                "recovery has been made."));
    }
    QVERIFY(annot);
    QVERIFY(annot->IsOnPage());
    QCOMPARE(annot->GetRect(), CCA_GRect(50, 60, 90, 90));
}

void TestGpStamp::interactivePreviewStartsAtPointer_data()
{
    QTest::addColumn<int>("pointerPage"); // −1: off every page
    QTest::addColumn<CCA_GPoint>("pointer");
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<CCA_GRect>("expected");

    const CCA_GPoint none;
    QTest::newRow("on the page") << 0 << CCA_GPoint(100, 100) << 0 << CCA_GRect(80, 85, 120, 115);
    QTest::newRow("other page") << 1 << CCA_GPoint(50, 40) << 0 << CCA_GRect(30, 25, 70, 55);
    QTest::newRow("off every page") << -1 << none << 2 << CCA_GRect(0, 0, 40, 30);
}

void TestGpStamp::interactivePreviewStartsAtPointer()
{
    QFETCH(int, pointerPage);
    QFETCH(CCA_GPoint, pointer);
    QFETCH(int, pageIndex);
    QFETCH(CCA_GRect, expected);
    G_DocView* view = m_fx->View();

    if (pointerPage >= 0) {
        StampKit::PointerTo(*m_fx, pointerPage, pointer);
    } else {
        const QRect pageRect = view->PageRect(0);
        const QPoint margin(pageRect.left() - G_DocView::kPageGap - 20 - view->ScrollOffset().x(),
                            view->viewport()->height() / 2);
        QCursor::setPos(view->viewport()->mapToGlobal(margin));
    }

    G_Operation* op = makeStamp(false);
    QVERIFY(op);
    op->Param()->Add("pageIndex", pageIndex);
    // Interactive placement ignores both.
    op->Param()->Add("position", CCA_GPoint(5, 5));
    op->Param()->Add("subType", QStringLiteral("Tablet"));
    QCOMPARE(op->PerformAction(), 1);
    QVERIFY(!op->Param()->Has("annotid"));
    op->DeleteLater();

    IG_Annot* preview = StampKit::Pending(view);
    QVERIFY(preview);
    QVERIFY(preview->IsRunTime());
    QCOMPARE(preview->Page()->Index(), pageIndex);
    QCOMPARE(GQ_ToQString(preview->SubType()), QStringLiteral("Stamp"));
    const CCA_GRect r = preview->GetRect();
    const float tolerance = 0.3f;
    QVERIFY2(std::fabs(r.left - expected.left) <= tolerance &&
                 std::fabs(r.top - expected.top) <= tolerance,
             qPrintable(QStringLiteral("%1, %2").arg(r.left).arg(r.top)));
    QCOMPARE(r.Width(), expected.Width());
    QCOMPARE(r.Height(), expected.Height());
    QCOMPARE(StampKit::CurrentTool(view), QStringLiteral("tp_stamp"));
    const auto changed = StampKit::Events(m_fx->Context(), 110);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(static_cast<const G_DocumentChangedEvent*>(changed.first())->SubType(), 0);
}

QTEST_MAIN(TestGpStamp)
#include "tst_gp_stamp.moc"
