// Interactive stamp placement on a three-page PDF, driven with the mouse: the preview
// follows the pointer, a left click commits it, a right click, another operation or a
// navigation change drops it.

#include "hostfixture.h"
#include "stampkit.h"

#include "host/document/g_application.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_navigationpage.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_uicontext.h"
#include "placement/gpi_cancelannot.h"
#include "placement/gt_stamp.h"

#include <QCursor>
#include <QScrollBar>
#include <QUndoStack>
#include <QtTest>
#include <cmath>
#include <memory>

namespace
{
const CCA_GSize kSize(40, 30);
constexpr float kTolerance = 0.3f; // mm: a pixel at 100 % is 0.26 mm

bool near(const CCA_GPoint& a, const CCA_GPoint& b)
{
    return std::fabs(a.x - b.x) <= kTolerance && std::fabs(a.y - b.y) <= kTolerance;
}

QByteArray show(const CCA_GPoint& p)
{
    return QByteArray::number(p.x) + ", " + QByteArray::number(p.y);
}
} // namespace

class TestGtStamp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void previewIsCentredUnderPointer();
    void previewFollowsPointer_data();
    void previewFollowsPointer();
    void releaseNearPageEdge_data();
    void releaseNearPageEdge();
    void commitRequestsSignatureOnlyWhenAsked_data();
    void commitRequestsSignatureOnlyWhenAsked();
    void signatureWithoutDocumentContextTellsUser();
    void committedStampIsUndoable();
    void dragFromOtherPageCommitsOnStampPage();
    void rightClickDropsPreview();
    void rightClickWithNothingPendingIsHandled();
    void otherOperationCancelsPreview_data();
    void otherOperationCancelsPreview();
    void cancelWithHandToolCurrentSwitchesNothing();
    void navigationChangeCancelsPreview();
    void laterNavigationPagesAreNotConnected();
    void closingTheViewDisarmsCancel();
    void closingAViewDropsItsPreview();
    void switchingToViewWithStampToolReturnsHand_data();
    void switchingToViewWithStampToolReturnsHand();

private:
    QPoint viewportFromScene(const CCA_Point& scene);
    void clickLeftAtScene(const CCA_Point& scene);

    std::unique_ptr<HostFixture> m_fx;
    std::unique_ptr<Core::G_NavigationPage> m_earlyNaviPage;
};

void TestGtStamp::initTestCase()
{
    // A navigation page that exists before the plug-in is initialised, as the reader's
    // thumbnail panel does.
    m_earlyNaviPage.reset(new Core::G_NavigationPage);
    StampKit::InitPlugin();
    QVERIFY(CancelAnnotInstance);
}

void TestGtStamp::init()
{
    m_fx.reset(new HostFixture);
    QString error;
    QVERIFY2(m_fx->OpenFile(StampKit::ContractPath(), &error), qPrintable(error));
    QCOMPARE(m_fx->View()->PageCount(), 3);
    QCOMPARE(m_fx->View()->GetZoom(), 100.0f);
    m_fx->Context()->ClearEventLog();
}

void TestGtStamp::cleanup()
{
    m_fx.reset();
}

QPoint TestGtStamp::viewportFromScene(const CCA_Point& scene)
{
    G_DocView* view = m_fx->View();
    const QRect visible(view->ScrollOffset(), view->viewport()->size());
    if (!visible.adjusted(4, 4, -4, -4).contains(scene.x, scene.y)) {
        view->horizontalScrollBar()->setValue(scene.x - visible.width() / 2);
        view->verticalScrollBar()->setValue(scene.y - visible.height() / 2);
    }
    return QPoint(scene.x, scene.y) - view->ScrollOffset();
}

void TestGtStamp::clickLeftAtScene(const CCA_Point& scene)
{
    const QPoint pos = viewportFromScene(scene);
    m_fx->MoveToViewport(pos);
    m_fx->PressAtViewport(pos);
    m_fx->ReleaseAtViewport(pos);
}

void TestGtStamp::previewIsCentredUnderPointer()
{
    const CCA_GPoint at(100, 150);
    IG_Annot* preview = StampKit::StartInteractive(*m_fx, 0, at, kSize);
    QVERIFY(preview);
    QVERIFY(preview->IsRunTime());
    QVERIFY(preview->IsOnPage());
    QCOMPARE(preview->Page()->Index(), 0);
    QCOMPARE(GQ_ToQString(preview->SubType()), QStringLiteral("Stamp"));
    const CCA_GRect r = preview->GetRect();
    QVERIFY2(near(StampKit::Centre(r), at), show(StampKit::Centre(r)));
    QCOMPARE(r.Width(), kSize.width);
    QCOMPARE(r.Height(), kSize.height);
    QCOMPARE(StampKit::CurrentTool(m_fx->View()), QStringLiteral("tp_stamp"));
    QCOMPARE(CancelAnnotInstance->PendingTool(), StampKit::StampTool(m_fx->View()));
}

void TestGtStamp::previewFollowsPointer_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<bool>("offPages");

    QTest::newRow("same page") << 0 << 60.f << 80.f << false;
    QTest::newRow("same page, far corner") << 0 << 190.f << 270.f << false;
    QTest::newRow("next page") << 1 << 50.f << 40.f << false;
    QTest::newRow("last page") << 2 << 120.f << 200.f << false;
    QTest::newRow("off pages") << 0 << 0.f << 0.f << true;
}

void TestGtStamp::previewFollowsPointer()
{
    QFETCH(int, page);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(bool, offPages);

    IG_Annot* preview = StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(100, 150), kSize);
    QVERIFY(preview);
    const CCA_GRect before = preview->GetRect();
    G_DocView* view = m_fx->View();

    if (offPages) {
        // The grey margin left of the pages.
        const QRect pageRect = view->PageRect(0);
        const QPoint pos(pageRect.left() - G_DocView::kPageGap - 20 - view->ScrollOffset().x(),
                         view->viewport()->height() / 2);
        QVERIFY(pos.x() > 0);
        m_fx->MoveToViewport(pos);
        QCOMPARE(preview->GetRect(), before);
        QVERIFY(preview->IsOnPage());
        return;
    }

    const QPoint pos = m_fx->ViewportPoint(page, CCA_GPoint(x, y));
    m_fx->MoveToViewport(pos);
    // The stamp stays on its page, centred on the pointer in that page's coordinates.
    QCOMPARE(preview->Page()->Index(), 0);
    int own = 0;
    const CCA_Point scene(pos.x() + view->ScrollOffset().x(), pos.y() + view->ScrollOffset().y());
    const CCA_GPoint expected = view->DocPointFromScenePoint(scene, own);
    const CCA_GRect r = preview->GetRect();
    QVERIFY2(near(StampKit::Centre(r), expected),
             show(StampKit::Centre(r)) + " vs " + show(expected));
    QCOMPARE(r.Width(), kSize.width);
    QCOMPARE(StampKit::Pending(view), preview);
}

void TestGtStamp::releaseNearPageEdge_data()
{
    QTest::addColumn<int>("edge");       // 0 left, 1 top, 2 right, 3 bottom
    QTest::addColumn<int>("lessInside"); // pixels fewer than the 2 mm margin, rounded up
    QTest::addColumn<bool>("accepted");

    QTest::newRow("left, margin") << 0 << 0 << true;
    QTest::newRow("left, margin - 1") << 0 << 1 << false;
    QTest::newRow("top, margin") << 1 << 0 << true;
    QTest::newRow("top, margin - 1") << 1 << 1 << false;
    QTest::newRow("right, margin") << 2 << 0 << true;
    QTest::newRow("right, margin - 1") << 2 << 1 << false;
    QTest::newRow("bottom, margin") << 3 << 0 << true;
    QTest::newRow("bottom, margin - 1") << 3 << 1 << false;
    QTest::newRow("on the edge") << 0 << 8 << false;
}

void TestGtStamp::releaseNearPageEdge()
{
    QFETCH(int, edge);
    QFETCH(int, lessInside);
    QFETCH(bool, accepted);

    G_DocView* view = m_fx->View();
    IG_Annot* preview = StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(105, 148), kSize);
    QVERIFY(preview);
    const int undoBefore = view->UndoStack()->count();
    m_fx->Context()->ClearEventLog();

    const QRect r = view->PageRect(0);
    const int m = int(std::ceil(view->MM2Px(2.0f)));
    const int inset = qMax(0, m - lessInside);
    const QPoint mid = r.center();
    CCA_Point click(mid.x(), mid.y());
    switch (edge) {
    case 0:
        click.x = r.left() + inset;
        break;
    case 1:
        click.y = r.top() + inset;
        break;
    case 2:
        click.x = r.right() - inset;
        break;
    default:
        click.y = r.bottom() - inset;
        break;
    }
    clickLeftAtScene(click);

    if (!accepted) {
        QCOMPARE(StampKit::Pending(view), preview);
        QVERIFY(preview->IsOnPage());
        QCOMPARE(view->UndoStack()->count(), undoBefore);
        QCOMPARE(StampKit::CurrentTool(view), QStringLiteral("tp_stamp"));
        QVERIFY(StampKit::Events(m_fx->Context(), 110).isEmpty());
        return;
    }

    QVERIFY(!StampKit::Pending(view));
    QVERIFY(!preview->IsOnPage());
    QCOMPARE(view->UndoStack()->count(), undoBefore + 1);
    QCOMPARE(StampKit::CurrentTool(view), QStringLiteral("t_handtool"));
    QCOMPARE(m_fx->Context()->CommandBarSelection(), QStringLiteral("t_handtool"));

    const QList<const G_Event*> changed = StampKit::Events(m_fx->Context(), 110);
    QCOMPARE(changed.size(), 1);
    auto* event = static_cast<const G_DocumentChangedEvent*>(changed.first());
    QCOMPARE(event->SubType(), 1);
    IG_Annot* placed = event->Annot();
    QVERIFY(placed);
    QVERIFY(placed != preview);
    QVERIFY(placed->IsOnPage());
    QVERIFY(!placed->IsRunTime());
    QCOMPARE(placed->Page()->Index(), 0);
    QCOMPARE(placed->GetRect(), preview->GetRect());
    QVERIFY(placed->ResourceID() > 0);
    QCOMPARE(StampKit::RunTimeCount(view->Page(0)), 0);
}

void TestGtStamp::commitRequestsSignatureOnlyWhenAsked_data()
{
    QTest::addColumn<bool>("applySign");
    QTest::newRow("apply signature") << true;
    QTest::newRow("no signature") << false;
}

void TestGtStamp::commitRequestsSignatureOnlyWhenAsked()
{
    QFETCH(bool, applySign);
    G_DocView* view = m_fx->View();
    const CCA_GPoint at(80, 200);
    QVERIFY(StampKit::StartInteractive(*m_fx, 1, at, kSize, applySign));
    QCOMPARE(m_fx->Context()->SignatureRequests().size(), 0);
    m_fx->ClickAt(1, at);
    QVERIFY(!StampKit::Pending(view));
    QCOMPARE(StampKit::CurrentTool(view), QStringLiteral("t_handtool"));

    const auto requests = m_fx->Context()->SignatureRequests();
    if (!applySign) {
        QCOMPARE(requests.size(), 0);
        return;
    }
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().operation, QStringLiteral("d_digitalsignature"));
    QCOMPARE(requests.first().pageIndex, 1);
    IG_Annot* signedStamp = view->Page(1)->AnnotById(unsigned(requests.first().annotId));
    QVERIFY(signedStamp);
    QVERIFY(signedStamp->IsOnPage());
    QVERIFY(!signedStamp->IsRunTime());
}

void TestGtStamp::signatureWithoutDocumentContextTellsUser()
{
    G_DocView* view = m_fx->View();
    const CCA_GPoint at(80, 200);
    QVERIFY(StampKit::StartInteractive(*m_fx, 0, at, kSize, true));
    const int boxesBefore = m_fx->MessageBoxes().size();
    m_fx->Context()->ClearEventLog();
    // The engine no longer knows the document (as after a failed load).
    G_Application::Instance()->UnregisterDocument(m_fx->Document());
    m_fx->ClickAt(0, at);
    G_Application::Instance()->RegisterDocument(m_fx->Document());

    QVERIFY(m_fx->Context()->SignatureRequests().isEmpty());
    const auto boxes = m_fx->MessageBoxes().mid(boxesBefore);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().kind, int(Utils::Widgets::MessageBoxRequest::Information));
    QCOMPARE(boxes.first().title, QStringLiteral("title"));
    QCOMPARE(boxes.first().text, QStringLiteral("The current document load context fail."));
    // The stamp itself stays placed.
    const auto changed = StampKit::Events(m_fx->Context(), 110);
    QVERIFY(!changed.isEmpty());
    IG_Annot* placed = static_cast<const G_DocumentChangedEvent*>(changed.first())->Annot();
    QVERIFY(placed && placed->IsOnPage() && !placed->IsRunTime());
    QCOMPARE(StampKit::CurrentTool(view), QStringLiteral("t_handtool"));
}

void TestGtStamp::committedStampIsUndoable()
{
    G_DocView* view = m_fx->View();
    const CCA_GPoint at(150, 100);
    QVERIFY(StampKit::StartInteractive(*m_fx, 2, at, kSize));
    m_fx->ClickAt(2, at);
    const auto changed = StampKit::Events(m_fx->Context(), 110);
    QVERIFY(!changed.isEmpty());
    IG_Annot* placed = static_cast<const G_DocumentChangedEvent*>(changed.last())->Annot();
    QVERIFY(placed && placed->IsOnPage());
    QVERIFY(near(StampKit::Centre(placed->GetRect()), at));

    view->UndoStack()->undo();
    QVERIFY(!placed->IsOnPage());
    view->UndoStack()->redo();
    QVERIFY(placed->IsOnPage());
    QCOMPARE(placed->Page()->Index(), 2);
}

void TestGtStamp::dragFromOtherPageCommitsOnStampPage()
{
    G_DocView* view = m_fx->View();
    const CCA_GPoint at(100, 250);
    IG_Annot* preview = StampKit::StartInteractive(*m_fx, 0, at, kSize);
    QVERIFY(preview);
    const int onFirst = view->Page(0)->AnnotCount();
    const int onSecond = view->Page(1)->AnnotCount();
    m_fx->Context()->ClearEventLog();

    // Pressed on the next page, dragged back and released on the stamp's own page.
    m_fx->PressAt(1, CCA_GPoint(100, 20));
    m_fx->MoveTo(0, at, Qt::LeftButton);
    m_fx->ReleaseAt(0, at);

    const auto changed = StampKit::Events(m_fx->Context(), 110);
    QCOMPARE(changed.size(), 1);
    IG_Annot* placed = static_cast<const G_DocumentChangedEvent*>(changed.first())->Annot();
    QVERIFY(placed);
    QCOMPARE(placed->Page()->Index(), 0);
    QVERIFY(near(StampKit::Centre(placed->GetRect()), at));
    QCOMPARE(view->Page(1)->AnnotCount(), onSecond);
    QCOMPARE(view->Page(0)->AnnotCount(), onFirst); // the preview gave way to the stamp
    QCOMPARE(StampKit::RunTimeCount(view->Page(0)), 0);
}

void TestGtStamp::rightClickDropsPreview()
{
    G_DocView* view = m_fx->View();
    const CCA_GPoint at(100, 100);
    IG_Annot* preview = StampKit::StartInteractive(*m_fx, 0, at, kSize);
    QVERIFY(preview);
    const int undoBefore = view->UndoStack()->count();
    m_fx->Context()->ClearEventLog();

    m_fx->ClickAt(0, at, Qt::RightButton);

    QVERIFY(!preview->IsOnPage());
    QVERIFY(!StampKit::Pending(view));
    const auto removed = StampKit::Events(m_fx->Context(), 111);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(static_cast<const G_AnnotationEvent*>(removed.first())->Annot(), preview);
    QCOMPARE(StampKit::CurrentTool(view), QStringLiteral("t_handtool"));
    QCOMPARE(view->UndoStack()->count(), undoBefore);
    QCOMPARE(StampKit::RunTimeCount(view->Page(0)), 0);
}

void TestGtStamp::rightClickWithNothingPendingIsHandled()
{
    G_DocView* view = m_fx->View();
    GT_Stamp* tool = StampKit::StampTool(view);
    QVERIFY(tool);
    view->SetToolHandler(tool);
    QVERIFY(!StampKit::Pending(view));
    const int annots = view->Page(0)->AnnotCount();

    QCOMPARE(tool->OnRButtonUp(0, m_fx->ScenePoint(0, CCA_GPoint(50, 50))), 1);
    QVERIFY(StampKit::Events(m_fx->Context(), 111).isEmpty());
    QCOMPARE(view->Page(0)->AnnotCount(), annots);
}

void TestGtStamp::otherOperationCancelsPreview_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("cancels");
    QTest::newRow("zoom") << "v_zoom" << true;
    QTest::newRow("show annotations") << "t_showannot" << true;
    QTest::newRow("new stamp") << "ti_stamp" << false;
    QTest::newRow("invoice seal") << "d_invoiceseal" << false;
}

void TestGtStamp::otherOperationCancelsPreview()
{
    QFETCH(QString, name);
    QFETCH(bool, cancels);
    G_DocView* view = m_fx->View();
    IG_Annot* preview = StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(90, 120), kSize);
    QVERIFY(preview);
    m_fx->Context()->ClearEventLog();

    G_Operation* op = m_fx->Context()->CreateOperationByName(name.toUtf8().constData(), QString());
    QVERIFY(op);
    QCOMPARE(CancelAnnotInstance->Intercepts(op), cancels);
    if (name == QLatin1String("v_zoom"))
        op->Param()->Add("zoomIndex", 150.0f);
    if (name == QLatin1String("d_invoiceseal")) { // no picker in front of it yet
        op->Param()->Add("stampId", StampKit::EmbedSeal(m_fx->Document()));
        op->Param()->Add("stampSize", CCA_GSize(20, 20));
        op->Param()->Add("imgPath", StampKit::SealPath());
        op->Param()->Add("auto", 0);
    }
    const StampKit::PickerChoice choice(CCA_GSize(20, 20));
    op->PerformAction();
    const bool ran = op->WasRun();
    op->DeleteLater();
    QVERIFY(ran);

    if (cancels) {
        QVERIFY(!preview->IsOnPage());
        QVERIFY(!StampKit::Pending(view));
        QCOMPARE(StampKit::Events(m_fx->Context(), 111).size(), 1);
        QCOMPARE(StampKit::CurrentTool(view), QStringLiteral("t_handtool"));
        QVERIFY(!CancelAnnotInstance->PendingTool());
        if (name == QLatin1String("v_zoom"))
            QCOMPARE(view->GetZoom(), 150.0f);
        return;
    }
    // The new placement takes over: one preview, the new one, with the stamp tool.
    IG_Annot* fresh = StampKit::Pending(view);
    QVERIFY(fresh);
    QVERIFY(fresh != preview);
    QCOMPARE(fresh->GetRect().Width(), 20.0f);
    QVERIFY(!preview->IsOnPage());
    QCOMPARE(StampKit::RunTimeCount(view->Page(0)), 1);
    QCOMPARE(StampKit::CurrentTool(view), QStringLiteral("tp_stamp"));
    QCOMPARE(CancelAnnotInstance->PendingTool(), StampKit::StampTool(view));
}

void TestGtStamp::cancelWithHandToolCurrentSwitchesNothing()
{
    G_DocView* view = m_fx->View();
    IG_Annot* preview = StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(90, 120), kSize);
    QVERIFY(preview);
    G_ToolHandler* hand = view->ToolHandlerByName("t_handtool");
    view->SetToolHandler(hand);
    m_fx->Context()->ClearEventLog();

    G_Operation* op = m_fx->Context()->CreateOperationByName("t_showannot", QString());
    QVERIFY(op);
    op->PerformAction();
    op->DeleteLater();

    QVERIFY(!preview->IsOnPage());
    QCOMPARE(StampKit::Events(m_fx->Context(), 111).size(), 1);
    QVERIFY(StampKit::Events(m_fx->Context(), G_Event::CommandBarOpChanged).isEmpty());
    QCOMPARE(view->ToolHandler(), hand);
    QVERIFY(!CancelAnnotInstance->PendingTool());
}

void TestGtStamp::navigationChangeCancelsPreview()
{
    G_DocView* view = m_fx->View();
    IG_Annot* preview = StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(100, 100), kSize);
    QVERIFY(preview);
    m_fx->Context()->ClearEventLog();

    emit m_earlyNaviPage->ChangeShowIndexSignal(2);

    QVERIFY(!preview->IsOnPage());
    QVERIFY(!StampKit::Pending(view));
    QCOMPARE(StampKit::Events(m_fx->Context(), 111).size(), 1);
    QCOMPARE(StampKit::CurrentTool(view), QStringLiteral("t_handtool"));
    QVERIFY(!CancelAnnotInstance->PendingTool());

    // Disarmed: a second change does nothing.
    emit m_earlyNaviPage->ChangeShowIndexSignal(1);
    QCOMPARE(StampKit::Events(m_fx->Context(), 111).size(), 1);
}

void TestGtStamp::laterNavigationPagesAreNotConnected()
{
    Core::G_NavigationPage late;
    G_DocView* view = m_fx->View();
    IG_Annot* preview = StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(100, 100), kSize);
    QVERIFY(preview);
    m_fx->Context()->ClearEventLog();

    emit late.ChangeShowIndexSignal(1);

    QVERIFY(preview->IsOnPage());
    QCOMPARE(StampKit::Pending(view), preview);
    QVERIFY(StampKit::Events(m_fx->Context(), 111).isEmpty());
    QCOMPARE(StampKit::CurrentTool(view), QStringLiteral("tp_stamp"));
}

void TestGtStamp::closingTheViewDisarmsCancel()
{
    QVERIFY(StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(100, 100), kSize));
    QVERIFY(CancelAnnotInstance->PendingTool());

    m_fx->CloseDocument(); // the view and its stamp tool go away
    QVERIFY(!CancelAnnotInstance->PendingTool());

    // Nothing reaches the destroyed tool afterwards.
    QVERIFY(m_fx->OpenFile(StampKit::ContractPath()));
    G_Operation* op = m_fx->Context()->CreateOperationByName("v_zoom", QString());
    QVERIFY(op);
    QVERIFY(!CancelAnnotInstance->Intercepts(op));
    op->Param()->Add("zoomIndex", 120.0f);
    op->PerformAction();
    op->DeleteLater();
    QCOMPARE(m_fx->View()->GetZoom(), 120.0f);
    emit m_earlyNaviPage->ChangeShowIndexSignal(0);
}

void TestGtStamp::closingAViewDropsItsPreview()
{
    // A second window on the same document places a stamp, then closes.
    auto other = std::make_unique<G_DocView>(m_fx->Context(), m_fx->Document());
    other->resize(600, 500);
    other->show();
    QVERIFY(QTest::qWaitForWindowExposed(other.get()));
    m_fx->Context()->SetCurrentDocView(other.get());
    const QRect page = other->PageRect(0);
    const QPoint inside = QPoint(page.center().x(), page.top() + 200) - other->ScrollOffset();
    QCursor::setPos(other->viewport()->mapToGlobal(inside));

    G_Operation* op = m_fx->Context()->CreateOperationByName("tp_stamp", QString());
    QVERIFY(op);
    op->Param()->Add("stampId", StampKit::EmbedSeal(m_fx->Document()));
    op->Param()->Add("stampSize", kSize);
    op->Param()->Add("imgPath", StampKit::SealPath());
    op->Param()->Add("auto", 0);
    op->PerformAction();
    op->DeleteLater();
    IG_Annot* preview = StampKit::Pending(other.get());
    QVERIFY(preview);
    QVERIFY(preview->IsOnPage());

    other.reset();
    QVERIFY(!preview->IsOnPage());
    QVERIFY(!CancelAnnotInstance->PendingTool());
    QCOMPARE(StampKit::RunTimeCount(m_fx->View()->Page(0)), 0);
    m_fx->Context()->SetCurrentDocView(m_fx->View());
}

void TestGtStamp::switchingToViewWithStampToolReturnsHand_data()
{
    QTest::addColumn<QString>("otherTool");
    QTest::addColumn<bool>("handBack");
    QTest::newRow("other view places a stamp too") << "tp_stamp" << true;
    QTest::newRow("other view has the hand tool") << "t_handtool" << false;
}

void TestGtStamp::switchingToViewWithStampToolReturnsHand()
{
    QFETCH(QString, otherTool);
    QFETCH(bool, handBack);
    QVERIFY(StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(100, 100), kSize));

    // A second view of the same document, as a second window of the reader would be.
    std::unique_ptr<G_DocView> other(new G_DocView(m_fx->Context(), m_fx->Document()));
    other->resize(400, 300);
    other->SetToolHandler(other->ToolHandlerByName(otherTool.toUtf8().constData()));
    QCOMPARE(StampKit::CurrentTool(other.get()), otherTool);
    m_fx->Context()->ClearEventLog();

    m_fx->Context()->SetCurrentDocView(other.get());

    const auto bar = StampKit::Events(m_fx->Context(), G_Event::CommandBarOpChanged);
    if (!handBack) {
        QVERIFY(bar.isEmpty());
        QCOMPARE(StampKit::CurrentTool(other.get()), otherTool);
    } else {
        QVERIFY(!bar.isEmpty());
        const auto* event = static_cast<const G_CommandBarOpChangedEvent*>(bar.first());
        QCOMPARE(event->Data().names, QStringList{"t_handtool"});
        QCOMPARE(event->Data().kind, 7);
        QCOMPARE(StampKit::CurrentTool(other.get()), QStringLiteral("t_handtool"));
    }
    m_fx->Context()->SetCurrentDocView(m_fx->View());
    other.reset();
}

QTEST_MAIN(TestGtStamp)
#include "tst_gt_stamp.moc"
