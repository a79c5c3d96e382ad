// The hand and text-selection tools with annotation handlers: who gets a clicked
// annotation, selecting and dropping the selection, moving (kept on the page) and resizing
// with undo, keys and the right-click hand-over.

#include "host/framework/ga_common.h"
#include "hostfixture.h"

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

void verifyRect(const CCA_GRect& got, const CCA_GRect& expected, float tolerance)
{
    QVERIFY2(qAbs(got.left - expected.left) <= tolerance &&
                 qAbs(got.top - expected.top) <= tolerance &&
                 qAbs(got.right - expected.right) <= tolerance &&
                 qAbs(got.bottom - expected.bottom) <= tolerance,
             qPrintable(QStringLiteral("got %1 %2 %3 %4")
                            .arg(double(got.left))
                            .arg(double(got.top))
                            .arg(double(got.right))
                            .arg(double(got.bottom))));
}

} // namespace

class TestHandTool : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
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

    void cleanupTestCase()
    {
        delete m_refusing;
        delete m_stamps;
        delete m_catchAll;
        QVERIFY(G_AnnotationHandler::GlobalAnnotHandlers().isEmpty());
    }

    void init()
    {
        g_count = Counters();
        m_host.reset(new HostFixture);
        QVERIFY(m_host->OpenBlank({CCA_GSize(210, 297), CCA_GSize(297, 210)}, {0, 90}));
    }

    void cleanup() { m_host.reset(); }

    void firstAcceptingHandlerInRegistrationOrderGetsTheAnnotation()
    {
        IG_Annot* stamp = m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60), "Stamp");
        IG_Annot* other = m_host->AddStamp(0, CCA_GRect(100, 100, 140, 140), "Tablet");
        QVERIFY(stamp && other);
        G_ToolHandler* hand = m_host->View()->ToolHandler();
        QVERIFY(!hand->AnnotationHandler());

        m_host->ClickAt(0, CCA_GPoint(40, 40));
        G_AnnotationHandler* handler = hand->AnnotationHandler();
        QVERIFY(handler && handler != m_stamps); // a fresh instance, never the prototype
        QCOMPARE(handler->HandlerName(), CCA_String("TestStamps"));
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
        QCOMPARE(m_host->View()->UndoStack()->count(), 0); // a click changes nothing
    }

    void selectionIsDropped_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("click elsewhere") << "click";
        QTest::newRow("tool state reset") << "reset";
        QTest::newRow("selection not kept") << "not kept";
        QTest::newRow("other tool") << "other tool";
        QTest::newRow("annotation deleted") << "deleted";
        QTest::newRow("Delete key") << "key";
    }

    void selectionIsDropped()
    {
        QFETCH(QString, how);
        const CCA_GRect start(20, 20, 60, 60);
        IG_Annot* stamp = m_host->AddStamp(0, start);
        G_DocView* view = m_host->View();
        G_ToolHandler* hand = view->ToolHandler();
        m_host->ClickAt(0, CCA_GPoint(40, 40));
        QVERIFY(hand->AnnotationHandler());

        if (how == "click")
            m_host->ClickAt(0, CCA_GPoint(150, 200));
        else if (how == "reset")
            view->ResetToolState();
        else if (how == "not kept")
            view->SetAnnotSelectionKept(false);
        else if (how == "other tool")
            view->SetToolHandler(view->ToolHandlerByName("t_textselect"));
        else if (how == "deleted")
            QCOMPARE(m_host->Run("d_delannot", {{"pageAndAnnotID", QStringLiteral("0:%1").arg(stamp->ID())}}), 1);
        else
            QTest::keyClick(view, Qt::Key_Delete);

        QVERIFY(!hand->AnnotationHandler());
        QCOMPARE(g_count.deselected, 1);
        QTRY_COMPARE(g_count.destroyed, 1);
        const bool gone = how == "deleted" || how == "key";
        QCOMPARE(stamp->IsOnPage(), !gone);
        QCOMPARE(view->UndoStack()->count(), gone ? 1 : 0);
        if (gone) { // a drag where the stamp was moves nothing and records nothing new
            view->SetToolHandler(hand);
            m_host->DragOnPage(0, CCA_GPoint(40, 40), CCA_GPoint(80, 80));
            QCOMPARE(view->UndoStack()->count(), 1);
            QCOMPARE(stamp->GetRect(), start);
        }
    }

    void moveStaysOnThePage_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<float>("zoom");
        QTest::addColumn<CCA_GRect>("start");
        QTest::addColumn<int>("key"); // 0: a drag by (dx, dy) from the stamp's centre
        QTest::addColumn<float>("dx");
        QTest::addColumn<float>("dy");
        QTest::addColumn<CCA_GRect>("expected");

        const CCA_GRect mid(30, 40, 70, 70);
        const CCA_GRect moved(55, 50, 95, 80);
        QTest::newRow("drag, upright page, 100%") << 0 << 100.f << mid << 0 << 25.f << 10.f << moved;
        QTest::newRow("drag, upright page, 50%") << 0 << 50.f << mid << 0 << 25.f << 10.f << moved;
        QTest::newRow("drag, page turned 90 degrees, 150%")
            << 1 << 150.f << mid << 0 << 25.f << 10.f << moved;
        QTest::newRow("drag against the left edge")
            << 0 << 100.f << mid << 0 << -50.f << 0.f << CCA_GRect(0, 40, 40, 70);
        QTest::newRow("drag against the top edge")
            << 0 << 100.f << mid << 0 << 0.f << -60.f << CCA_GRect(30, 0, 70, 30);
        QTest::newRow("drag against the right edge")
            << 0 << 100.f << mid << 0 << 160.f << 0.f << CCA_GRect(170, 40, 210, 70);
        QTest::newRow("drag against the bottom edge")
            << 0 << 100.f << mid << 0 << 0.f << 250.f << CCA_GRect(30, 267, 70, 297);
        const int shift = int(Qt::ShiftModifier);
        QTest::newRow("right key: 1 mm") << 0 << 100.f << mid << int(Qt::Key_Right) << 0.f << 0.f
                                         << CCA_GRect(31, 40, 71, 70);
        QTest::newRow("shift up: 10 mm") << 0 << 100.f << mid << int(Qt::Key_Up) + shift << 0.f
                                         << 0.f << CCA_GRect(30, 30, 70, 60);
        QTest::newRow("left key at the left edge")
            << 0 << 100.f << CCA_GRect(0.5f, 40, 40.5f, 70) << int(Qt::Key_Left) << 0.f << 0.f
            << CCA_GRect(0, 40, 40, 70);
        QTest::newRow("shift up at the top edge")
            << 0 << 100.f << CCA_GRect(30, 5, 70, 35) << int(Qt::Key_Up) + shift << 0.f << 0.f
            << CCA_GRect(30, 0, 70, 30);
        QTest::newRow("right key at the right edge")
            << 0 << 100.f << CCA_GRect(169.5f, 40, 209.5f, 70) << int(Qt::Key_Right) << 0.f << 0.f
            << CCA_GRect(170, 40, 210, 70);
        QTest::newRow("down key at the bottom edge")
            << 0 << 100.f << CCA_GRect(30, 266.5f, 70, 296.5f) << int(Qt::Key_Down) << 0.f << 0.f
            << CCA_GRect(30, 267, 70, 297);
    }

    void moveStaysOnThePage()
    {
        QFETCH(int, page);
        QFETCH(float, zoom);
        QFETCH(CCA_GRect, start);
        QFETCH(int, key);
        QFETCH(float, dx);
        QFETCH(float, dy);
        QFETCH(CCA_GRect, expected);
        G_DocView* view = m_host->View();
        view->SetZoom(zoom);
        IG_Annot* stamp = m_host->AddStamp(page, start);
        QVERIFY(stamp);
        const CCA_GPoint from = centreOf(start);
        if (key) {
            m_host->ClickAt(page, from);
            QTest::keyClick(view, Qt::Key(key & ~Qt::ShiftModifier),
                            Qt::KeyboardModifiers(key & Qt::ShiftModifier));
            QCOMPARE(stamp->GetRect(), expected); // keys move by whole millimetres
        } else {
            m_host->DragOnPage(page, from, CCA_GPoint(from.x + dx, from.y + dy));
            verifyRect(stamp->GetRect(), expected, 1.0f / view->MM2Px(1.0f) + 0.01f);
            QVERIFY(qAbs(stamp->GetRect().Width() - start.Width()) < 1e-3f);
        }
        QUndoStack* undo = view->UndoStack();
        QCOMPARE(undo->count(), 1);
        const CCA_GRect moved = stamp->GetRect();
        undo->undo();
        QCOMPARE(stamp->GetRect(), start);
        undo->redo();
        QCOMPARE(stamp->GetRect(), moved);
    }

    void dragOnControlPointResizes_data()
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
        // Far past the opposite corner: the smallest size, the opposite edges where they were.
        const float m = GA_Common::kMinSize;
        QTest::newRow("bottom-right below the smallest size")
            << 4 << -60.0f << -60.0f << CCA_GRect(30, 40, 30 + m, 40 + m);
        QTest::newRow("top-left below the smallest size")
            << 0 << 60.0f << 60.0f << CCA_GRect(70 - m, 70 - m, 70, 70);
        QTest::newRow("left middle below the smallest size")
            << 7 << 60.0f << 0.0f << CCA_GRect(70 - m, 40, 70, 70);
        QTest::newRow("top middle below the smallest size")
            << 1 << 0.0f << 60.0f << CCA_GRect(30, 70 - m, 70, 70);
    }

    void dragOnControlPointResizes()
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
        verifyRect(stamp->GetRect(), expected, 1.5f / view->MM2Px(1.0f));
        QCOMPARE(view->UndoStack()->count(), 1);
        view->UndoStack()->undo();
        QCOMPARE(stamp->GetRect(), start);
    }

    void rightClickSelectsAndForwards()
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

    void textSelectToolSelectsToo()
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

    void provisionalAnnotationsAndPrototypesAreLeftAlone()
    {
        QVERIFY(m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60), "Stamp", true));
        m_host->ClickAt(0, CCA_GPoint(40, 40));
        QVERIFY(!m_host->View()->ToolHandler()->AnnotationHandler());
        QCOMPARE(g_count.made, 0);
        // An annotation handler's prototype never becomes the view's tool.
        G_DocView* view = m_host->View();
        G_ToolHandler* before = view->ToolHandler();
        view->SetToolHandler(m_host->Context()->FindHandlerByName("TestStamps"));
        QCOMPARE(view->ToolHandler(), before);
        QVERIFY(!m_stamps->DocView()); // still unbound, still serving every view
    }

private:
    TestHandler* m_refusing = nullptr;
    TestHandler* m_stamps = nullptr;
    TestHandler* m_catchAll = nullptr;
    std::unique_ptr<HostFixture> m_host;
};

QTEST_MAIN(TestHandTool)
#include "tst_handtool.moc"
