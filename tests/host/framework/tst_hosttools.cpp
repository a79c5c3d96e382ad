// The reader's own tools with annotation handlers, and its operations run by name.
#include "host/document/readerdocument.h"
#include "host/framework/ga_common.h"
#include "hostfixture.h"

namespace
{

struct Counters {
    int selected = 0;
    int deselected = 0;
    int rightUps = 0;
    int destroyed = 0;
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
             QTest::toString(got));
}

// A drag by (dx, dy) from the stamp's centre or from its control point `ctrl` (−1: none),
// or a key (with Shift added) when given.
struct Edit {
    CCA_GRect start;
    int ctrl;
    int key;
    float dx, dy;
    CCA_GRect expected;
};

} // namespace
Q_DECLARE_METATYPE(Edit)

class TestHostTools : public QObject
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
        m_host->ClickAt(0, CCA_GPoint(40, 40));
        G_AnnotationHandler* handler = hand->AnnotationHandler();
        QVERIFY(handler && handler != m_stamps); // a fresh instance, never the prototype
        QCOMPARE(handler->HandlerName(), CCA_String("TestStamps"));
        QCOMPARE(handler->CurrentAnnot(), stamp);
        QCOMPARE(g_count.selected, 1);

        m_host->ClickAt(0, CCA_GPoint(120, 120));
        handler = hand->AnnotationHandler();
        QCOMPARE(handler->HandlerName(), CCA_String("TestCatchAll"));
        QCOMPARE(handler->CurrentAnnot(), other);
        QCOMPARE(g_count.deselected, 1);
        QTRY_COMPARE(g_count.destroyed, 1); // the first instance is gone
    }

    void selectionIsDropped_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("click elsewhere") << "click";
        QTest::newRow("selection not kept (tool state reset)") << "not kept";
        QTest::newRow("other tool") << "other tool";
        QTest::newRow("Delete key (runs d_delannot)") << "key";
    }
    void selectionIsDropped()
    {
        QFETCH(QString, how);
        IG_Annot* stamp = m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60));
        G_DocView* view = m_host->View();
        G_ToolHandler* hand = view->ToolHandler();
        m_host->ClickAt(0, CCA_GPoint(40, 40));
        QVERIFY(hand->AnnotationHandler());

        if (how == "click")
            m_host->ClickAt(0, CCA_GPoint(150, 200));
        else if (how == "not kept")
            view->SetAnnotSelectionKept(false);
        else if (how == "other tool")
            view->SetToolHandler(view->ToolHandlerByName("t_textselect"));
        else
            QTest::keyClick(view, Qt::Key_Delete);

        QVERIFY(!hand->AnnotationHandler());
        QCOMPARE(g_count.deselected, 1);
        QTRY_COMPARE(g_count.destroyed, 1);
        const bool gone = how == "key";
        QCOMPARE(stamp->IsOnPage(), !gone);
        QCOMPARE(view->UndoStack()->count(), gone ? 1 : 0);
    }

    void editStaysOnThePage_data()
    {
        QTest::addColumn<Edit>("row");
        const CCA_GRect mid(30, 40, 70, 70), moved(55, 50, 95, 80);
        const float m = GA_Common::kMinSize;
        auto row = [](const char* name, const Edit& edit) { QTest::newRow(name) << edit; };
        const int up = Qt::Key_Up + Qt::ShiftModifier;
        row("drag", {mid, -1, 0, 25, 10, moved});
        row("drag against the left edge", {mid, -1, 0, -50, 0, {0, 40, 40, 70}});
        row("drag against the top edge", {mid, -1, 0, 0, -60, {30, 0, 70, 30}});
        row("drag against the right edge", {mid, -1, 0, 160, 0, {170, 40, 210, 70}});
        row("drag against the bottom edge", {mid, -1, 0, 0, 250, {30, 267, 70, 297}});
        row("left key: 1 mm", {mid, -1, Qt::Key_Left, 0, 0, {29, 40, 69, 70}});
        row("shift up: 10 mm", {mid, -1, up, 0, 0, {30, 30, 70, 60}});
        row("right key at the right edge",
            {{169.5f, 40, 209.5f, 70}, -1, Qt::Key_Right, 0, 0, {170, 40, 210, 70}});
        row("down key at the bottom edge",
            {{30, 266.5f, 70, 296.5f}, -1, Qt::Key_Down, 0, 0, {30, 267, 70, 297}});
        // Control points go clockwise from the top-left corner.
        row("resize top-left", {mid, 0, 0, -10, -5, {20, 35, 70, 70}});
        row("resize top middle", {mid, 1, 0, 7, -5, {30, 35, 70, 70}});
        row("resize right middle", {mid, 3, 0, 10, 9, {30, 40, 80, 70}});
        row("resize bottom-right", {mid, 4, 0, 10, 20, {30, 40, 80, 90}});
        // Far past the opposite corner: the smallest size, the opposite edges where they were.
        row("resize bottom-right below the smallest size",
            {mid, 4, 0, -60, -60, {30, 40, 30 + m, 40 + m}});
        row("resize top-left below the smallest size",
            {mid, 0, 0, 60, 60, {70 - m, 70 - m, 70, 70}});
    }
    void editStaysOnThePage()
    {
        QFETCH(Edit, row);
        G_DocView* view = m_host->View();
        IG_Annot* stamp = m_host->AddStamp(0, row.start);
        CCA_GPoint from = centreOf(row.start);
        if (row.key || row.ctrl >= 0) // a move drags the stamp unselected
            m_host->ClickAt(0, from);
        if (row.key) {
            QTest::keyClick(view, Qt::Key(row.key & ~Qt::ShiftModifier),
                            Qt::KeyboardModifiers(row.key & Qt::ShiftModifier));
            QCOMPARE(stamp->GetRect(), row.expected); // keys move by whole millimetres
        } else {
            if (row.ctrl >= 0) {
                G_AnnotationHandler* handler = view->ToolHandler()->AnnotationHandler();
                QVERIFY(handler && handler->GetCtrlPoints().size() == 8);
                int page = 0;
                from = view->DocPointFromScenePoint(handler->GetCtrlPoints()[row.ctrl], page);
            }
            m_host->DragOnPage(0, from, CCA_GPoint(from.x + row.dx, from.y + row.dy));
            const float pixels = row.ctrl < 0 ? 1.0f : 1.5f; // a control point's centre is rounded
            verifyRect(stamp->GetRect(), row.expected, pixels / view->MM2Px(1.0f) + 0.01f);
            if (row.ctrl < 0) // a move keeps the size exactly
                QVERIFY(qAbs(stamp->GetRect().Width() - row.start.Width()) < 1e-3f);
        }
        QUndoStack* undo = view->UndoStack();
        QCOMPARE(undo->count(), 1);
        const CCA_GRect edited = stamp->GetRect();
        undo->undo();
        QCOMPARE(stamp->GetRect(), row.start);
        undo->redo();
        QCOMPARE(stamp->GetRect(), edited);
    }

    void rightClickSelectsAndForwards()
    {
        QVERIFY(m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60)));
        m_host->ClickAt(0, CCA_GPoint(40, 40), Qt::RightButton);
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
        QVERIFY(view->ToolHandler()->AnnotationHandler());
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
        // An annotation handler's prototype never becomes the view's tool.
        G_DocView* view = m_host->View();
        G_ToolHandler* before = view->ToolHandler();
        view->SetToolHandler(m_host->Context()->FindHandlerByName("TestStamps"));
        QCOMPARE(view->ToolHandler(), before);
    }

    void zoomIsKeptWithinLimits_data()
    {
        QTest::addColumn<float>("asked"); // negative: no value given
        QTest::addColumn<float>("expected");
        QTest::newRow("below") << 9.9f << 10.0f;
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
        QTest::newRow("missing page") << "7:%1" << false;
        QTest::newRow("wrong page") << "0:%1" << false;
        QTest::newRow("trailing junk") << "1:%1x" << false;
    }
    void deleteAnnotation()
    {
        QFETCH(QString, text);
        QFETCH(bool, deletes);
        IG_Annot* keep = m_host->AddStamp(1, CCA_GRect(10, 10, 50, 50));
        IG_Annot* gone = m_host->AddStamp(1, CCA_GRect(60, 60, 100, 100));
        QVERIFY(keep && gone);
        const QVariantMap request{
            {"pageAndAnnotID", text.contains("%1") ? text.arg(gone->ID()) : text}};
        QCOMPARE(m_host->Run("d_delannot", request), deletes ? 1 : 0);
        QVERIFY(keep->IsOnPage());
        QCOMPARE(gone->IsOnPage(), !deletes);
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
        QCOMPARE(m_host->Run("t_toolbarbtnstate", {{"btnName", "t_other"}, {"checked", true}},
                             nullptr, false),
                 1);
        QVERIFY(context->CommandBarButtonChecked(QStringLiteral("t_other")));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_host->Run("t_toolbarbtnstate", {{"checked", true}}, nullptr, false),
                 0); // no name
    }

    void batchStampsEveryNamedPageInOneUndoEntry()
    {
        G_SettingMgr::Instance()->SetConfigValue("annot.annothighlight.identity.username", "Clerk");
        const int resource = m_host->StampResource();
        QSignalSpy fired(m_host->Context(), &G_UIContext::EventFired);
        QCOMPARE(batch(resource, 40, "0:164,261/1:251,174"), 1);
        QCOMPARE(annotCount(), 2);
        IG_Annot* a = m_host->View()->Page(0)->AnnotAt(0);
        IG_Annot* b = m_host->View()->Page(1)->AnnotAt(0);
        QCOMPARE(a->GetRect(), CCA_GRect(164, 261, 204, 291));
        QCOMPARE(b->GetRect(), CCA_GRect(251, 174, 291, 204));
        // Made like automatic stamps (every page's the same way).
        QVERIFY(!a->IsRunTime());
        QCOMPARE(a->ResourceID(), resource);
        QCOMPARE(GQ_ToQString(a->Creator()), QStringLiteral("Clerk"));
        QVERIFY(QDateTime::fromString(GQ_ToQString(a->CreationDate()), "yyyy-MM-dd hh:mm:ss")
                    .isValid());
        QCOMPARE(fired.count(), 1);
        QUndoStack* undo = m_host->View()->UndoStack();
        QCOMPARE(undo->count(), 1);
        undo->undo();
        QVERIFY(!a->IsOnPage() && !b->IsOnPage());
    }

    void batchRefusesWhatItCannotPlace_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("width");
        QTest::addColumn<int>("stampId"); // 0: the fixture's picture
        QTest::addColumn<bool>("readOnly");
        const QString two = QStringLiteral("0:1,1/1:1,1");
        QTest::newRow("trailing slash") << QStringLiteral("0:164,261/") << 40.0f << 0 << false;
        QTest::newRow("second page missing")
            << QStringLiteral("0:1,1/5:1,1") << 40.0f << 0 << false;
        QTest::newRow("no size") << two << 0.0f << 0 << false;
        QTest::newRow("no such picture") << two << 40.0f << 99 << false;
        QTest::newRow("read-only document") << two << 40.0f << 0 << true;
    }
    void batchRefusesWhatItCannotPlace()
    {
        QFETCH(QString, text);
        QFETCH(float, width);
        QFETCH(int, stampId);
        QFETCH(bool, readOnly);
        const int resource = m_host->StampResource();
        dynamic_cast<ReaderDocument*>(m_host->Document())->SetReadOnly(readOnly);
        QCOMPARE(batch(stampId == 0 ? resource : stampId, width, text), 0);
        QCOMPARE(annotCount(), 0);
        QCOMPARE(m_host->View()->UndoStack()->count(), 0);
    }

private:
    TestHandler* m_refusing = nullptr;
    TestHandler* m_stamps = nullptr;
    TestHandler* m_catchAll = nullptr;
    std::unique_ptr<HostFixture> m_host;

    int annotCount() const
    {
        return m_host->View()->Page(0)->AnnotCount() + m_host->View()->Page(1)->AnnotCount();
    }
    int batch(int stampId, float width, const QString& placements)
    {
        return m_host->Run("batchaddinvoice",
                           {{"stampId", stampId},
                            {"stampSize", QVariant::fromValue(CCA_GSize(width, 30))},
                            {"pageandposition", placements}},
                           nullptr, false); // executed: its own read-only check is reached
    }
};

QTEST_MAIN(TestHostTools)
#include "tst_hosttools.moc"
