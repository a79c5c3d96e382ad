// The placement operation "tp_stamp" run directly: automatic placement and what it writes
// back, the zoom guard, and where an interactive preview starts.

#include "hostfixture.h"
#include "stampkit.h"

#include "host/document/ig_annot.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_settingmgr.h"
#include "host/framework/g_uicontext.h"

#include <QCursor>
#include <QDir>
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
    void initTestCase() { StampKit::InitPlugin(); }
    void init();
    void cleanup() { m_fx.reset(); }

    void automaticPlacementWritesBack_data();
    void automaticPlacementWritesBack();
    void zoomOutsideRangeIsRestored_data();
    void zoomOutsideRangeIsRestored();
    void interactivePreviewStartsAtPointer_data();
    void interactivePreviewStartsAtPointer();

private:
    QVariantMap stamp(const QVariant& autoValue);
    std::unique_ptr<HostFixture> m_fx;
};

void TestGpStamp::init()
{
    m_fx.reset(new HostFixture);
    QString error;
    QVERIFY2(m_fx->OpenFile(StampKit::ContractPath(), &error), qPrintable(error));
    m_fx->Context()->ClearEventLog();
}

QVariantMap TestGpStamp::stamp(const QVariant& autoValue)
{
    return {{"stampId", StampKit::EmbedSeal(m_fx->Document())},
            {"stampSize", QVariant::fromValue(kSize)},
            {"imgPath", StampKit::SealPath()},
            {"auto", autoValue}};
}

void TestGpStamp::automaticPlacementWritesBack_data()
{
    QTest::addColumn<QVariant>("autoValue");
    QTest::addColumn<QString>("subType");
    QTest::addColumn<int>("pageIndex"); // −1: not given
    QTest::addColumn<QString>("user");  // configured creator; empty: none
    QTest::addColumn<QString>("expectedSubType");
    QTest::addColumn<int>("expectedPage");

    QTest::newRow("auto as int 1") << QVariant(1) << "" << 2 << "" << "Stamp" << 2;
    QTest::newRow("auto as bool") << QVariant(true) << "" << 1 << "" << "Stamp" << 1;
    QTest::newRow("sub-type Tablet") << QVariant(1) << "Tablet" << 2 << "" << "Tablet" << 2;
    QTest::newRow("no page given: current page") << QVariant(1) << "" << -1 << "" << "Stamp" << 0;
    QTest::newRow("configured user") << QVariant(1) << "" << 0 << "Ada Lovelace" << "Stamp" << 0;
}

void TestGpStamp::automaticPlacementWritesBack()
{
    QFETCH(QVariant, autoValue);
    QFETCH(QString, subType);
    QFETCH(int, pageIndex);
    QFETCH(QString, user);
    QFETCH(QString, expectedSubType);
    QFETCH(int, expectedPage);
    if (!user.isEmpty()) {
        G_SettingMgr::Instance()->SetConfigCache(
            QStringLiteral("annot.annothighlight.identity.username"), user);
    }
    G_DocView* view = m_fx->View();
    const int undoBefore = view->UndoStack()->count();
    QVariantMap params = stamp(autoValue);
    params.insert("position", QVariant::fromValue(CCA_GPoint(20, 30)));
    if (!subType.isEmpty())
        params.insert("subType", subType);
    if (pageIndex >= 0)
        params.insert("pageIndex", pageIndex);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
    QVariantMap out;
    QCOMPARE(m_fx->Run("tp_stamp", params, &out), 1);

    QCOMPARE(out.value("pageIndex").toInt(), expectedPage);
    IG_Annot* annot = view->Page(expectedPage)->AnnotById(out.value("annotid").toUInt());
    QVERIFY(annot);
    QVERIFY(annot->IsOnPage() && !annot->IsRunTime());
    QCOMPARE(annot->GetRect(), CCA_GRect(20, 30, 60, 60));
    QCOMPARE(GQ_ToQString(annot->SubType()), expectedSubType);
    QCOMPARE(QString::fromUtf8(annot->Creator().c_str()),
             user.isEmpty() ? QDir::home().dirName() : user);
    const QString date = QString::fromUtf8(annot->CreationDate().c_str());
    const QDateTime stamped = QDateTime::fromString(date, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    QVERIFY2(stamped >= before && stamped <= QDateTime::currentDateTime().addSecs(1),
             qPrintable(date));
    QCOMPARE(view->UndoStack()->count(), undoBefore + 1);
    QCOMPARE(m_fx->CurrentTool(), QStringLiteral("t_handtool"));
    QCOMPARE(m_fx->Context()->CommandBarSelection(), QStringLiteral("t_handtool"));
    const auto changed = m_fx->Events(110);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(static_cast<const G_DocumentChangedEvent*>(changed.first())->SubType(), 1);
    QCOMPARE(static_cast<const G_DocumentChangedEvent*>(changed.first())->Annot(), annot);
}

void TestGpStamp::zoomOutsideRangeIsRestored_data()
{
    QTest::addColumn<float>("zoom");
    QTest::addColumn<float>("restored");
    QTest::newRow("9.9 %") << 9.9f << 10.0f;
    QTest::newRow("500.1 %") << 500.1f << 500.0f;
    QTest::newRow("10 %") << 10.0f << 10.0f;
    QTest::newRow("500 %") << 500.0f << 500.0f;
    QTest::newRow("100 %") << 100.0f << 100.0f;
}

void TestGpStamp::zoomOutsideRangeIsRestored()
{
    QFETCH(float, zoom);
    QFETCH(float, restored);
    G_DocView* view = m_fx->View();
    view->SetZoom(zoom);
    QCOMPARE(view->GetZoom(), zoom);

    IG_Annot* annot = StampKit::PlaceAuto(*m_fx, 1, CCA_GPoint(50, 60), kSize);

    QCOMPARE(view->GetZoom(), restored);
    const auto shown = m_fx->Events(173);
    QCOMPARE(shown.size(), zoom == restored ? 0 : 1);
    if (!shown.isEmpty()) {
        QCOMPARE(static_cast<const G_StringEvent*>(shown.first())->Text(),
                 QStringLiteral("The current view zoom no more than 10%-500%, automatic "
                                "recovery has been made."));
    }
    QVERIFY(annot && annot->IsOnPage());
    QCOMPARE(annot->GetRect(), CCA_GRect(50, 60, 90, 90));
}

void TestGpStamp::interactivePreviewStartsAtPointer_data()
{
    QTest::addColumn<int>("pointerPage"); // −1: off every page
    QTest::addColumn<CCA_GPoint>("pointer");
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<CCA_GRect>("expected");

    QTest::newRow("on the page") << 0 << CCA_GPoint(100, 100) << 0 << CCA_GRect(80, 85, 120, 115);
    QTest::newRow("other page") << 1 << CCA_GPoint(50, 40) << 0 << CCA_GRect(30, 25, 70, 55);
    QTest::newRow("off every page") << -1 << CCA_GPoint() << 2 << CCA_GRect(0, 0, 40, 30);
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
    QVariantMap params = stamp(false);
    params.insert("pageIndex", pageIndex);
    // Interactive placement ignores both.
    params.insert("position", QVariant::fromValue(CCA_GPoint(5, 5)));
    params.insert("subType", QStringLiteral("Tablet"));
    QVariantMap out;
    QCOMPARE(m_fx->Run("tp_stamp", params, &out), 1);
    QVERIFY(!out.contains("annotid"));

    IG_Annot* preview = StampKit::Pending(view);
    QVERIFY(preview && preview->IsRunTime());
    QCOMPARE(preview->Page()->Index(), pageIndex);
    QCOMPARE(GQ_ToQString(preview->SubType()), QStringLiteral("Stamp"));
    const CCA_GRect r = preview->GetRect();
    QVERIFY2(std::fabs(r.left - expected.left) <= 0.3f && std::fabs(r.top - expected.top) <= 0.3f,
             qPrintable(QStringLiteral("%1, %2").arg(r.left).arg(r.top)));
    QCOMPARE(r.Width(), expected.Width());
    QCOMPARE(r.Height(), expected.Height());
    QCOMPARE(m_fx->CurrentTool(), QStringLiteral("tp_stamp"));
    const auto changed = m_fx->Events(110);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(static_cast<const G_DocumentChangedEvent*>(changed.first())->SubType(), 0);
}

QTEST_MAIN(TestGpStamp)
#include "tst_gp_stamp.moc"
