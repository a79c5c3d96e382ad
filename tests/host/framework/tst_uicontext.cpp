// The UI context: events, message boxes, the context menu, annotation commands with undo,
// settings and the small reader services.

#include "host/framework/clearannot.h"
#include "host/framework/contextmenuitemstate.h"
#include "host/framework/crf_eventmgr.h"
#include "host/framework/gac_common.h"
#include "host/framework/icore.h"
#include "host/utils/nex_path.h"
#include "hostfixture.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>

namespace
{

// Records what the context menu runs.
class MenuOp : public G_Operation
{
public:
    explicit MenuOp(const char* name) : m_name(name) {}
    G_Operation* Clone() override
    {
        auto* op = new MenuOp(m_name.constData());
        op->CopyFrom(this);
        return op;
    }
    const char* Name() override { return m_name.constData(); }
    int DoAction() override
    {
        s_runs << QString::asprintf("%s page %d annot %d", m_name.constData(),
                                    Param()->GetInt32("pageIndex", -1),
                                    Param()->GetInt32("annotid", -1));
        return 1;
    }
    static QStringList s_runs;

private:
    QByteArray m_name;
};
QStringList MenuOp::s_runs;

ContextMenuItemState state(bool enabled, bool visible)
{
    ContextMenuItemState s;
    s.SetFlag(ContextMenuItemState::Enabled, enabled);
    s.SetFlag(ContextMenuItemState::Visible, visible);
    return s;
}

} // namespace

class TestUIContext : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        for (const char* name : {"d_delpageannot", "d_embedpageannot", "test_menu_extra"}) {
            auto* op = new MenuOp(name);
            op->RegisterToGlobal();
            m_ops << op;
        }
    }

    void cleanupTestCase() { qDeleteAll(m_ops); }

    void init()
    {
        MenuOp::s_runs.clear();
        m_host.reset(new HostFixture);
        QVERIFY(m_host->OpenBlank({CCA_GSize(210, 297)}));
    }

    void cleanup() { m_host.reset(); }

    void firedEventsAreAnnouncedLoggedAndTaken()
    {
        G_UIContext* context = m_host->Context();
        QSignalSpy fired(context, &G_UIContext::EventFired);
        QSignalSpy shown(context, &G_UIContext::StringShown);
        context->FireEvent(new G_DocumentChangedEvent(m_host->View(), 110, 1, nullptr));
        context->FireEvent(nullptr); // ignored
        QCOMPARE(fired.count(), 1);
        QCOMPARE(context->EventLog().size(), 1);
        QCOMPARE(context->EventLog().at(0)->Type(), 110);
        context->ClearEventLog();
        QVERIFY(context->EventLog().isEmpty() && m_host->MessageBoxes().isEmpty());
        const QString text = QStringLiteral("The current view zoom no more than 10%-500%.");
        context->FireEvent(new G_StringEvent(text, 173));
        QCOMPARE(shown.count(), 1);
        QCOMPARE(context->ShownStrings(), QStringList({text}));
        QCOMPARE(m_host->MessageBoxes().size(), 1);
        QCOMPARE(m_host->MessageBoxes()[0].text, text);
        QCOMPARE(m_host->MessageBoxes()[0].kind,
                 int(Utils::Widgets::MessageBoxRequest::Information));
    }

    void commandBarEventSelectsTheTool_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("toolAfter");
        QTest::newRow("hand tool") << "t_handtool" << QString("t_handtool");
        QTest::newRow("a command, not a tool") << "tab_receipt" << QString("t_textselect");
    }
    void commandBarEventSelectsTheTool()
    {
        QFETCH(QString, name);
        QFETCH(QString, toolAfter);
        G_DocView* view = m_host->View();
        view->SetToolHandler(view->ToolHandlerByName("t_textselect"));
        QSignalSpy selected(m_host->Context(), &G_UIContext::CommandBarSelectionChanged);
        m_host->Context()->FireEvent(new G_CommandBarOpChangedEvent(
            G_Event::CommandBarSettingData(QStringList{name}, 7, QVariant(true))));
        QCOMPARE(m_host->Context()->CommandBarSelection(), name);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(m_host->CurrentTool(), toolAfter);
        // Another kind of setting selects nothing.
        m_host->Context()->FireEvent(new G_CommandBarOpChangedEvent(
            G_Event::CommandBarSettingData(QStringList{"t_handtool"}, 3, QVariant(true))));
        QCOMPARE(m_host->Context()->CommandBarSelection(), name);
    }

    void messageBoxesGoThroughTheSeam_data()
    {
        QTest::addColumn<int>("kind");
        using R = Utils::Widgets::MessageBoxRequest;
        QTest::newRow("information") << int(R::Information);
        QTest::newRow("warning") << int(R::Warning);
        QTest::newRow("error") << int(R::Error);
    }
    void messageBoxesGoThroughTheSeam()
    {
        QFETCH(int, kind);
        const int answer = QMessageBox::Cancel; // the person's, not the default button
        m_host->AnswerMessageBoxes(answer);
        G_UIContext* context = m_host->Context();
        const int buttons = QMessageBox::Yes | QMessageBox::Cancel;
        const QMap<int, QString> texts{{QMessageBox::Yes, QStringLiteral("Go on")}};
        using R = Utils::Widgets::MessageBoxRequest;
        const int got =
            kind == R::Information
                ? context->InformationMessageBox("T", "text", buttons, QMessageBox::Yes, texts)
            : kind == R::Warning
                ? context->WarningMessageBox("T", "text", buttons, QMessageBox::Yes, texts)
                : context->ErrorMessageBox("T", "text", buttons, QMessageBox::Yes, texts);
        QCOMPARE(got, answer);
        const auto boxes = m_host->MessageBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first().kind, kind);
        QCOMPARE(boxes.first().buttons, buttons);
        QCOMPARE(boxes.first().defaultButton, int(QMessageBox::Yes));
        QCOMPARE(boxes.first().buttonTexts, texts);
    }

    void switchingViewsIsAnnounced();

    void menuEntries_data()
    {
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("signable");
        QTest::addColumn<QString>("choose");
        QTest::addColumn<QString>("ran");
        auto row = [](const char* name, bool editable, bool signable, const char* choose,
                      const char* ran) {
            QTest::newRow(name) << editable << signable << QString(choose) << QString(ran);
        };
        row("chosen entry runs with the parameters", true, true, "d_embedpageannot",
            "d_embedpageannot page 3 annot 17");
        row("disabled entry never runs", false, true, "d_delpageannot", "");
        row("hidden entry never runs", true, false, "d_applysignature", "");
        row("entry not in the menu", true, true, "test_menu_extra", "");
    }
    void menuEntries()
    {
        QFETCH(bool, editable);
        QFETCH(bool, signable);
        QFETCH(QString, choose);
        QFETCH(QString, ran);
        G_ContextMenu* menu = m_host->Context()->ContextMenu();
        QList<G_ContextMenu::Entry> offered;
        menu->SetChooser([&](const QString& group, const QList<G_ContextMenu::Entry>& e) {
            if (group == QLatin1String("annot"))
                offered = e;
            return choose;
        });
        QMap<QString, ContextMenuItemState> states;
        states.insert(QStringLiteral("d_delpageannot"), state(editable, true));
        states.insert(QStringLiteral("d_embedpageannot"), state(editable, true));
        states.insert(QStringLiteral("d_applysignature"), state(true, signable));
        auto* params = new G_OperationParam; // the menu takes it over
        params->Add("pageIndex", 3);
        params->Add("annotid", 17);
        QSignalSpy performed(m_host->Context(), &G_UIContext::OperationPerformed);
        const QString result = menu->ShowMenu(QStringLiteral("annot"), states, params);
        menu->SetChooser(nullptr);
        QCOMPARE(offered.size(), 3);
        QCOMPARE(offered.at(0).enabled, editable);
        QVERIFY(offered.at(0).visible && offered.at(1).visible);
        QCOMPARE(offered.at(2).visible, signable);
        QCOMPARE(MenuOp::s_runs, ran.isEmpty() ? QStringList() : QStringList{ran});
        QCOMPARE(result, ran.section(' ', 0, 0));
        QCOMPARE(performed.count(), ran.isEmpty() ? 0 : 1); // run as the user's action
    }

    void realMenuIsAnsweredByAPerson()
    {
        G_ContextMenu* menu = m_host->Context()->ContextMenu();
        QMap<QString, ContextMenuItemState> states;
        states.insert(QStringLiteral("d_applysignature"), state(true, false));
        QStringList shown;
        QTimer::singleShot(0, this, [&]() {
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!popup)
                return;
            const QList<QAction*> actions = popup->actions();
            for (QAction* action : actions) {
                shown << action->text();
                if (action->objectName() == QLatin1String("d_delpageannot"))
                    popup->setActiveAction(action);
            }
            QTest::keyClick(popup, Qt::Key_Return);
        });
        auto* params = new G_OperationParam;
        params->Add("pageIndex", 0);
        params->Add("annotid", 5);
        const QString ran = menu->ShowMenu(QStringLiteral("annot"), states, params,
                                           m_host->View()->mapToGlobal(QPoint(50, 50)));
        QCOMPARE(shown, QStringList({"Delete", "Embed into page"})); // hidden entry left out
        QCOMPARE(ran, QStringLiteral("d_delpageannot"));
        QCOMPARE(MenuOp::s_runs, QStringList({"d_delpageannot page 0 annot 5"}));
    }

    void flushMakesTheAnnotationAndUndoTakesItBack()
    {
        GAC_Common command;
        command.annotType = G_AnnotType_Stamp;
        QVERIFY(!command.Flush(CCA_GRect(0, 0, 10, 10), false)); // no view
        command.view = m_host->View();
        command.pageIndex = 5;
        QVERIFY(!command.Flush(CCA_GRect(0, 0, 10, 10), false)); // no such page
        QVERIFY(!command.CreateAnnotCmd(nullptr));
        command.pageIndex = 0;
        command.subType = "Stamp";
        IG_Annot* annot = command.Flush(CCA_GRect(20, 30, 60, 60), false);
        QVERIFY(annot && !annot->IsRunTime());
        QCOMPARE(command.Annot(), annot);
        QCOMPARE(annot->GetRect(), CCA_GRect(20, 30, 60, 60));

        QVERIFY(command.CreateAnnotCmd(annot));
        QUndoStack* undo = m_host->View()->UndoStack();
        QCOMPARE(undo->count(), 1);
        QCOMPARE(m_host->View()->Page(0)->AnnotCount(), 1); // the first redo did nothing
        undo->undo();
        QVERIFY(!annot->IsOnPage());
        undo->redo();
        QVERIFY(annot->IsOnPage());
        IG_Annot* preview = command.Flush(CCA_GRect(0, 0, 40, 30), true);
        QVERIFY(preview && preview->IsRunTime());
    }

    void settingsComeFromCacheThenFile()
    {
        G_SettingMgr* settings = G_SettingMgr::Instance();
        const QString file = Utils::Nex_Path::AppConfigsPath() + QStringLiteral("reader.ini");
        const QString user = QStringLiteral("annot.annothighlight.identity.username");
        QCOMPARE(settings->ConfigValue(QStringLiteral("stampAnnotID"), -1).toInt(), -1);
        settings->SetConfigCache(QStringLiteral("stampAnnotID"), 17u);
        QCOMPARE(settings->ConfigValue(QStringLiteral("stampAnnotID"), -1).toInt(), 17);
        QVERIFY(!QFile::exists(file)); // the cache stays in memory
        settings->SetConfigValue(user, QStringLiteral("Ada"));
        QCOMPARE(QSettings(file, QSettings::IniFormat).value(user).toString(),
                 QStringLiteral("Ada"));
        settings->ClearCache();
        QCOMPARE(settings->ConfigValue(QStringLiteral("stampAnnotID"), -1).toInt(), -1);
        QCOMPARE(settings->ConfigValue(user).toString(), QStringLiteral("Ada"));
        QSettings(file, QSettings::IniFormat).setValue(user, QStringLiteral("Grace")); // by hand
        QCOMPARE(settings->ConfigValue(user).toString(), QStringLiteral("Grace"));
    }

    void clearedHistoryForgetsSelections()
    {
        IG_Annot* stamp = m_host->AddStamp(0, CCA_GRect(20, 20, 60, 60));
        QUndoStack* undo = m_host->View()->UndoStack();
        const QString id = QStringLiteral("0:%1").arg(stamp->ID());
        QCOMPARE(m_host->Run("d_delannot", {{"pageAndAnnotID", id}}), 1);
        ClearAnnot::GetInstance()->ClearStack(undo);
        QCOMPARE(undo->count(), 0);
        QVERIFY(!stamp->IsOnPage()); // nothing can bring it back now
    }

    void dialogParentIsTheModalDialogElseTheMainWindow()
    {
        QWidget window;
        Core::ICore::setMainWindow(&window);
        QCOMPARE(Core::ICore::dialogParent(), &window);
        QDialog dialog(&window);
        QWidget* seen = nullptr;
        QTimer::singleShot(0, &dialog, [&]() {
            seen = Core::ICore::dialogParent();
            dialog.reject();
        });
        dialog.exec();
        QCOMPARE(seen, &dialog);
        Core::ICore::setMainWindow(nullptr);
        QVERIFY(!Core::ICore::dialogParent());
    }

private:
    std::unique_ptr<HostFixture> m_host;
    QList<MenuOp*> m_ops;
};

void TestUIContext::switchingViewsIsAnnounced()
{
    G_UIContext* context = m_host->Context();
    QSignalSpy switched(context->EventMgr(), &CRF_EventMgr::SwitchDocView);
    QSignalSpy closed(context->EventMgr(), &CRF_EventMgr::DocClose);
    auto* second = new G_DocView(context, m_host->Document());
    context->SetCurrentDocView(second);
    QCOMPARE(switched.at(0).at(0).value<G_DocView*>(), second);
    context->SetCurrentDocView(second); // no change, no signal
    QCOMPARE(switched.count(), 1);
    G_Operation* op = context->CreateOperationByName("test_menu_extra", QString());
    QCOMPARE(op->DocView(), second); // made for the current view
    op->DeleteLater();
    delete second;
    QCOMPARE(closed.count(), 1);
    QCOMPARE(closed.at(0).at(1).value<IG_Document*>(), m_host->Document());
    QCOMPARE(context->CurrentDocView(), m_host->View());
    QCOMPARE(switched.count(), 2);
}

QTEST_MAIN(TestUIContext)
#include "tst_uicontext.moc"
