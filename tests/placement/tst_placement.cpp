// Stamp placement: "tp_stamp" run directly, the stamp tool driven with the mouse and what
// drops its preview, and the stamp handler with its context menu.
#include "fakedocument.h"
#include "hostfixture.h"
#include "stampkit.h"

#include "host/document/readerannot.h"
#include "host/document/readerdocument.h"
#include "host/framework/g_navigationpage.h"
#include "placement/ga_stamp.h"
#include "placement/gpi_cancelannot.h"
#include "placement/gt_stamp.h"

#include <QCursor>
#include <QDir>
#include <cmath>

namespace
{
const CCA_GSize kSize(40, 30);
const QString kHand = QStringLiteral("t_handtool");
const QString kStampTool = QStringLiteral("tp_stamp");

void verifyNear(const CCA_GPoint& a, const CCA_GPoint& b) // within a pixel at 100 %
{
    QVERIFY2(std::fabs(a.x - b.x) <= 0.3f && std::fabs(a.y - b.y) <= 0.3f,
             qPrintable(QStringLiteral("%1, %2 vs %3, %4").arg(a.x).arg(a.y).arg(b.x).arg(b.y)));
}

int cached(const char* key)
{
    return G_SettingMgr::Instance()->ConfigValue(QString::fromLatin1(key), QVariant(-1)).toInt();
}

// The content a stamp of kSize placed with the mouse carries: its picture, in this order.
QString appearance(int resourceId)
{
    return QString(R"({"RunTime":false,"SubType":"Stamp","Appearance":[{"Type":"Image",)"
                   R"("ResourceID":%1,"Width":40.0,"Height":30.0,"RunTime":false}]})")
        .arg(resourceId);
}

IG_Annot* changedAnnot(HostFixture& fx, int subType) // of the first such change event
{
    for (const G_Event* e : fx.Events(110)) {
        if (static_cast<const G_DocumentChangedEvent*>(e)->SubType() == subType)
            return static_cast<const G_DocumentChangedEvent*>(e)->Annot();
    }
    return nullptr;
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

struct Release {
    const char* where; // an edge, "middle", "other page" or "dragged in" (pressed elsewhere)
    int lessInside;    // pixels fewer than the 2 mm margin (rounded up) at the edge
    bool applySign, docContext, accepted;
};
struct MenuCase {
    const char* subType;
    bool locked, readOnly, editEnabled, signVisible;
};
} // namespace
Q_DECLARE_METATYPE(Release)
Q_DECLARE_METATYPE(MenuCase)

class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A navigation page that exists before the plug-in is initialised, as the reader's
        // thumbnail panel does.
        m_earlyNaviPage.reset(new Core::G_NavigationPage);
        StampKit::InitPlugin();
        QVERIFY(CancelAnnotInstance && m_probe.RegisterHandlerToGlobal());
    }

    void init()
    {
        m_fx.reset(new HostFixture);
        if (qstrcmp(QTest::currentTestFunction(), "filterTakesPlainStamps") != 0)
            QVERIFY(m_fx->OpenFile(StampKit::ContractPath()));
        m_fx->Context()->ClearEventLog();
    }

    void cleanup() { m_fx.reset(); }

    void automaticPlacement_data()
    {
        QTest::addColumn<QVariant>("autoValue");
        QTest::addColumn<QString>("subType");
        QTest::addColumn<int>("page");     // −1: not given, the current page (0)
        QTest::addColumn<QString>("user"); // configured creator; empty: none
        QTest::addColumn<float>("zoom");   // kept within 10 % to 500 %, with a message
        QTest::newRow("auto as bool") << QVariant(true) << "" << 1 << "" << 100.f;
        QTest::newRow("sub-type Tablet") << QVariant(1) << "Tablet" << 2 << "" << 100.f;
        QTest::newRow("no page given") << QVariant(1) << "" << -1 << "" << 100.f;
        QTest::newRow("configured user") << QVariant(1) << "" << 0 << "Ada Lovelace" << 100.f;
        QTest::newRow("zoom 9.9 %") << QVariant(1) << "" << 1 << "" << 9.9f;
        QTest::newRow("zoom 10 %") << QVariant(1) << "" << 1 << "" << 10.f;
        QTest::newRow("zoom 500 %") << QVariant(1) << "" << 1 << "" << 500.f;
        QTest::newRow("zoom 500.1 %") << QVariant(1) << "" << 1 << "" << 500.1f;
    }
    void automaticPlacement()
    {
        QFETCH(QVariant, autoValue);
        QFETCH(QString, subType);
        QFETCH(int, page);
        QFETCH(QString, user);
        QFETCH(float, zoom);
        if (!user.isEmpty())
            G_SettingMgr::Instance()->SetConfigCache("annot.annothighlight.identity.username",
                                                     user);
        G_DocView* view = m_fx->View();
        view->SetZoom(zoom);
        QVariantMap params = stamp(autoValue);
        params.insert("position", QVariant::fromValue(CCA_GPoint(20, 30)));
        if (!subType.isEmpty())
            params.insert("subType", subType);
        if (page >= 0)
            params.insert("pageIndex", page);
        const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
        QVariantMap out;
        QCOMPARE(m_fx->Run("tp_stamp", params, &out), 1);

        QCOMPARE(out.value("pageIndex").toInt(), qMax(page, 0));
        IG_Annot* annot = view->Page(qMax(page, 0))->AnnotById(out.value("annotid").toUInt());
        QVERIFY(annot && annot->IsOnPage() && !annot->IsRunTime());
        QCOMPARE(annot, changedAnnot(*m_fx, 1));
        QCOMPARE(annot->GetRect(), CCA_GRect(20, 30, 60, 60));
        QCOMPARE(GQ_ToQString(annot->SubType()), subType.isEmpty() ? "Stamp" : subType);
        QCOMPARE(GQ_ToQString(annot->Creator()), user.isEmpty() ? QDir::home().dirName() : user);
        const QString date = GQ_ToQString(annot->CreationDate());
        const QDateTime at = QDateTime::fromString(date, "yyyy-MM-dd hh:mm:ss");
        QVERIFY2(at >= before && at <= QDateTime::currentDateTime().addSecs(1), qPrintable(date));
        QCOMPARE(view->UndoStack()->count(), 1);
        QCOMPARE(m_fx->CurrentTool(), kHand);
        QCOMPARE(m_fx->Context()->CommandBarSelection(), kHand);
        QCOMPARE(view->GetZoom(), qBound(10.f, zoom, 500.f));
        const auto shown = m_fx->Events(173);
        QCOMPARE(shown.size(), zoom == view->GetZoom() ? 0 : 1);
        if (!shown.isEmpty()) {
            QCOMPARE(static_cast<const G_StringEvent*>(shown[0])->Text(),
                     "The current view zoom no more than 10%-500%, automatic recovery has "
                     "been made.");
        }
    }

    void preview_data()
    {
        // The pointer when "tp_stamp" runs (page −1: the margin off every page) and the page
        // it names; then where the pointer moves (page −1: nowhere, −2: into the margin).
        QTest::addColumn<int>("pointerPage");
        QTest::addColumn<CCA_GPoint>("pointer");
        QTest::addColumn<int>("page");
        QTest::addColumn<CCA_GPoint>("centre"); // where the preview starts
        QTest::addColumn<int>("movePage");
        QTest::addColumn<CCA_GPoint>("to");
        const CCA_GPoint at(100, 100), none;
        QTest::newRow("starts on its page at the pointer on another")
            << 1 << CCA_GPoint(50, 40) << 0 << CCA_GPoint(50, 40) << -1 << none;
        QTest::newRow("starts at the corner, pointer off the pages")
            << -1 << none << 2 << CCA_GPoint(20, 15) << -1 << none;
        QTest::newRow("follows on its page") << 0 << at << 0 << at << 0 << CCA_GPoint(60, 80);
        QTest::newRow("follows on the next page, mapped to its own")
            << 0 << at << 0 << at << 1 << CCA_GPoint(50, 40);
        QTest::newRow("stays when the pointer leaves the pages")
            << 0 << at << 0 << at << -2 << none;
    }
    void preview()
    {
        QFETCH(int, pointerPage);
        QFETCH(CCA_GPoint, pointer);
        QFETCH(int, page);
        QFETCH(CCA_GPoint, centre);
        QFETCH(int, movePage);
        QFETCH(CCA_GPoint, to);
        G_DocView* view = m_fx->View();
        if (pointerPage >= 0)
            StampKit::PointerTo(*m_fx, pointerPage, pointer);
        else
            QCursor::setPos(view->viewport()->mapToGlobal(marginPoint()));
        QVariantMap params = stamp(false);
        params.insert("pageIndex", page);
        params.insert("position", QVariant::fromValue(CCA_GPoint(5, 5))); // both ignored
        params.insert("subType", QStringLiteral("Tablet"));
        QVariantMap out;
        QCOMPARE(m_fx->Run("tp_stamp", params, &out), 1);
        QVERIFY(!out.contains("annotid"));
        IG_Annot* preview = StampKit::Pending(view);
        QVERIFY(preview && preview->IsRunTime() && preview->IsOnPage());
        QCOMPARE(preview, changedAnnot(*m_fx, 0));
        QCOMPARE(GQ_ToQString(preview->SubType()), QStringLiteral("Stamp"));
        QCOMPARE(m_fx->CurrentTool(), kStampTool);
        QCOMPARE(CancelAnnotInstance->PendingTool(), StampKit::StampTool(view));

        if (movePage == -2) {
            m_fx->MoveToViewport(marginPoint());
        } else if (movePage >= 0) {
            // The stamp stays on its page, centred on the pointer in that page's coordinates.
            const QPoint pos = m_fx->ViewportPoint(movePage, to);
            m_fx->MoveToViewport(pos);
            const QPoint scene = pos + view->ScrollOffset();
            centre = view->DocPointFromScenePoint(CCA_Point(scene.x(), scene.y()), page);
        }
        QCOMPARE(preview->Page()->Index(), page);
        verifyNear(StampKit::Centre(preview->GetRect()), centre);
        QCOMPARE(preview->GetRect().Width(), kSize.width);
        QCOMPARE(preview->GetRect().Height(), kSize.height);
        QCOMPARE(StampKit::Pending(view), preview);
    }

    void release_data()
    {
        // The stamp is pending in the middle of the middle page.
        QTest::addColumn<Release>("row");
        for (const char* edge : {"left", "top", "right", "bottom"}) {
            QTest::addRow("%s, margin", edge) << Release{edge, 0, false, true, true};
            QTest::addRow("%s, margin - 1", edge) << Release{edge, 1, false, true, false};
        }
        QTest::newRow("middle, signature") << Release{"middle", 0, true, true, true};
        QTest::newRow("middle, signature without document context")
            << Release{"middle", 0, true, false, true};
        QTest::newRow("another page") << Release{"other page", 0, false, true, false};
        QTest::newRow("pressed on another page") << Release{"dragged in", 0, false, true, true};
    }
    void release()
    {
        QFETCH(Release, row);
        const QString where = row.where;
        G_DocView* view = m_fx->View();
        IG_Annot* preview =
            StampKit::StartInteractive(*m_fx, 1, CCA_GPoint(105, 148), kSize, row.applySign);
        QVERIFY(preview);
        const int annots = view->Page(1)->AnnotCount();
        m_fx->Context()->ClearEventLog();
        const QRect r = view->PageRect(1);
        const int inset = qMax(0, int(std::ceil(view->MM2Px(2.0f))) - row.lessInside);
        CCA_Point click(r.center().x(), r.center().y());
        if (where == "left" || where == "right")
            click.x = where == "left" ? r.left() + inset : r.right() - inset;
        else if (where == "top" || where == "bottom")
            click.y = where == "top" ? r.top() + inset : r.bottom() - inset;
        else if (where == "other page")
            click = m_fx->ScenePoint(0, CCA_GPoint(105, 148));
        const CCA_Point other = m_fx->ScenePoint(0, CCA_GPoint(100, 280));
        if (!row.docContext) // as after a failed load
            G_Application::Instance()->UnregisterDocument(m_fx->Document());
        clickAtScene(click, where == "dragged in" ? &other : nullptr);
        if (!row.docContext)
            G_Application::Instance()->RegisterDocument(m_fx->Document());

        QCOMPARE(StampKit::Pending(view) == preview, !row.accepted);
        QCOMPARE(preview->IsOnPage(), !row.accepted);
        QCOMPARE(view->UndoStack()->count(), int(row.accepted));
        QCOMPARE(m_fx->CurrentTool(), row.accepted ? kHand : kStampTool);
        IG_Annot* placed = changedAnnot(*m_fx, 1);
        QCOMPARE(placed != nullptr, row.accepted);
        if (!row.accepted)
            return;
        QVERIFY(placed != preview && placed->IsOnPage() && !placed->IsRunTime());
        QVERIFY(!StampKit::Pending(view) && placed->ResourceID() > 0);
        QCOMPARE(placed->Page()->Index(), 1);
        QCOMPARE(placed->GetRect(), preview->GetRect());
        QCOMPARE(QString::fromStdString(placed->Content()), appearance(placed->ResourceID()));
        QCOMPARE(view->Page(1)->AnnotCount(), annots); // the preview gave way to the stamp
        QCOMPARE(m_fx->Context()->CommandBarSelection(), kHand);

        const auto requests = m_fx->Context()->SignatureRequests();
        const auto boxes = m_fx->MessageBoxes(); // the signature's own, or the failure
        QCOMPARE(requests.size(), int(row.applySign && row.docContext));
        QCOMPARE(boxes.size(), int(row.applySign));
        if (!requests.isEmpty()) {
            QCOMPARE(requests[0].operation, QStringLiteral("d_digitalsignature"));
            QCOMPARE(requests[0].pageIndex, 1);
            QCOMPARE(requests[0].annotId, int(placed->ID()));
        } else if (row.applySign) {
            QCOMPARE(boxes[0].kind, int(Utils::Widgets::MessageBoxRequest::Information));
            QCOMPARE(boxes[0].title, QStringLiteral("title"));
            QCOMPARE(boxes[0].text, QStringLiteral("The current document load context fail."));
        }
    }

    void commitHandsTheClickToTheCurrentTool()
    {
        G_DocView* view = m_fx->View();
        QVERIFY(StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(100, 100), kSize));
        GT_Stamp* stamp = StampKit::StampTool(view);
        auto* probe = dynamic_cast<ProbeTool*>(view->ToolHandlerByName("test_probe"));
        view->SetToolHandler(probe);
        const CCA_Point at = m_fx->ScenePoint(0, CCA_GPoint(100, 100));
        QCOMPARE(stamp->OnLButtonUp(0, at), 1);
        const QString point = QStringLiteral("%1,%2").arg(at.x).arg(at.y);
        QCOMPARE(probe->calls, QStringList({"down " + point, "up " + point}));
        QCOMPARE(m_fx->CurrentTool(), kHand);
    }

    void cancel_data()
    {
        QTest::addColumn<QString>("trigger"); // an operation, a navigation change or a click
        QTest::addColumn<bool>("handCurrent");
        QTest::addColumn<bool>("cancels");
        QTest::newRow("zoom") << "v_zoom" << false << true;
        QTest::newRow("zoom, hand tool already current") << "v_zoom" << true << true;
        QTest::newRow("new stamp") << "ti_stamp" << false << false;
        QTest::newRow("invoice seal") << "d_invoiceseal" << false << false;
        QTest::newRow("navigation change") << "navigation" << false << true;
        QTest::newRow("navigation page made later") << "late navigation" << false << false;
        QTest::newRow("right click") << "right click" << false << true;
    }
    void cancel()
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
            m_fx->AddStamp(0, CCA_GRect(20, 200, 60, 230));
            m_fx->ClickAt(0, CCA_GPoint(40, 215));
            QVERIFY(hand->AnnotationHandler());
        }
        m_fx->Context()->ClearEventLog();
        if (trigger == "navigation") {
            emit m_earlyNaviPage->ChangeShowIndexSignal(2);
        } else if (trigger == "late navigation") {
            emit late.ChangeShowIndexSignal(1);
        } else if (trigger == "right click") {
            m_fx->ClickAt(0, CCA_GPoint(90, 120), Qt::RightButton);
        } else { // the operation still runs; a new placement takes over
            G_Operation* op = m_fx->Context()->CreateOperationByName(trigger.toUtf8(), QString());
            QCOMPARE(CancelAnnotInstance->Intercepts(op), cancels);
            const QVariantMap params =
                cancels ? QVariantMap{{"zoomIndex", 150.0f}} : stamp(0, CCA_GSize(20, 20));
            for (auto it = params.cbegin(); it != params.cend(); ++it)
                op->Param()->AddVariant(it.key(), it.value());
            const StampKit::PickerChoice choice(CCA_GSize(20, 20)); // "ti_stamp" asks
            if (trigger == "d_invoiceseal")
                StampKit::AddCustomSeal(view, QSize(20, 20));
            QCOMPARE(op->PerformAction(), 1);
            op->DeleteLater();
        }

        if (!cancels) {
            IG_Annot* now = StampKit::Pending(view);
            QCOMPARE(now == preview, trigger == "late navigation");
            QCOMPARE(preview->IsOnPage(), now == preview);
            QCOMPARE(now->GetRect().Width(), now == preview ? 40.f : 20.f);
            QCOMPARE(StampKit::RunTimeCount(view->Page(0)), 1);
            QCOMPARE(m_fx->CurrentTool(), kStampTool);
            QCOMPARE(CancelAnnotInstance->PendingTool(), StampKit::StampTool(view));
            QCOMPARE(m_fx->Events(111).isEmpty(), now == preview);
            return;
        }
        QVERIFY(!preview->IsOnPage() && !StampKit::Pending(view));
        const auto removed = m_fx->Events(111);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(static_cast<const G_AnnotationEvent*>(removed[0])->Annot(), preview);
        QCOMPARE(view->ToolHandler(), hand);
        QVERIFY(!hand->AnnotationHandler());
        QCOMPARE(m_fx->Events(G_Event::CommandBarOpChanged).isEmpty(),
                 handCurrent || trigger == "navigation");
        QCOMPARE(view->GetZoom(), trigger == "v_zoom" ? 150.f : 100.f);
        QCOMPARE(view->UndoStack()->count(), 0);
        // The stamp tool's own right click leaves the interceptor armed, to find nothing.
        QCOMPARE(!CancelAnnotInstance->PendingTool(), trigger != "right click");
        emit m_earlyNaviPage->ChangeShowIndexSignal(1);
        QCOMPARE(m_fx->Events(111).size(), trigger == "right click" ? 2 : 1);
        QCOMPARE(view->ToolHandler(), hand);
    }

    void closingItsViewDropsThePreviewAndDisarms()
    {
        // A second window on the same document places a stamp, then closes.
        auto other = std::make_unique<G_DocView>(m_fx->Context(), m_fx->Document());
        other->resize(600, 500);
        other->show();
        QVERIFY(QTest::qWaitForWindowExposed(other.get()));
        m_fx->Context()->SetCurrentDocView(other.get());
        const QPoint inside(other->PageRect(0).center().x(), other->PageRect(0).top() + 200);
        QCursor::setPos(other->viewport()->mapToGlobal(inside - other->ScrollOffset()));
        QCOMPARE(m_fx->Run("tp_stamp", stamp(0)), 1);
        IG_Annot* preview = StampKit::Pending(other.get());
        QVERIFY(preview && preview->IsOnPage());
        other.reset(); // the view and its stamp tool go away
        QVERIFY(!preview->IsOnPage() && !CancelAnnotInstance->PendingTool());
        QCOMPARE(StampKit::RunTimeCount(m_fx->View()->Page(0)), 0);
        QCOMPARE(m_fx->Context()->CurrentDocView(), m_fx->View());
        // Nothing reaches the destroyed tool afterwards.
        m_fx->Context()->ClearEventLog();
        QCOMPARE(m_fx->Run("v_zoom", {{"zoomIndex", 120.0f}}), 1);
        QCOMPARE(m_fx->View()->GetZoom(), 120.0f);
        emit m_earlyNaviPage->ChangeShowIndexSignal(0);
        QVERIFY(m_fx->Events(111).isEmpty());
    }

    void switchingToViewWithStampToolReturnsHand_data()
    {
        QTest::addColumn<QString>("otherTool");
        QTest::newRow("other view places a stamp too") << kStampTool;
        QTest::newRow("other view has the hand tool") << kHand;
    }
    void switchingToViewWithStampToolReturnsHand()
    {
        QFETCH(QString, otherTool);
        QVERIFY(StampKit::StartInteractive(*m_fx, 0, CCA_GPoint(100, 100), kSize));
        // A second view of the same document, as a second window of the reader would be.
        G_DocView other(m_fx->Context(), m_fx->Document());
        other.SetToolHandler(other.ToolHandlerByName(otherTool.toUtf8().constData()));
        m_fx->Context()->ClearEventLog();
        m_fx->Context()->SetCurrentDocView(&other);
        QStringList selected; // the reader's command bar then brings the hand tool
        for (const G_Event* e : m_fx->Events(G_Event::CommandBarOpChanged))
            selected << static_cast<const G_CommandBarOpChangedEvent*>(e)->Data().names;
        QCOMPARE(selected, otherTool == kStampTool ? QStringList{kHand} : QStringList());
        m_fx->Context()->SetCurrentDocView(m_fx->View());
    }

    void idleToolDoesNothing()
    {
        // Destroyed without ever being activated, or right-clicked with nothing pending.
        const int annots = m_fx->View()->Page(0)->AnnotCount();
        delete new GT_Stamp;
        GT_Stamp* tool = StampKit::StampTool(m_fx->View());
        delete tool->CreateInstance();
        m_fx->View()->SetToolHandler(tool);
        QCOMPARE(tool->OnRButtonUp(0, m_fx->ScenePoint(0, CCA_GPoint(50, 50))), 1);
        QVERIFY(m_fx->Context()->EventLog().isEmpty());
        QCOMPARE(m_fx->View()->Page(0)->AnnotCount(), annots);
    }

    void filterTakesPlainStamps_data()
    {
        QTest::addColumn<int>("type"); // −1: no annotation at all
        QTest::addColumn<QString>("subType");
        QTest::addColumn<bool>("signature");
        QTest::addColumn<bool>("taken");
        const int stamp = G_AnnotType_Stamp;
        QTest::newRow("Stamp") << stamp << "Stamp" << false << true;
        QTest::newRow("no sub-type") << stamp << "" << false << true;
        QTest::newRow("Tablet") << stamp << "Tablet" << false << false;
        QTest::newRow("PreSeal") << stamp << "PreSeal" << false << false;
        QTest::newRow("tablet, other case") << stamp << "tablet" << false << true;
        QTest::newRow("signature") << stamp << "Stamp" << true << false;
        QTest::newRow("square") << int(G_AnnotType_Square) << "Stamp" << false << false;
        QTest::newRow("none") << -1 << "" << false << false;
    }
    void filterTakesPlainStamps()
    {
        QFETCH(int, type);
        QFETCH(QString, subType);
        QFETCH(bool, signature);
        QFETCH(bool, taken);
        FakeAnnot annot(nullptr, 77, G_AnnotType(type), subType.toUtf8().constData(), signature);
        GA_Stamp handler;
        QCOMPARE(handler.Filter(type < 0 ? nullptr : &annot), taken);
    }

    void contextMenu_data()
    {
        QTest::addColumn<MenuCase>("row");
        QTest::newRow("Stamp") << MenuCase{"Stamp", false, false, true, true};
        QTest::newRow("PDFSign, other case") << MenuCase{"PDFSign", false, false, false, false};
        QTest::newRow("datestamp, other case") << MenuCase{"datestamp", false, false, true, false};
        QTest::newRow("locked") << MenuCase{"Stamp", true, false, false, false};
        QTest::newRow("read-only document") << MenuCase{"Stamp", false, true, false, false};
    }
    void contextMenu()
    {
        QFETCH(MenuCase, row);
        IG_Annot* other = m_fx->AddStamp(0, CCA_GRect(30, 40, 70, 70));
        IG_Annot* annot = m_fx->AddStamp(1, CCA_GRect(50, 50, 90, 80), row.subType);
        if (row.locked)
            dynamic_cast<ReaderAnnot&>(*annot).SetLocked(true);
        if (row.readOnly)
            dynamic_cast<ReaderDocument&>(*m_fx->Document()).SetReadOnly(true);
        m_fx->ClickAt(0, StampKit::Centre(other->GetRect())); // a selection publishes the stamp
        QCOMPARE(cached("stampPageIndex"), 0);
        QCOMPARE(cached("stampAnnotID"), int(other->ID()));
        // A right click straight on another stamp: the keys name it when the menu opens.
        // Applying the signature is chosen: it runs, with the stamp's page and id, when shown.
        QHash<QString, G_ContextMenu::Entry> byName;
        int pageSeen = -2, idSeen = -2;
        m_fx->Context()->ContextMenu()->SetChooser(
            [&](const QString& group, const QList<G_ContextMenu::Entry>& entries) {
                for (const auto& e : entries)
                    byName.insert(group + ":" + e.name, e);
                pageSeen = cached("stampPageIndex");
                idSeen = cached("stampAnnotID");
                return QStringLiteral("d_applysignature");
            });
        m_fx->ClickAt(1, StampKit::Centre(annot->GetRect()), Qt::RightButton);
        m_fx->Context()->ContextMenu()->SetChooser(nullptr);
        QCOMPARE(pageSeen, 1);
        QCOMPARE(idSeen, int(annot->ID()));
        QCOMPARE(byName.size(), 3);
        for (const char* name : {"annot:d_delpageannot", "annot:d_embedpageannot"}) {
            const G_ContextMenu::Entry e = byName.value(name);
            QCOMPARE(e.enabled, row.editEnabled);
            QVERIFY(e.visible && !e.checkable && !e.checked);
        }
        const G_ContextMenu::Entry sign = byName.value("annot:d_applysignature");
        QVERIFY(sign.enabled && !sign.checkable);
        QCOMPARE(sign.visible, row.signVisible);
        const auto requests = m_fx->Context()->SignatureRequests();
        QCOMPARE(requests.size(), int(row.signVisible));
        if (row.signVisible) {
            QCOMPARE(requests[0].pageIndex, 1);
            QCOMPARE(requests[0].annotId, int(annot->ID()));
        }
    }

private:
    QVariantMap stamp(const QVariant& autoValue, const CCA_GSize& size = kSize)
    {
        return {{"stampId", StampKit::EmbedSeal(m_fx->Document())},
                {"stampSize", QVariant::fromValue(size)},
                {"imgPath", StampKit::SealPath()},
                {"auto", autoValue}};
    }

    QPoint marginPoint() const // the grey margin left of the pages, in the viewport
    {
        G_DocView* view = m_fx->View();
        const int x = view->PageRect(0).left() - G_DocView::kPageGap - 20;
        return QPoint(x - view->ScrollOffset().x(), view->viewport()->height() / 2);
    }

    // Moves there, presses (at `pressScene` when given) and releases, in scene pixels.
    void clickAtScene(const CCA_Point& scene, const CCA_Point* pressScene = nullptr)
    {
        if (pressScene)
            m_fx->PressAtViewport(m_fx->ViewportPointOfScene(*pressScene));
        const QPoint pos = m_fx->ViewportPointOfScene(scene);
        m_fx->MoveToViewport(pos, pressScene ? Qt::LeftButton : Qt::NoButton);
        if (!pressScene)
            m_fx->PressAtViewport(pos);
        m_fx->ReleaseAtViewport(pos);
    }

    std::unique_ptr<HostFixture> m_fx;
    std::unique_ptr<Core::G_NavigationPage> m_earlyNaviPage;
    ProbeTool m_probe;
};

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
