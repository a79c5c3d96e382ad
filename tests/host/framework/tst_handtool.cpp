// The hand and text-selection tools with annotation handlers: who gets a clicked
// annotation, selecting, deselecting, moving and resizing with undo, keys and the
// right-click hand-over.

#include "host/document/ig_annot.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_uicontext.h"
#include "host/framework/ga_common.h"
#include "hostfixture.h"

#include <QUndoStack>
#include <QtTest>

namespace
{

struct Counters {
    int selected = 0;
    int deselected = 0;
    int rightUps = 0;
    int destroyed = 0;
    int made = 0;
};
Counters g_count;

// Takes annotations whose sub-type is in its list (all when the list is empty).
class TestHandler : public GA_Common
{
public:
    TestHandler(const char* name, QStringList subTypes) : m_name(name), m_subTypes(subTypes) {}
    ~TestHandler() override { ++g_count.destroyed; }
    G_ToolHandler* CreateInstance() override
    {
        ++g_count.made;
        return new TestHandler(m_name.constData(), m_subTypes);
    }
    CCA_String HandlerName() override { return m_name.constData(); }
    bool Filter(IG_Annot* annot) override
    {
        return GA_Common::Filter(annot) &&
               (m_subTypes.isEmpty() || m_subTypes.contains(GQ_ToQString(annot->SubType())));
    }
    void OnSelected() override
    {
        ++g_count.selected;
        GA_Common::OnSelected();
    }
    void OnDeselected() override
    {
        ++g_count.deselected;
        GA_Common::OnDeselected();
    }
    int OnRButtonUp(unsigned int, const CCA_Point&) override
    {
        ++g_count.rightUps;
        return 0;
    }

private:
    QByteArray m_name;
    QStringList m_subTypes;
};

CCA_GPoint centreOf(const CCA_GRect& r)
{
    return CCA_GPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

} // namespace

class TestHandTool : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void firstAcceptingHandlerInRegistrationOrderGetsTheAnnotation();
    void clickElsewhereDeselects();
    void dragMovesWithOneUndoEntry_data();
    void dragMovesWithOneUndoEntry();
    void dragOnControlPointResizes_data();
    void dragOnControlPointResizes();
    void resizeStopsAtTheSmallestSize();
    void rightClickSelectsAndForwards();
    void arrowKeyMovesByOneMillimetre();
    void switchingToolOrResettingDropsTheSelection();
    void deletedAnnotationIsNoLongerSelected();
    void textSelectToolSelectsToo();
    void provisionalAnnotationsAreNotSelectable();
    void annotationPrototypeNeverBecomesTheTool();
    void deleteKeyDeletesTheSelectedAnnotation();

private:
    TestHandler* m_refusing = nullptr;
    TestHandler* m_stamps = nullptr;
    TestHandler* m_catchAll = nullptr;
    std::unique_ptr<HostFixture> m_host;
};

void TestHandTool::initTestCase()
{
    m_refusing = new TestHandler("TestRefusing", {QStringLiteral("Nothing")});
    m_stamps = new TestHandler("TestStamps", {QStringLiteral("Stamp")});
    m_catchAll = new TestHandler("TestCatchAll", {});
    QVERIFY(m_refusing->RegisterAnnotHandlerToGlobal());
    QVERIFY(m_stamps->RegisterAnnotHandlerToGlobal());
    QVERIFY(m_catchAll->RegisterAnnotHandlerToGlobal());
    TestHandler clash("TestStamps", {});
    QVERIFY(!clash.RegisterAnnotHandlerToGlobal());
    QCOMPARE(G_AnnotationHandler::GlobalAnnotHandlerNames(),
             QStringList({"TestRefusing", "TestStamps", "TestCatchAll"}));
}

void TestHandTool::cleanupTestCase()
{
    delete m_refusing;
    delete m_stamps;
    delete m_catchAll;
    QVERIFY(G_AnnotationHandler::GlobalAnnotHandlers().isEmpty());
}

void TestHandTool::init()
{
    g_count = Counters();
    m_host.reset(new HostFixture);
    QVERIFY(m_host->OpenBlank({CCA_GSize(210, 297), CCA_GSize(297, 210)}, {0, 90}));
}

void TestHandTool::cleanup()
{
    m_host.reset();
}

void TestHandTool::firstAcceptingHandlerInRegistrationOrderGetsTheAnnotation()
{
    IG_Annot* stamp = m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60), "Stamp");
    IG_Annot* other = m_host->AddStamp(0, CCA_GRect(100, 100, 140, 140), "Tablet");
    QVERIFY(stamp && other);
    G_ToolHandler* hand = m_host->View()->ToolHandler();
    QVERIFY(!hand->AnnotationHandler());

    m_host->ClickAt(0, CCA_GPoint(40, 40));
    G_AnnotationHandler* handler = hand->AnnotationHandler();
    QVERIFY(handler);
    QCOMPARE(handler->HandlerName(), CCA_String("TestStamps"));
    QVERIFY(handler != m_stamps); // a fresh instance, never the prototype
    QCOMPARE(handler->CurrentAnnot(), stamp);
    QCOMPARE(handler->DocView(), m_host->View());
    QCOMPARE(g_count.selected, 1);

    m_host->ClickAt(0, CCA_GPoint(120, 120));
    handler = hand->AnnotationHandler();
    QVERIFY(handler);
    QCOMPARE(handler->HandlerName(), CCA_String("TestCatchAll"));
    QCOMPARE(handler->CurrentAnnot(), other);
    QCOMPARE(g_count.deselected, 1);
    QCOMPARE(g_count.made, 2);
    QTRY_COMPARE(g_count.destroyed, 1); // the first instance is gone
}

void TestHandTool::clickElsewhereDeselects()
{
    QVERIFY(m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60)));
    G_ToolHandler* hand = m_host->View()->ToolHandler();
    m_host->ClickAt(0, CCA_GPoint(40, 40));
    QVERIFY(hand->AnnotationHandler());
    m_host->ClickAt(0, CCA_GPoint(150, 200));
    QVERIFY(!hand->AnnotationHandler());
    QCOMPARE(g_count.deselected, 1);
    QCOMPARE(g_count.destroyed, 1);
    QVERIFY(m_host->View()->UndoStack()->count() == 0); // a click changes nothing
}

void TestHandTool::dragMovesWithOneUndoEntry_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<float>("zoom");
    QTest::newRow("upright page, 100%") << 0 << 100.0f;
    QTest::newRow("upright page, 50%") << 0 << 50.0f;
    QTest::newRow("page turned 90 degrees, 150%") << 1 << 150.0f;
}

void TestHandTool::dragMovesWithOneUndoEntry()
{
    QFETCH(int, page);
    QFETCH(float, zoom);
    m_host->View()->SetZoom(zoom);
    const CCA_GRect start(30, 40, 70, 70);
    IG_Annot* stamp = m_host->AddStamp(page, start);
    QVERIFY(stamp);
    m_host->DragOnPage(page, CCA_GPoint(50, 55), CCA_GPoint(75, 65));
    const float tolerance = 1.0f / m_host->View()->MM2Px(1.0f) + 0.01f;
    const CCA_GRect moved = stamp->GetRect();
    QVERIFY2(qAbs(moved.left - 55) <= tolerance && qAbs(moved.top - 50) <= tolerance,
             qPrintable(
                 QStringLiteral("moved to %1,%2").arg(double(moved.left)).arg(double(moved.top))));
    QVERIFY(qAbs(moved.Width() - 40) < 1e-3f && qAbs(moved.Height() - 30) < 1e-3f);
    QUndoStack* undo = m_host->View()->UndoStack();
    QCOMPARE(undo->count(), 1);
    undo->undo();
    QCOMPARE(stamp->GetRect(), start);
    undo->redo();
    QCOMPARE(stamp->GetRect(), moved);
}

void TestHandTool::dragOnControlPointResizes_data()
{
    QTest::addColumn<int>("ctrl");
    QTest::addColumn<float>("dx");
    QTest::addColumn<float>("dy");
    QTest::addColumn<CCA_GRect>("expected");
    // Stamp (30, 40)–(70, 70) on the upright page; control points clockwise from top-left.
    QTest::newRow("top-left") << 0 << -10.0f << -5.0f << CCA_GRect(20, 35, 70, 70);
    QTest::newRow("top middle") << 1 << 7.0f << -5.0f << CCA_GRect(30, 35, 70, 70);
    QTest::newRow("top-right") << 2 << 10.0f << 5.0f << CCA_GRect(30, 45, 80, 70);
    QTest::newRow("right middle") << 3 << 10.0f << 9.0f << CCA_GRect(30, 40, 80, 70);
    QTest::newRow("bottom-right") << 4 << 10.0f << 20.0f << CCA_GRect(30, 40, 80, 90);
    QTest::newRow("bottom middle") << 5 << 3.0f << 20.0f << CCA_GRect(30, 40, 70, 90);
    QTest::newRow("bottom-left") << 6 << 5.0f << 5.0f << CCA_GRect(35, 40, 70, 75);
    QTest::newRow("left middle") << 7 << -10.0f << 0.0f << CCA_GRect(20, 40, 70, 70);
}

void TestHandTool::dragOnControlPointResizes()
{
    QFETCH(int, ctrl);
    QFETCH(float, dx);
    QFETCH(float, dy);
    QFETCH(CCA_GRect, expected);
    const CCA_GRect start(30, 40, 70, 70);
    IG_Annot* stamp = m_host->AddStamp(0, start);
    G_DocView* view = m_host->View();
    m_host->ClickAt(0, centreOf(start));
    G_AnnotationHandler* handler = view->ToolHandler()->AnnotationHandler();
    QVERIFY(handler);
    const QVector<CCA_Point> points = handler->GetCtrlPoints();
    QCOMPARE(points.size(), 8);
    QCOMPARE(handler->CtrlPointIndex(points[ctrl]), ctrl);
    int page = 0;
    const CCA_GPoint from = view->DocPointFromScenePoint(points[ctrl], page);
    m_host->DragOnPage(0, from, CCA_GPoint(from.x + dx, from.y + dy));
    const CCA_GRect got = stamp->GetRect();
    const float tolerance = 1.5f / view->MM2Px(1.0f);
    QVERIFY2(qAbs(got.left - expected.left) <= tolerance &&
                 qAbs(got.top - expected.top) <= tolerance &&
                 qAbs(got.right - expected.right) <= tolerance &&
                 qAbs(got.bottom - expected.bottom) <= tolerance,
             qPrintable(QStringLiteral("got %1 %2 %3 %4")
                            .arg(double(got.left))
                            .arg(double(got.top))
                            .arg(double(got.right))
                            .arg(double(got.bottom))));
    QCOMPARE(view->UndoStack()->count(), 1);
    view->UndoStack()->undo();
    QCOMPARE(stamp->GetRect(), start);
}

void TestHandTool::resizeStopsAtTheSmallestSize()
{
    const CCA_GRect start(30, 40, 70, 70);
    IG_Annot* stamp = m_host->AddStamp(0, start);
    G_DocView* view = m_host->View();
    m_host->ClickAt(0, centreOf(start));
    const QVector<CCA_Point> points = view->ToolHandler()->AnnotationHandler()->GetCtrlPoints();
    int page = 0;
    const CCA_GPoint corner = view->DocPointFromScenePoint(points[4], page);
    m_host->DragOnPage(0, corner, CCA_GPoint(5, 5)); // far past the opposite corner
    const CCA_GRect got = stamp->GetRect();
    QCOMPARE(got.left, start.left);
    QCOMPARE(got.top, start.top);
    QCOMPARE(got.Width(), GA_Common::kMinSize);
    QCOMPARE(got.Height(), GA_Common::kMinSize);
}

void TestHandTool::rightClickSelectsAndForwards()
{
    QVERIFY(m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60)));
    m_host->ClickAt(0, CCA_GPoint(40, 40), Qt::RightButton);
    QVERIFY(m_host->View()->ToolHandler()->AnnotationHandler());
    QCOMPARE(g_count.selected, 1);
    QCOMPARE(g_count.rightUps, 1);
    m_host->ClickAt(0, CCA_GPoint(45, 45), Qt::RightButton); // same stamp: no reselect
    QCOMPARE(g_count.selected, 1);
    QCOMPARE(g_count.rightUps, 2);
    m_host->ClickAt(0, CCA_GPoint(150, 150), Qt::RightButton); // nothing there
    QCOMPARE(g_count.rightUps, 2);
    QVERIFY(!m_host->View()->ToolHandler()->AnnotationHandler());
}

void TestHandTool::arrowKeyMovesByOneMillimetre()
{
    IG_Annot* stamp = m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60));
    m_host->ClickAt(0, CCA_GPoint(40, 40));
    QTest::keyClick(m_host->View(), Qt::Key_Right);
    QCOMPARE(stamp->GetRect(), CCA_GRect(21, 20, 61, 60));
    QTest::keyClick(m_host->View(), Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(stamp->GetRect(), CCA_GRect(21, 10, 61, 50));
    QTest::keyClick(m_host->View(), Qt::Key_Up, Qt::ShiftModifier); // kept on the page
    QCOMPARE(stamp->GetRect(), CCA_GRect(21, 0, 61, 40));
    QCOMPARE(m_host->View()->UndoStack()->count(), 3);
    m_host->View()->UndoStack()->undo();
    QCOMPARE(stamp->GetRect(), CCA_GRect(21, 10, 61, 50));
}

void TestHandTool::switchingToolOrResettingDropsTheSelection()
{
    QVERIFY(m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60)));
    G_DocView* view = m_host->View();
    G_ToolHandler* hand = view->ToolHandler();
    m_host->ClickAt(0, CCA_GPoint(40, 40));
    QVERIFY(hand->AnnotationHandler());
    view->ResetToolState();
    QVERIFY(!hand->AnnotationHandler());
    m_host->ClickAt(0, CCA_GPoint(40, 40));
    view->SetAnnotSelectionKept(false);
    QVERIFY(!hand->AnnotationHandler());
    view->SetAnnotSelectionKept(true);
    m_host->ClickAt(0, CCA_GPoint(40, 40));
    QVERIFY(hand->AnnotationHandler());
    view->SetToolHandler(view->ToolHandlerByName("t_textselect"));
    QVERIFY(!hand->AnnotationHandler());
    QCOMPARE(g_count.deselected, 3);
    QCOMPARE(g_count.destroyed, 3);
}

void TestHandTool::deletedAnnotationIsNoLongerSelected()
{
    IG_Annot* stamp = m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60));
    G_DocView* view = m_host->View();
    m_host->ClickAt(0, CCA_GPoint(40, 40));
    QVERIFY(view->ToolHandler()->AnnotationHandler());
    G_Operation* del = m_host->Context()->CreateOperationByName("d_delannot", QString());
    QVERIFY(del);
    del->Param()->Add("pageAndAnnotID", QStringLiteral("0:%1").arg(stamp->ID()));
    QCOMPARE(del->PerformAction(), 1);
    del->DeleteLater();
    QVERIFY(!view->ToolHandler()->AnnotationHandler());
    // A drag where the stamp was moves nothing and records nothing new.
    m_host->DragOnPage(0, CCA_GPoint(40, 40), CCA_GPoint(80, 80));
    QCOMPARE(view->UndoStack()->count(), 1);
    QCOMPARE(stamp->GetRect(), CCA_GRect(20, 20, 60, 60));
}

void TestHandTool::textSelectToolSelectsToo()
{
    QVERIFY(m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60)));
    G_DocView* view = m_host->View();
    view->SetToolHandler(view->ToolHandlerByName("t_textselect"));
    const QPoint before = view->ScrollOffset();
    m_host->ClickAt(0, CCA_GPoint(40, 40));
    G_AnnotationHandler* handler = view->ToolHandler()->AnnotationHandler();
    QVERIFY(handler);
    QCOMPARE(handler->HandlerName(), CCA_String("TestStamps"));
    // A drag on empty space marks text instead of moving the view.
    m_host->DragOnPage(0, CCA_GPoint(100, 150), CCA_GPoint(150, 250));
    QVERIFY(!view->ToolHandler()->AnnotationHandler());
    QCOMPARE(view->ScrollOffset(), before);
}

void TestHandTool::provisionalAnnotationsAreNotSelectable()
{
    QVERIFY(m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60), "Stamp", true));
    m_host->ClickAt(0, CCA_GPoint(40, 40));
    QVERIFY(!m_host->View()->ToolHandler()->AnnotationHandler());
    QCOMPARE(g_count.made, 0);
}

void TestHandTool::annotationPrototypeNeverBecomesTheTool()
{
    G_DocView* view = m_host->View();
    G_ToolHandler* before = view->ToolHandler();
    view->SetToolHandler(m_host->Context()->FindHandlerByName("TestStamps"));
    QCOMPARE(view->ToolHandler(), before);
    QVERIFY(!m_stamps->DocView()); // still unbound, still serving every view
}

void TestHandTool::deleteKeyDeletesTheSelectedAnnotation()
{
    IG_Annot* stamp = m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60));
    G_DocView* view = m_host->View();
    m_host->ClickAt(0, CCA_GPoint(40, 40));
    QVERIFY(view->ToolHandler()->AnnotationHandler());
    QTest::keyClick(view, Qt::Key_Delete);
    QVERIFY(!stamp->IsOnPage());
    QVERIFY(!view->ToolHandler()->AnnotationHandler());
    QTRY_COMPARE(g_count.destroyed, 1);
    view->UndoStack()->undo();
    QVERIFY(stamp->IsOnPage());
}

QTEST_MAIN(TestHandTool)
#include "tst_handtool.moc"
