// The document view: layout, mappings between page millimetres, scene and screen,
// rendering, tool handlers and mouse routing.

#include "host/framework/g_toolhandler.h"
#include "host/utils/nex_dpi.h"
#include "hostfixture.h"

#include <QScrollBar>

namespace
{

QStringList g_toolCalls; // "tool:what" and, for the mouse, " x,y flags"
int g_toolsDestroyed = 0;

class RecordingTool : public G_ToolHandler
{
public:
    explicit RecordingTool(const char* name) : m_name(name) {}
    ~RecordingTool() override { ++g_toolsDestroyed; }
    G_ToolHandler* CreateInstance() override { return new RecordingTool(m_name.constData()); }
    CCA_String HandlerName() override { return m_name.constData(); }
    void OnActivate() override { g_toolCalls << m_name + ":activate"; }
    void OnDeactivate() override { g_toolCalls << m_name + ":deactivate"; }
    int OnLButtonDown(unsigned int f, const CCA_Point& p) override { return note("ldown", f, p); }
    int OnLButtonUp(unsigned int f, const CCA_Point& p) override { return note("lup", f, p); }
    int OnRButtonUp(unsigned int f, const CCA_Point& p) override { return note("rup", f, p); }
    int OnMouseMove(unsigned int f, const CCA_Point& p) override { return note("move", f, p); }
    int OnKeyDown(int key, unsigned int f) override { return note("key", f, {key, 0}); }
    int note(const char* what, unsigned int f, const CCA_Point& p)
    {
        g_toolCalls
            << QStringLiteral("%1:%2 %3,%4 %5").arg(QString(m_name), what).arg(p.x).arg(p.y).arg(f);
        return 1;
    }

private:
    QByteArray m_name;
};

// Where the top-left corner (0, 0) of the unrotated page lands on the shown page.
enum Corner { TopLeft, TopRight, BottomRight, BottomLeft };

} // namespace

class TestDocView : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_prototypeA = new RecordingTool("test_tool_a");
        m_prototypeB = new RecordingTool("test_tool_b");
        QVERIFY(m_prototypeA->RegisterHandlerToGlobal());
        QVERIFY(m_prototypeB->RegisterHandlerToGlobal());
        RecordingTool clash("test_tool_a");
        QVERIFY(!clash.RegisterHandlerToGlobal()); // the name is taken
    }

    void cleanupTestCase()
    {
        delete m_prototypeA;
        delete m_prototypeB;
        QVERIFY(!G_ToolHandler::FindGlobal("test_tool_a")); // deleted prototypes leave
    }

    void cleanup()
    {
        Utils::DPI::Nex_Mgr::Instance().SetScale(0);
        g_toolCalls.clear();
    }

    void mappingRoundTrips_data()
    {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<float>("scale");
        QTest::addColumn<int>("rotation");
        QTest::addColumn<int>("corner");
        for (float zoom : {10.0f, 237.5f, 500.0f})
            for (float scale : {1.0f, 1.5f})
                for (int corner = TopLeft; corner <= BottomLeft; ++corner)
                    QTest::addRow("zoom %g scale %g rotate %d", double(zoom), double(scale),
                                  corner * 90)
                        << zoom << scale << corner * 90 << corner;
    }
    void mappingRoundTrips()
    {
        QFETCH(float, zoom);
        QFETCH(float, scale);
        QFETCH(int, rotation);
        QFETCH(int, corner);
        Utils::DPI::Nex_Mgr::Instance().SetScale(scale);
        HostFixture host;
        // A rotated A4 page between two plain A5 pages.
        QVERIFY(host.OpenBlank({CCA_GSize(148, 210), CCA_GSize(210, 297), CCA_GSize(148, 210)},
                               {0, rotation, 0}));
        G_DocView* view = host.View();
        view->SetZoom(zoom);
        const float perMM = 96.0f * scale * zoom / 100.0f / 25.4f;
        QVERIFY(qAbs(view->MM2Px(25.4f) - 96.0f * scale * zoom / 100.0f) < 1e-3f);
        QVERIFY(qAbs(view->Px2MM(view->MM2Px(12.5f)) - 12.5f) < 1e-4f);

        const QRect r = view->PageRect(1);
        const bool quarter = rotation % 180 != 0;
        QCOMPARE(r.width(), qRound((quarter ? 297 : 210) * perMM));
        QCOMPARE(r.height(), qRound((quarter ? 210 : 297) * perMM));

        // The unrotated page's top-left corner lands on the corner the rotation turns it to.
        const CCA_Point origin = view->ScenePointFromDocPoint(1, CCA_GPoint(0, 0));
        const QPoint expected[] = {{r.left(), r.top()},
                                   {r.left() + r.width(), r.top()},
                                   {r.left() + r.width(), r.top() + r.height()},
                                   {r.left(), r.top() + r.height()}};
        QVERIFY(qAbs(origin.x - expected[corner].x()) <= 1 &&
                qAbs(origin.y - expected[corner].y()) <= 1);

        // Page millimetres → scene → page millimetres, within half a pixel.
        const float tolerance = 0.5f / perMM + 1e-3f;
        const CCA_GPoint docPoints[] = {
            {0, 0}, {210, 297}, {50.3f, 120.7f}, {209.9f, 0.1f}, {-15, 320}}; // also off the page
        for (const CCA_GPoint& p : docPoints) {
            const CCA_Point scene = view->ScenePointFromDocPoint(1, p);
            int page = 1;
            const CCA_GPoint back = view->DocPointFromScenePoint(scene, page);
            QCOMPARE(page, 1);
            QVERIFY(qAbs(back.x - p.x) <= tolerance && qAbs(back.y - p.y) <= tolerance);
        }
        // Back from the scene the page is found when not given, and the point is exact.
        const CCA_Point inside(r.center().x(), r.center().y());
        int page = -1;
        const CCA_GPoint centre = view->DocPointFromScenePoint(inside, page);
        QCOMPARE(page, 1);
        QCOMPARE(view->ScenePointFromDocPoint(1, centre), inside);
        view->GoToPage(view, 1, CCA_GRect(100, 140, 110, 150), false);
        QCOMPARE(view->ScenePointFromGlobalPoint(view->GlobalPointFromScenePoint(inside)), inside);
        // A document rectangle covers the same scene area from any corner order.
        const QRect sceneRect = view->SceneRectFromDocRect(1, CCA_GRect(10, 20, 50, 80));
        QVERIFY(qAbs(sceneRect.width() - (quarter ? 60 : 40) * perMM) <= 1.5f);
        QVERIFY(qAbs(sceneRect.height() - (quarter ? 40 : 60) * perMM) <= 1.5f);
    }

    void pagesAreStackedAndFoundByPoint_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<bool>("nearest");
        QTest::addColumn<int>("expected");
        QTest::newRow("inside page 1") << "page1" << true << false << 1;
        QTest::newRow("gap, exact") << "gap" << true << false << -1;
        QTest::newRow("gap, with the gap") << "gap" << false << false << 0;
        QTest::newRow("far left, nearest") << "left" << true << true << 0;
        QTest::newRow("below the last page, nearest") << "below" << false << true << 1;
    }
    void pagesAreStackedAndFoundByPoint()
    {
        QFETCH(QString, where);
        QFETCH(bool, exact);
        QFETCH(bool, nearest);
        QFETCH(int, expected);
        HostFixture host;
        QVERIFY(host.OpenBlank({CCA_GSize(210, 297), CCA_GSize(100, 50)}));
        G_DocView* view = host.View();
        const QRect a = view->PageRect(0);
        const QRect b = view->PageRect(1);
        QCOMPARE(a.top(), int(G_DocView::kPageGap));
        QCOMPARE(b.top(), a.top() + a.height() + G_DocView::kPageGap);
        QCOMPARE(view->SceneSize().height(), b.top() + b.height() + G_DocView::kPageGap);
        QVERIFY(qAbs(a.center().x() - b.center().x()) <= 1);
        QVERIFY(qAbs(a.center().x() - view->viewport()->width() / 2) <= 1);
        QVERIFY(view->PageRect(2).isEmpty() && view->PageRect(-1).isEmpty() && !view->Page(2));
        QPoint p = b.center();
        if (where == "gap")
            p = QPoint(a.center().x(), a.bottom() + 3); // nearer page 0
        else if (where == "left")
            p = QPoint(a.left() - 100, a.center().y());
        else if (where == "below")
            p = QPoint(b.center().x(), b.bottom() + 500);
        QCOMPARE(view->PageIndexByPoint(CCA_Point(p.x(), p.y()), exact, nearest), expected);
    }

    void pageRendersWithItsRotation_data()
    {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<int>("corner"); // −1: annotations hidden, nothing drawn
        // The view draws through the page matrix whose four rotations the mapping rows check.
        QTest::newRow("quarter turn") << 90 << int(TopRight);
        QTest::newRow("annotations hidden") << 0 << -1;
    }
    void pageRendersWithItsRotation()
    {
        QFETCH(int, rotation);
        QFETCH(int, corner);
        HostFixture host;
        QVERIFY(host.OpenBlank({CCA_GSize(100, 150)}, {rotation}));
        QVERIFY(host.AddStamp(0, CCA_GRect(5, 5, 35, 35)));
        G_DocView* view = host.View();
        view->SetAnnotStatus(corner >= 0);
        const QImage image = view->RenderPageImage(0);
        QCOMPARE(image.size(), view->PageRect(0).size());
        // The stamp sits in the corner the page's own top-left turned to; the others are blank.
        const int inset = qRound(view->MM2Px(20));
        const QPoint probes[] = {{inset, inset},
                                 {image.width() - inset, inset},
                                 {image.width() - inset, image.height() - inset},
                                 {inset, image.height() - inset}};
        for (int i = 0; i < 4; ++i) {
            const QColor c = image.pixelColor(probes[i]);
            const bool stamped = c.red() > 150 && c.green() < 140;
            QVERIFY2(stamped == (i == corner),
                     qPrintable(QStringLiteral("corner %1 has %2").arg(i).arg(c.name())));
        }
        // Hidden annotations cannot be hit either.
        const CCA_Point hit = host.ScenePoint(0, CCA_GPoint(20, 20));
        QCOMPARE(view->AnnotAtScenePoint(hit) != nullptr, corner >= 0);
    }

    void zoomKeepsThePageAndGoToPageScrolls()
    {
        HostFixture host;
        QVERIFY(host.OpenBlank({CCA_GSize(210, 297), CCA_GSize(210, 297), CCA_GSize(210, 297)}));
        G_DocView* view = host.View();
        view->GoToPage(1);
        QSignalSpy zoomed(view, &G_DocView::ZoomChanged);
        view->SetZoom(237.5f);
        QCOMPARE(zoomed.count(), 1);
        QCOMPARE(view->CurrentPageIndex(), 1);
        view->SetZoom(0); // refused: no zoom of nothing
        QCOMPARE(view->GetZoom(), 237.5f);

        QSignalSpy changed(view, &G_DocView::CurrentPageChanged);
        view->GoToPage(view, 2, CCA_GRect(150, 250, 190, 280), true);
        QCOMPARE(view->CurrentPageIndex(), 2);
        QVERIFY(changed.count() >= 1);
        const QRect target = view->SceneRectFromDocRect(2, CCA_GRect(150, 250, 190, 280));
        QVERIFY(QRect(view->ScrollOffset(), view->viewport()->size()).contains(target));
        view->GoToPage(0);
        QCOMPARE(view->CurrentPageIndex(), 0);
        QCOMPARE(view->ScrollOffset().y(), 0);
    }

    void toolInstancesBelongToTheirView()
    {
        const int destroyedBefore = g_toolsDestroyed;
        HostFixture host;
        QVERIFY(host.OpenBlank({CCA_GSize(100, 100)}));
        G_DocView* view = host.View();
        G_DocView other(host.Context(), host.Document());
        G_ToolHandler* hand = view->ToolHandler();
        G_ToolHandler* a = view->ToolHandlerByName("test_tool_a");
        QVERIFY(a && a != m_prototypeA);
        QCOMPARE(view->ToolHandlerByName("test_tool_a"), a); // made once
        QCOMPARE(a->DocView(), view);
        G_ToolHandler* theirs = other.ToolHandlerByName("test_tool_a");
        QVERIFY(theirs && theirs != a);
        QCOMPARE(theirs->DocView(), &other);
        QVERIFY(!view->ToolHandlerByName("no_such_tool") && !view->ToolHandlerByName(nullptr));

        view->SetToolHandler(a);
        QCOMPARE(g_toolCalls, QStringList({"test_tool_a:activate"}));
        g_toolCalls.clear();
        // A prototype handed over is replaced by the view's own instance.
        view->SetToolHandler(host.Context()->FindHandlerByName("test_tool_b"));
        G_ToolHandler* b = view->ToolHandlerByName("test_tool_b");
        QCOMPARE(g_toolCalls, QStringList({"test_tool_a:deactivate", "test_tool_b:activate"}));
        QCOMPARE(view->ToolHandler(), b);
        QCOMPARE(view->PreviousToolHandler(), a);
        g_toolCalls.clear();
        view->SetToolHandler(b); // already current: nothing happens
        QVERIFY(g_toolCalls.isEmpty());
        view->SetToolHandler(hand);
        host.CloseDocument(); // the view deletes its instances
        QCOMPARE(g_toolsDestroyed, destroyedBefore + 2);
    }

    void mouseAndKeysReachTheToolInScenePixels()
    {
        HostFixture host;
        QVERIFY(host.OpenBlank({CCA_GSize(210, 297), CCA_GSize(210, 297)}));
        G_DocView* view = host.View();
        view->SetToolHandler(view->ToolHandlerByName("test_tool_a"));
        view->verticalScrollBar()->setValue(300);
        QCOMPARE(view->ScrollOffset().y(), 300);
        g_toolCalls.clear();
        const QPoint pos(400, 250);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, pos);
        QTest::mouseClick(view->viewport(), Qt::RightButton, Qt::NoModifier, pos);
        host.MoveToViewport(pos + QPoint(5, 6));
        QTest::keyClick(view, Qt::Key_Left, Qt::ControlModifier);
        const QPoint at = pos + view->ScrollOffset();
        auto call = [](const char* what, const QPoint& p, int flags) {
            return QString::asprintf("test_tool_a:%s %d,%d %d", what, p.x(), p.y(), flags);
        };
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
        QCOMPARE(g_toolCalls, QStringList({call("ldown", at, shift), call("lup", at, shift),
                                           call("rup", at, 0), call("move", at + QPoint(5, 6), 0),
                                           // a person presses Control first
                                           call("key", {Qt::Key_Control, 0}, ctrl),
                                           call("key", {Qt::Key_Left, 0}, ctrl)}));
    }

private:
    RecordingTool* m_prototypeA = nullptr;
    RecordingTool* m_prototypeB = nullptr;
};

QTEST_MAIN(TestDocView)
#include "tst_docview.moc"
