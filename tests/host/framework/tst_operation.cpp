// Operation runs: interceptor order and lifetime, stopping, results, the registry, clones,
// JSON parameters and deferred deletion.

#include "host/document/ig_document.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_operationinterceptor.h"
#include "host/framework/g_uicontext.h"
#include "host/framework/gp_changehandler.h"
#include "hostfixture.h"

#include <QPointer>
#include <QtTest>
#include <functional>

namespace
{

QStringList g_calls; // what happened, in order

class RecordingOp : public G_Operation
{
public:
    explicit RecordingOp(const char* name = "test_record", int result = 7)
        : m_name(name), m_resultValue(result)
    {
    }
    ~RecordingOp() override { ++s_destroyed; }
    G_Operation* Clone() override
    {
        auto* op = new RecordingOp(m_name.constData(), m_resultValue);
        op->CopyFrom(this);
        return op;
    }
    const char* Name() override { return m_name.constData(); }
    int DoAction() override
    {
        g_calls << QStringLiteral("DoAction");
        if (onAction)
            onAction();
        return m_resultValue;
    }
    std::function<void()> onAction;
    static int s_destroyed;

private:
    QByteArray m_name;
    int m_resultValue;
};
int RecordingOp::s_destroyed = 0;

class RecordingInterceptor : public G_OperationInterceptor
{
public:
    explicit RecordingInterceptor(const QString& tag, bool takes = true)
        : m_tag(tag), m_takes(takes)
    {
    }
    bool Intercepts(G_Operation*) override
    {
        g_calls << m_tag + ":Intercepts";
        return m_takes;
    }
    bool PrepareDataHandle(G_Operation* op, bool performed) override
    {
        g_calls << m_tag + ":Prepare" + (performed ? "(perform)" : "(execute)");
        if (onPrepare)
            onPrepare(op);
        return prepareResult;
    }
    bool BeforeDoActionHandle(G_Operation*) override
    {
        g_calls << m_tag + ":Before";
        return beforeResult;
    }
    void AfterDoActionHandle(G_Operation* op) override
    {
        g_calls << m_tag + QStringLiteral(":After(%1)").arg(op->ActionResult());
    }
    bool prepareResult = true;
    bool beforeResult = true;
    std::function<void(G_Operation*)> onPrepare;

private:
    QString m_tag;
    bool m_takes;
};

} // namespace

class TestOperation : public QObject
{
    Q_OBJECT
private slots:
    void init() { g_calls.clear(); }

    void runOrderFollowsConstruction();
    void interceptorThatDeclinesSeesOnlyIntercepts();
    void falsePrepareStopsBeforeDoAction();
    void falseBeforeStopsBeforeDoAction();
    void destroyedInterceptorLeavesTheRun();
    void interceptorDestroyedMidRunIsSkipped();
    void interceptorMadeMidRunWaitsForTheNextRun();
    void resultIsKeptWithTheOperation();
    void performTellsTheContextExecuteDoesNot();
    void performRefusesChangesToReadOnlyDocuments_data();
    void performRefusesChangesToReadOnlyDocuments();
    void changeHandlerMakesTheNamedToolCurrent();
    void registryFindsByNameAndForgetsDeletedPrototypes();
    void laterRegistrationReplacesTheEarlier();
    void createByNameClonesAndBinds();
    void copyFromOverwritesKeysAndKeepsOthers();
    void paramJsonRoundTrip();
    void paramJsonRejectsNonObjects_data();
    void paramJsonRejectsNonObjects();
    void deleteLaterWithoutEventLoopDeletesAtOnce();
    void deleteLaterInsideEventLoopWaitsForTheLoop();
    void deleteLaterDuringItsOwnRunWaitsForTheRunToEnd();
};

void TestOperation::runOrderFollowsConstruction()
{
    RecordingInterceptor a(QStringLiteral("A"));
    RecordingInterceptor b(QStringLiteral("B"));
    RecordingOp op;
    op.ExecuteAction();
    const QStringList expected = {"A:Intercepts",       "B:Intercepts", "A:Prepare(execute)",
                                  "B:Prepare(execute)", "A:Before",     "B:Before",
                                  "DoAction",           "A:After(7)",   "B:After(7)"};
    QCOMPARE(g_calls, expected);
}

void TestOperation::interceptorThatDeclinesSeesOnlyIntercepts()
{
    RecordingInterceptor a(QStringLiteral("A"), false);
    RecordingInterceptor b(QStringLiteral("B"));
    RecordingOp op;
    op.PerformAction();
    const QStringList expected = {"A:Intercepts", "B:Intercepts", "B:Prepare(perform)",
                                  "B:Before",     "DoAction",     "B:After(7)"};
    QCOMPARE(g_calls, expected);
}

void TestOperation::falsePrepareStopsBeforeDoAction()
{
    RecordingInterceptor a(QStringLiteral("A"));
    RecordingInterceptor b(QStringLiteral("B"));
    a.prepareResult = false;
    RecordingOp op;
    QCOMPARE(op.ExecuteAction(), 0);
    QCOMPARE(g_calls, QStringList({"A:Intercepts", "B:Intercepts", "A:Prepare(execute)"}));
    QVERIFY(!op.WasRun());
    QCOMPARE(op.ActionResult(), 0);
}

void TestOperation::falseBeforeStopsBeforeDoAction()
{
    RecordingInterceptor a(QStringLiteral("A"));
    a.beforeResult = false;
    RecordingOp op;
    QCOMPARE(op.ExecuteAction(), 0);
    QVERIFY(!g_calls.contains(QStringLiteral("DoAction")));
    QVERIFY(!op.WasRun());
}

void TestOperation::destroyedInterceptorLeavesTheRun()
{
    const int before = G_OperationInterceptor::LiveCount();
    auto* a = new RecordingInterceptor(QStringLiteral("A"));
    QCOMPARE(G_OperationInterceptor::LiveCount(), before + 1);
    QVERIFY(G_OperationInterceptor::IsLive(a));
    RecordingOp op;
    op.ExecuteAction();
    QVERIFY(g_calls.contains(QStringLiteral("A:Before")));
    delete a;
    QCOMPARE(G_OperationInterceptor::LiveCount(), before);
    g_calls.clear();
    op.ExecuteAction();
    QCOMPARE(g_calls, QStringList({"DoAction"}));
}

void TestOperation::interceptorDestroyedMidRunIsSkipped()
{
    RecordingInterceptor a(QStringLiteral("A"));
    auto* b = new RecordingInterceptor(QStringLiteral("B"));
    // A's Prepare destroys B: B must get no further call in this run.
    a.onPrepare = [&b](G_Operation*) {
        delete b;
        b = nullptr;
    };
    RecordingOp op;
    QCOMPARE(op.ExecuteAction(), 7);
    const QStringList expected = {"A:Intercepts", "B:Intercepts", "A:Prepare(execute)",
                                  "A:Before",     "DoAction",     "A:After(7)"};
    QCOMPARE(g_calls, expected);
}

void TestOperation::interceptorMadeMidRunWaitsForTheNextRun()
{
    std::unique_ptr<RecordingInterceptor> late;
    RecordingOp op;
    op.onAction = [&late]() {
        if (!late)
            late.reset(new RecordingInterceptor(QStringLiteral("L")));
    };
    op.ExecuteAction();
    QCOMPARE(g_calls, QStringList({"DoAction"}));
    g_calls.clear();
    op.ExecuteAction();
    QVERIFY(g_calls.contains(QStringLiteral("L:Prepare(execute)")));
}

void TestOperation::resultIsKeptWithTheOperation()
{
    RecordingOp op("test_result", 42);
    QVERIFY(!op.WasRun());
    QCOMPARE(op.PerformAction(), 42);
    QCOMPARE(op.ActionResult(), 42);
    QVERIFY(op.WasRun());
}

void TestOperation::performTellsTheContextExecuteDoesNot()
{
    G_UIContext context;
    QSignalSpy performed(&context, &G_UIContext::OperationPerformed);
    RecordingOp op("test_notify", 3);
    op.SetContext(&context, nullptr);
    op.ExecuteAction();
    QCOMPARE(performed.count(), 0);
    op.PerformAction();
    QCOMPARE(performed.count(), 1);
    QCOMPARE(performed.at(0).at(0).toString(), QStringLiteral("test_notify"));
    QCOMPARE(performed.at(0).at(1).toInt(), 3);
}

void TestOperation::performRefusesChangesToReadOnlyDocuments_data()
{
    QTest::addColumn<int>("authority");
    QTest::addColumn<bool>("perform");
    QTest::addColumn<int>("expected");
    QTest::newRow("change, performed") << 2 << true << 0;
    QTest::newRow("change, executed") << 2 << false << 7;
    QTest::newRow("read only, performed") << 0 << true << 7;
}

void TestOperation::performRefusesChangesToReadOnlyDocuments()
{
    QFETCH(int, authority);
    QFETCH(bool, perform);
    QFETCH(int, expected);
    class Changing : public RecordingOp
    {
    public:
        explicit Changing(int authority) : m_authority(authority) {}
        int AuthorityType() override { return m_authority; }

    private:
        int m_authority;
    };
    // A document the reader may show but not change.
    class ReadOnlyDocument : public IG_Document
    {
    public:
        explicit ReadOnlyDocument(IG_Document* inner) : m_inner(inner) {}
        int PageCount() const override { return m_inner->PageCount(); }
        IG_Page* PageAt(int index) const override { return m_inner->PageAt(index); }
        CCA_String FilePath() const override { return m_inner->FilePath(); }
        bool IsReadOnly() const override { return true; }
        int AddResource(ICA_StreamReader*, int, int) override { return 0; }
        QImage ResourceImage(int id) const override { return m_inner->ResourceImage(id); }
        quint64 Revision() const override { return m_inner->Revision(); }
        quint64 ContentRevision() const override { return m_inner->ContentRevision(); }
        bool IsModified() const override { return false; }
        bool SaveAs(const QString&, QString*) override { return false; }

    private:
        IG_Document* m_inner;
    };
    HostFixture host;
    QVERIFY(host.OpenBlank({CCA_GSize(100, 100)}));
    ReadOnlyDocument locked(host.Document());
    G_DocView view(host.Context(), &locked);
    Changing op(authority);
    op.SetContext(host.Context(), &view);
    QCOMPARE(perform ? op.PerformAction() : op.ExecuteAction(), expected);
    QCOMPARE(op.WasRun(), expected != 0);
    // A refused change tells the user why.
    QCOMPARE(host.MessageBoxes().size(), expected == 0 ? 1 : 0);
    const int warning = Utils::Widgets::MessageBoxRequest::Warning;
    if (expected == 0)
        QCOMPARE(host.MessageBoxes().first().kind, warning);
}

void TestOperation::changeHandlerMakesTheNamedToolCurrent()
{
    class Change : public GP_ChangeHandler
    {
    public:
        G_Operation* Clone() override { return nullptr; }
        const char* Name() override { return "test_change"; }
    };
    HostFixture host;
    QVERIFY(host.OpenBlank({CCA_GSize(100, 100)}));
    Change op;
    op.SetContext(host.Context(), host.View());
    op.Param()->Add("name", "t_textselect");
    QCOMPARE(op.ExecuteAction(), 1);
    QCOMPARE(host.View()->ToolHandler(), host.View()->ToolHandlerByName("t_textselect"));
    op.Param()->Add("name", "no_such_tool");
    QCOMPARE(op.ExecuteAction(), 0);
    QCOMPARE(host.View()->ToolHandler(), host.View()->ToolHandlerByName("t_textselect"));
}

void TestOperation::registryFindsByNameAndForgetsDeletedPrototypes()
{
    auto* prototype = new RecordingOp("test_registry");
    QVERIFY(!G_Operation::FindGlobal("test_registry"));
    prototype->RegisterToGlobal();
    prototype->RegisterToGlobal(); // twice is once
    QCOMPARE(G_Operation::FindGlobal("test_registry"), prototype);
    QCOMPARE(G_Operation::GlobalNames().count(QStringLiteral("test_registry")), 1);
    delete prototype;
    QVERIFY(!G_Operation::FindGlobal("test_registry"));
    QVERIFY(!G_Operation::FindGlobal(nullptr));
}

void TestOperation::laterRegistrationReplacesTheEarlier()
{
    RecordingOp first("test_twice", 1);
    RecordingOp second("test_twice", 2);
    first.RegisterToGlobal();
    second.RegisterToGlobal();
    QCOMPARE(G_Operation::FindGlobal("test_twice"), &second);
}

void TestOperation::createByNameClonesAndBinds()
{
    HostFixture host;
    QVERIFY(host.OpenBlank({CCA_GSize(210, 297)}));
    RecordingOp prototype("test_create", 5);
    prototype.Param()->Add("kept", 11);
    prototype.RegisterToGlobal();
    G_Operation* op = host.Context()->CreateOperationByName(
        "test_create", QStringLiteral("{\"extra\":\"yes\",\"kept\":12}"));
    QVERIFY(op);
    QVERIFY(op != &prototype);
    QCOMPARE(QByteArray(op->Name()), QByteArray("test_create"));
    QCOMPARE(op->UIContext(), host.Context());
    QCOMPARE(op->DocView(), host.View());
    QCOMPARE(op->GDocument(), host.Document());
    QCOMPARE(op->Param()->GetInt32("kept"), 12); // the JSON fills over the prototype's
    QCOMPARE(op->Param()->GetQString("extra"), QStringLiteral("yes"));
    QCOMPARE(prototype.Param()->GetInt32("kept"), 11);
    QVERIFY(!host.Context()->CreateOperationByName("no_such_operation", QString()));
    const int destroyed = RecordingOp::s_destroyed;
    op->DeleteLater();
    QCOMPARE(RecordingOp::s_destroyed, destroyed + 1);
}

void TestOperation::copyFromOverwritesKeysAndKeepsOthers()
{
    G_UIContext context;
    RecordingOp source;
    source.Param()->Add("a", 1);
    source.Param()->Add("b", QStringLiteral("from source"));
    source.SetContext(&context, nullptr);
    RecordingOp target;
    target.Param()->Add("b", QStringLiteral("old"));
    target.Param()->Add("c", true);
    target.CopyFrom(&source);
    QCOMPARE(target.Param()->GetInt32("a"), 1);
    QCOMPARE(target.Param()->GetQString("b"), QStringLiteral("from source"));
    QVERIFY(target.Param()->GetBool("c"));
    QCOMPARE(target.UIContext(), &context);
    QCOMPARE(target.Param()->Keys(), QStringList({"b", "c", "a"}));
}

void TestOperation::paramJsonRoundTrip()
{
    RecordingOp op;
    G_OperationParam* p = op.Param();
    p->Add("flag", true);
    p->Add("count", -3);
    p->Add("big", 4000000000u);
    p->Add("ratio", 0.1f);
    p->Add("whole", 2.0f);
    p->Add("text", QStringLiteral("Grüße \"quoted\""));
    p->Add("anchor", CCA_Point(12, -4));
    p->Add("position", CCA_GPoint(123.75f, 80.5f));
    p->Add("size", CCA_GSize(40.0f, 30.0f));
    p->Add("rect", CCA_GRect(1.5f, 2.0f, 3.25f, 4.0f));
    const QString json = op.ListenerParamsJson();

    RecordingOp back;
    QVERIFY(back.ParseParamJson(json));
    const G_OperationParam* q = back.Param();
    QCOMPARE(q->Keys(), p->Keys());
    QCOMPARE(q->GetBool("flag"), true);
    QCOMPARE(q->GetInt32("count"), -3);
    QCOMPARE(q->Value("big").toULongLong(), 4000000000ull);
    QCOMPARE(q->GetFloat("ratio"), 0.1f);
    QCOMPARE(q->GetFloat("whole"), 2.0f);
    QCOMPARE(q->GetQString("text"), QStringLiteral("Grüße \"quoted\""));
    QCOMPARE(q->GetPoint("anchor"), CCA_Point(12, -4));
    QCOMPARE(q->Value("anchor").userType(), qMetaTypeId<CCA_Point>());
    QCOMPARE(q->GetGPoint("position"), CCA_GPoint(123.75f, 80.5f));
    QCOMPARE(q->Value("position").userType(), qMetaTypeId<CCA_GPoint>());
    QCOMPARE(q->GetGSize("size"), CCA_GSize(40.0f, 30.0f));
    QCOMPARE(q->GetGRect("rect"), CCA_GRect(1.5f, 2.0f, 3.25f, 4.0f));
    QCOMPARE(back.ListenerParamsJson(), json);
}

void TestOperation::paramJsonRejectsNonObjects_data()
{
    QTest::addColumn<QString>("json");
    QTest::newRow("empty") << QString();
    QTest::newRow("array") << QStringLiteral("[1,2]");
    QTest::newRow("number") << QStringLiteral("5");
    QTest::newRow("broken") << QStringLiteral("{\"a\":");
}

void TestOperation::paramJsonRejectsNonObjects()
{
    QFETCH(QString, json);
    RecordingOp op;
    op.Param()->Add("before", 1);
    QVERIFY(!op.ParseParamJson(json));
    QCOMPARE(op.Param()->Keys(), QStringList({"before"}));
}

void TestOperation::deleteLaterWithoutEventLoopDeletesAtOnce()
{
    const int destroyed = RecordingOp::s_destroyed;
    auto* op = new RecordingOp;
    op->DeleteLater();
    QCOMPARE(RecordingOp::s_destroyed, destroyed + 1);
}

void TestOperation::deleteLaterInsideEventLoopWaitsForTheLoop()
{
    const int destroyed = RecordingOp::s_destroyed;
    auto* early = new RecordingOp;
    auto* late = new RecordingOp;
    bool checkedInLoop = false;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&]() {
        late->DeleteLater();
        late->DeleteLater(); // a second request changes nothing
        checkedInLoop = RecordingOp::s_destroyed == destroyed;
        early->DeleteLater();
        delete early; // deleted by someone else before the loop comes back: no double delete
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
    });
    loop.exec();
    QVERIFY(checkedInLoop);
    QCOMPARE(RecordingOp::s_destroyed, destroyed + 2);
}

void TestOperation::deleteLaterDuringItsOwnRunWaitsForTheRunToEnd()
{
    RecordingInterceptor a(QStringLiteral("A"));
    const int destroyed = RecordingOp::s_destroyed;
    auto* op = new RecordingOp("test_self", 9);
    op->onAction = [op]() { op->DeleteLater(); };
    QCOMPARE(op->ExecuteAction(), 9);
    QVERIFY(g_calls.contains(QStringLiteral("A:After(9)"))); // the run finished first
    QCOMPARE(RecordingOp::s_destroyed, destroyed + 1);
}

QTEST_MAIN(TestOperation)
#include "tst_operation.moc"
