// Interactive stamp placement on a three-page PDF, driven with the mouse: the preview
// follows the pointer, a left click commits it, a right click, another operation, a
// navigation change or closing its view drops it.

#include "hostfixture.h"
#include "stampkit.h"

#include "host/document/g_application.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_navigationpage.h"
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

void verifyNear(const CCA_GPoint& a, const CCA_GPoint& b) // within a pixel at 100 %
{
    QVERIFY2(std::fabs(a.x - b.x) <= 0.3f && std::fabs(a.y - b.y) <= 0.3f,
             qPrintable(QStringLiteral("%1, %2 vs %3, %4").arg(a.x).arg(a.y).arg(b.x).arg(b.y)));
}

// A tool that records the presses and releases it is handed.
class ProbeTool : public G_ToolHandler
{
public:
    G_ToolHandler* CreateInstance() override { return new ProbeTool; }
    CCA_String HandlerName() override { return "test_probe"; }
    int OnLButtonDown(unsigned int, const CCA_Point& p) override { return note("down", p); }
    int OnLButtonUp(unsigned int, const CCA_Point& p) override { return note("up", p); }
    int note(const char* what, const CCA_Point& p)
    {
        calls << QStringLiteral("%1 %2,%3").arg(what).arg(p.x).arg(p.y);
        return 1;
    }
    QStringList calls;
};
} // namespace

class TestGtStamp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { m_fx.reset(); }

    void previewFollowsPointer_data();
    void previewFollowsPointer();
    void release_data();
    void release();
    void commitHandsTheClickToTheCurrentTool();
    void rightClick_data();
    void rightClick();
    void cancel_data();
    void cancel();
    void closingItsViewDropsThePreviewAndDisarms();
    void switchingToViewWithStampToolReturnsHand_data();
    void switchingToViewWithStampToolReturnsHand();
    void destroyingAnUnusedToolDoesNothing();

private:
    void clickAtScene(const CCA_Point& scene, const CCA_Point* pressScene = nullptr);

    std::unique_ptr<HostFixture> m_fx;
    std::unique_ptr<Core::G_NavigationPage> m_earlyNaviPage;
    ProbeTool m_probe;
};

void TestGtStamp::initTestCase()
{
    // A navigation page that exists before the plug-in is initialised, as the reader's
    // thumbnail panel does.
    m_earlyNaviPage.reset(new Core::G_NavigationPage);
    StampKit::InitPlugin();
    QVERIFY(CancelAnnotInstance);
    QVERIFY(m_probe.RegisterHandlerToGlobal());
}

void TestGtStamp::init()
{
    m_fx.reset(new HostFixture);
    QString error;
    QVERIFY2(m_fx->OpenFile(StampKit::ContractPath(), &error), qPrintable(error));
    QCOMPARE(m_fx->View()->GetZoom(), 100.0f);
    m_fx->Context()->ClearEventLog();
}

// Moves there, presses (at `pressScene` when given) and releases, in scene pixels.
void TestGtStamp::clickAtScene(const CCA_Point& scene, const CCA_Point* pressScene)
{
    G_DocView* view = m_fx->View();
    auto toViewport = [view](const CCA_Point& s) {
        const QRect visible(view->ScrollOffset(), view->viewport()->size());
        if (!visible.adjusted(4, 4, -4, -4).contains(s.x, s.y)) {
            view->horizontalScrollBar()->setValue(s.x - visible.width() / 2);
            view->verticalScrollBar()->setValue(s.y - visible.height() / 2);
        }
        return QPoint(s.x, s.y) - view->ScrollOffset();
    };
    if (pressScene)
        m_fx->PressAtViewport(toViewport(*pressScene));
    const QPoint pos = toViewport(scene);
    m_fx->MoveToViewport(pos, pressScene ? Qt::LeftButton : Qt::NoButton);
    if (!pressScene)
        m_fx->PressAtViewport(pos);
    m_fx->ReleaseAtViewport(pos);
}

void TestGtStamp::previewFollowsPointer_data()
{
    QTest::addColumn<int>("page"); // −1: no move; −2: into the margin off every page
    QTest::addColumn<CCA_GPoint>("to");

    QTest::newRow("starts centred under the pointer") << -1 << CCA_GPoint();
    QTest::newRow("same page") << 0 << CCA_GPoint(60, 80);
    QTest::newRow("same page, far corner") << 0 << CCA_GPoint(190, 270);
    QTest::newRow("next page") << 1 << CCA_GPoint(50, 40);
    QTest::newRow("last page") << 2 << CCA_GPoint(120, 200);
    QTest::newRow("off pages") << -2 << CCA_GPoint();
}

void TestGtStamp::previewFollowsPointer()
{
    QFETCH(int, page);
    QFETCH(CCA_GPoint, to);
    G_DocView* view = m_fx->View();
    const CCA_GPoint start(100, 150);
    IG_Annot* preview = StampKit::StartInteractive(*m_fx, 0, start, kSize);
    QVERIFY(preview);
    QVERIFY(preview->IsRunTime() && preview->IsOnPage());
    QCOMPARE(GQ_ToQString(preview->SubType()), QStringLiteral("Stamp"));
    QCOMPARE(m_fx->CurrentTool(), QStringLiteral("tp_stamp"));
    QCOMPARE(CancelAnnotInstance->PendingTool(), StampKit::StampTool(view));
    const CCA_GRect before = preview->GetRect();
    CCA_GPoint expected = start;
    if (page == -2) { // the grey margin left of the pages: the preview stays
        const QPoint pos(view->PageRect(0).left() - G_DocView::kPageGap - 20 -
                             view->ScrollOffset().x(),
                         view->viewport()->height() / 2);
        QVERIFY(pos.x() > 0);
        m_fx->MoveToViewport(pos);
        QCOMPARE(preview->GetRect(), before);
    } else if (page >= 0) {
        // The stamp stays on its page, centred on the pointer in that page's coordinates.
        const QPoint pos = m_fx->ViewportPoint(page, to);
        m_fx->MoveToViewport(pos);
        const CCA_Point scene(pos.x() + view->ScrollOffset().x(),
                              pos.y() + view->ScrollOffset().y());
        int own = 0;
        expected = view->DocPointFromScenePoint(scene, own);
    }
    QCOMPARE(preview->Page()->Index(), 0);
    QVERIFY(preview->IsOnPage());
    verifyNear(StampKit::Centre(preview->GetRect()), expected);
    QCOMPARE(preview->GetRect().Width(), kSize.width);
    QCOMPARE(preview->GetRect().Height(), kSize.height);
    QCOMPARE(StampKit::Pending(view), preview);
}

void TestGtStamp::release_data()
{
    // Where the left button is released, the stamp pending on the middle page: at a page
    // edge less a number of pixels than the 2 mm margin (rounded up), in its middle, on
    // another page, or in its middle after a press on another page.
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("lessInside");
    QTest::addColumn<bool>("applySign");
    QTest::addColumn<bool>("docContext"); // the engine knows the document
    QTest::addColumn<bool>("accepted");

    for (const char* edge : {"left", "top", "right", "bottom"}) {
        QTest::addRow("%s, margin", edge) << edge << 0 << false << true << true;
        QTest::addRow("%s, margin - 1", edge) << edge << 1 << false << true << false;
    }
    QTest::newRow("on the edge") << "left" << 8 << false << true << false;
    QTest::newRow("middle") << "middle" << 0 << false << true << true;
    QTest::newRow("middle, signature") << "middle" << 0 << true << true << true;
    QTest::newRow("middle, signature without document context")
        << "middle" << 0 << true << false << true;
    QTest::newRow("another page") << "other page" << 0 << false << true << false;
    QTest::newRow("pressed on another page") << "dragged in" << 0 << false << true << true;
}

void TestGtStamp::release()
{
    QFETCH(QString, where);
    QFETCH(int, lessInside);
    QFETCH(bool, applySign);
    QFETCH(bool, docContext);
    QFETCH(bool, accepted);
    G_DocView* view = m_fx->View();
    IG_Annot* preview = StampKit::StartInteractive(*m_fx, 1, CCA_GPoint(105, 148), kSize, applySign);
    QVERIFY(preview);
    const int undoBefore = view->UndoStack()->count();
    const int annots[] = {view->Page(0)->AnnotCount(), view->Page(1)->AnnotCount()};
    m_fx->Context()->ClearEventLog();

    const QRect r = view->PageRect(1);
    const int inset = qMax(0, int(std::ceil(view->MM2Px(2.0f))) - lessInside);
    CCA_Point click(r.center().x(), r.center().y());
    if (where == "left")
        click.x = r.left() + inset;
    else if (where == "top")
        click.y = r.top() + inset;
    else if (where == "right")
        click.x = r.right() - inset;
    else if (where == "bottom")
        click.y = r.bottom() - inset;
    else if (where == "other page")
        click = m_fx->ScenePoint(0, CCA_GPoint(105, 148));
    const CCA_Point other = m_fx->ScenePoint(0, CCA_GPoint(100, 280));
    if (!docContext) // as after a failed load
        G_Application::Instance()->UnregisterDocument(m_fx->Document());
    clickAtScene(click, where == "dragged in" ? &other : nullptr);
    if (!docContext)
        G_Application::Instance()->RegisterDocument(m_fx->Document());

    const auto changed = m_fx->Events(110);
    if (!accepted) {
        QCOMPARE(StampKit::Pending(view), preview);
        QVERIFY(preview->IsOnPage());
        QCOMPARE(view->UndoStack()->count(), undoBefore);
        QCOMPARE(m_fx->CurrentTool(), QStringLiteral("tp_stamp"));
        QVERIFY(changed.isEmpty());
        return;
    }
    QVERIFY(!StampKit::Pending(view));
    QVERIFY(!preview->IsOnPage());
    QCOMPARE(view->UndoStack()->count(), undoBefore + 1);
    QCOMPARE(m_fx->CurrentTool(), QStringLiteral("t_handtool"));
    QCOMPARE(m_fx->Context()->CommandBarSelection(), QStringLiteral("t_handtool"));
    QVERIFY(!changed.isEmpty());
    auto* event = static_cast<const G_DocumentChangedEvent*>(changed.first());
    QCOMPARE(event->SubType(), 1);
    IG_Annot* placed = event->Annot();
    QVERIFY(placed && placed != preview);
    QVERIFY(placed->IsOnPage() && !placed->IsRunTime());
    QCOMPARE(placed->Page()->Index(), 1);
    QCOMPARE(placed->GetRect(), preview->GetRect());
    QVERIFY(placed->ResourceID() > 0);
    QCOMPARE(view->Page(0)->AnnotCount(), annots[0]);
    QCOMPARE(view->Page(1)->AnnotCount(), annots[1]); // the preview gave way to the stamp
    QCOMPARE(StampKit::RunTimeCount(view->Page(1)), 0);

    const auto requests = m_fx->Context()->SignatureRequests();
    const auto boxes = m_fx->MessageBoxes();
    QCOMPARE(requests.size(), applySign && docContext ? 1 : 0);
    QCOMPARE(boxes.size(), applySign ? 1 : 0); // the signature's own or the failure
    if (!requests.isEmpty()) {
        QCOMPARE(requests.first().operation, QStringLiteral("d_digitalsignature"));
        QCOMPARE(requests.first().pageIndex, 1);
        QCOMPARE(requests.first().annotId, int(placed->ID()));
    } else if (applySign) {
        QCOMPARE(boxes.first().kind, int(Utils::Widgets::MessageBoxRequest::Information));
        QCOMPARE(boxes.first().title, QStringLiteral("title"));
        QCOMPARE(boxes.first().text, QStringLiteral("The current document load context fail."));
    }
}

void TestGtStamp::commitHandsTheClickToTheCurrentTool()
{
    G_DocView* view = m_fx->View();
    IG_Annot* preview = StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(100, 100), kSize);
    QVERIFY(preview);
    GT_Stamp* stamp = StampKit::StampTool(view);
    auto* probe = dynamic_cast<ProbeTool*>(view->ToolHandlerByName("test_probe"));
    QVERIFY(probe);
    view->SetToolHandler(probe);
    const CCA_Point at = m_fx->ScenePoint(0, CCA_GPoint(100, 100));
    QCOMPARE(stamp->OnLButtonUp(0, at), 1);
    const QString point = QStringLiteral("%1,%2").arg(at.x).arg(at.y);
    QCOMPARE(probe->calls, QStringList({"down " + point, "up " + point}));
    QCOMPARE(m_fx->CurrentTool(), QStringLiteral("t_handtool"));
}

void TestGtStamp::rightClick_data()
{
    QTest::addColumn<bool>("pending");
    QTest::newRow("drops the preview") << true;
    QTest::newRow("with nothing pending, handled") << false;
}

void TestGtStamp::rightClick()
{
    QFETCH(bool, pending);
    G_DocView* view = m_fx->View();
    GT_Stamp* tool = StampKit::StampTool(view);
    IG_Annot* preview = nullptr;
    if (pending)
        preview = StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(100, 100), kSize);
    else
        view->SetToolHandler(tool);
    const int undoBefore = view->UndoStack()->count();
    const int annots = view->Page(0)->AnnotCount();
    m_fx->Context()->ClearEventLog();

    QCOMPARE(tool->OnRButtonUp(0, m_fx->ScenePoint(0, CCA_GPoint(100, 100))), 1);

    const auto removed = m_fx->Events(111);
    QCOMPARE(removed.size(), pending ? 1 : 0);
    QCOMPARE(view->UndoStack()->count(), undoBefore);
    QVERIFY(!StampKit::Pending(view));
    QCOMPARE(view->Page(0)->AnnotCount(), annots - (pending ? 1 : 0));
    if (!pending)
        return;
    QVERIFY(!preview->IsOnPage());
    QCOMPARE(static_cast<const G_AnnotationEvent*>(removed.first())->Annot(), preview);
    QCOMPARE(m_fx->CurrentTool(), QStringLiteral("t_handtool"));
}

void TestGtStamp::cancel_data()
{
    QTest::addColumn<QString>("trigger"); // an operation, or a navigation page's change
    QTest::addColumn<bool>("handCurrent");
    QTest::addColumn<bool>("cancels");
    QTest::newRow("zoom") << "v_zoom" << false << true;
    QTest::newRow("show annotations") << "t_showannot" << false << true;
    QTest::newRow("zoom, hand tool already current") << "v_zoom" << true << true;
    QTest::newRow("new stamp") << "ti_stamp" << false << false;
    QTest::newRow("invoice seal") << "d_invoiceseal" << false << false;
    QTest::newRow("navigation change") << "navigation" << false << true;
    QTest::newRow("navigation page made later") << "late navigation" << false << false;
}

void TestGtStamp::cancel()
{
    QFETCH(QString, trigger);
    QFETCH(bool, handCurrent);
    QFETCH(bool, cancels);
    G_DocView* view = m_fx->View();
    Core::G_NavigationPage late;
    IG_Annot* preview = StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(90, 120), kSize);
    QVERIFY(preview);
    G_ToolHandler* hand = view->ToolHandlerByName("t_handtool");
    if (handCurrent) { // and a stamp selected with it: cancelling still resets the tool
        view->SetToolHandler(hand);
        IG_Annot* other = m_fx->AddStamp(0, CCA_GRect(20, 200, 60, 230));
        m_fx->ClickAt(0, StampKit::Centre(other->GetRect()));
        QVERIFY(hand->AnnotationHandler());
    }
    m_fx->Context()->ClearEventLog();

    if (trigger == "navigation") {
        emit m_earlyNaviPage->ChangeShowIndexSignal(2);
    } else if (trigger == "late navigation") {
        emit late.ChangeShowIndexSignal(1);
    } else {
        QVariantMap params{{"zoomIndex", 150.0f}};
        if (!cancels) {
            params = {{"stampId", StampKit::EmbedSeal(m_fx->Document())},
                      {"stampSize", QVariant::fromValue(CCA_GSize(20, 20))},
                      {"imgPath", StampKit::SealPath()},
                      {"auto", 0}};
        }
        QCOMPARE(m_fx->Run(trigger.toUtf8().constData(), params), 1); // the operation still runs
    }

    if (!cancels && trigger.contains("navigation")) {
        QVERIFY(preview->IsOnPage());
        QCOMPARE(StampKit::Pending(view), preview);
        QVERIFY(m_fx->Events(111).isEmpty());
        QCOMPARE(m_fx->CurrentTool(), QStringLiteral("tp_stamp"));
    } else if (!cancels) { // the new placement takes over, with the stamp tool
        IG_Annot* fresh = StampKit::Pending(view);
        QVERIFY(fresh && fresh != preview);
        QCOMPARE(fresh->GetRect().Width(), 20.0f);
        QVERIFY(!preview->IsOnPage());
        QCOMPARE(StampKit::RunTimeCount(view->Page(0)), 1);
        QCOMPARE(m_fx->CurrentTool(), QStringLiteral("tp_stamp"));
        QCOMPARE(CancelAnnotInstance->PendingTool(), StampKit::StampTool(view));
    } else {
        QVERIFY(!preview->IsOnPage());
        QVERIFY(!StampKit::Pending(view));
        QCOMPARE(m_fx->Events(111).size(), 1);
        QCOMPARE(view->ToolHandler(), hand);
        QVERIFY(!CancelAnnotInstance->PendingTool());
        QVERIFY(!hand->AnnotationHandler());
        QCOMPARE(m_fx->Events(G_Event::CommandBarOpChanged).isEmpty(),
                 handCurrent || trigger == "navigation");
        if (trigger == "v_zoom")
            QCOMPARE(view->GetZoom(), 150.0f);
        // Disarmed: a second change does nothing.
        emit m_earlyNaviPage->ChangeShowIndexSignal(1);
        QCOMPARE(m_fx->Events(111).size(), 1);
    }
}

void TestGtStamp::closingItsViewDropsThePreviewAndDisarms()
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
    QCOMPARE(m_fx->Run("ti_stamp", {{"stampId", StampKit::EmbedSeal(m_fx->Document())},
                                    {"stampSize", QVariant::fromValue(kSize)},
                                    {"imgPath", StampKit::SealPath()},
                                    {"auto", 0}}),
             1);
    IG_Annot* preview = StampKit::Pending(other.get());
    QVERIFY(preview && preview->IsOnPage());

    other.reset(); // the view and its stamp tool go away
    QVERIFY(!preview->IsOnPage());
    QVERIFY(!CancelAnnotInstance->PendingTool());
    QCOMPARE(StampKit::RunTimeCount(m_fx->View()->Page(0)), 0);
    QCOMPARE(m_fx->Context()->CurrentDocView(), m_fx->View());

    // Nothing reaches the destroyed tool afterwards.
    m_fx->Context()->ClearEventLog();
    QCOMPARE(m_fx->Run("v_zoom", {{"zoomIndex", 120.0f}}), 1);
    QCOMPARE(m_fx->View()->GetZoom(), 120.0f);
    emit m_earlyNaviPage->ChangeShowIndexSignal(0);
    QVERIFY(m_fx->Events(111).isEmpty());
}

void TestGtStamp::switchingToViewWithStampToolReturnsHand_data()
{
    QTest::addColumn<QString>("otherTool");
    QTest::newRow("other view places a stamp too") << "tp_stamp";
    QTest::newRow("other view has the hand tool") << "t_handtool";
}

void TestGtStamp::switchingToViewWithStampToolReturnsHand()
{
    QFETCH(QString, otherTool);
    QVERIFY(StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(100, 100), kSize));
    // A second view of the same document, as a second window of the reader would be.
    G_DocView other(m_fx->Context(), m_fx->Document());
    other.resize(400, 300);
    other.SetToolHandler(other.ToolHandlerByName(otherTool.toUtf8().constData()));
    m_fx->Context()->ClearEventLog();

    m_fx->Context()->SetCurrentDocView(&other);

    const auto bar = m_fx->Events(G_Event::CommandBarOpChanged);
    QCOMPARE(bar.size(), otherTool == "tp_stamp" ? 1 : 0);
    QCOMPARE(StampKit::CurrentTool(&other), QStringLiteral("t_handtool"));
    if (!bar.isEmpty()) {
        const auto* event = static_cast<const G_CommandBarOpChangedEvent*>(bar.first());
        QCOMPARE(event->Data().names, QStringList{"t_handtool"});
        QCOMPARE(event->Data().kind, 7);
    }
    m_fx->Context()->SetCurrentDocView(m_fx->View());
}

void TestGtStamp::destroyingAnUnusedToolDoesNothing()
{
    const int annots = m_fx->View()->Page(0)->AnnotCount();
    delete new GT_Stamp;
    delete StampKit::StampTool(m_fx->View())->CreateInstance();
    QVERIFY(m_fx->Context()->EventLog().isEmpty());
    QCOMPARE(m_fx->View()->Page(0)->AnnotCount(), annots);
}

QTEST_MAIN(TestGtStamp)
#include "tst_gt_stamp.moc"
