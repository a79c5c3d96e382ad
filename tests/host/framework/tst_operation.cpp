// Operation runs with their interceptors, the registry, and the parameter store with the
// conversions between the value kinds the plug-in and the reader mix.
#include "fakedocument.h"
#include "host/framework/g_operationinterceptor.h"
#include "host/framework/gp_changehandler.h"
#include "hostfixture.h"

#include <functional>

namespace
{

QStringList g_calls; // what happened, in order

class RecordingOp : public G_Operation
{
public:
    explicit RecordingOp(const char* name = "test_record", int result = 7, int authority = -1)
        : name(name), result(result), authority(authority)
    {
    }
    ~RecordingOp() override { ++s_destroyed; }
    G_Operation* Clone() override
    {
        auto* op = new RecordingOp(name.constData(), result);
        op->CopyFrom(this);
        return op;
    }
    const char* Name() override { return name.constData(); }
    int AuthorityType() override
    {
        return authority < 0 ? G_Operation::AuthorityType() : authority;
    }
    int DoAction() override
    {
        g_calls << QStringLiteral("DoAction");
        if (onAction)
            onAction();
        return result;
    }
    QByteArray name;
    int result, authority;
    std::function<void()> onAction;
    static int s_destroyed;
};
int RecordingOp::s_destroyed = 0;

class RecordingInterceptor : public G_OperationInterceptor
{
public:
    explicit RecordingInterceptor(const QString& tag, bool takes = true) : tag(tag), takes(takes) {}
    bool Intercepts(G_Operation*) override { return note(":Intercepts", takes); }
    bool PrepareDataHandle(G_Operation* op, bool performed) override
    {
        if (onPrepare)
            onPrepare(op);
        return note(performed ? ":Prepare(perform)" : ":Prepare(execute)", prepareResult);
    }
    bool BeforeDoActionHandle(G_Operation*) override { return note(":Before", beforeResult); }
    void AfterDoActionHandle(G_Operation* op) override
    {
        note(qPrintable(QStringLiteral(":After(%1)").arg(op->ActionResult())), true);
    }
    bool note(const char* what, bool answer)
    {
        g_calls << tag + what;
        return answer;
    }
    QString tag;
    bool takes, prepareResult = true, beforeResult = true;
    std::function<void(G_Operation*)> onPrepare;
};

} // namespace

class TestOperation : public QObject
{
    Q_OBJECT
private slots:
    void init() { g_calls.clear(); }

    void runOrder_data()
    {
        QTest::addColumn<bool>("aTakes");
        QTest::addColumn<bool>("aPrepare");
        QTest::addColumn<bool>("aBefore");
        QTest::addColumn<bool>("perform");
        QTest::addColumn<QStringList>("expected");
        const QStringList asked{"A:Intercepts", "B:Intercepts"};
        QTest::newRow("both take part, in the order they were made")
            << true << true << true << false
            << asked + QStringList{"A:Prepare(execute)", "B:Prepare(execute)", "A:Before",
                                   "B:Before",           "DoAction",           "A:After(7)",
                                   "B:After(7)"};
        QTest::newRow("one declines: it sees only Intercepts")
            << false << true << true << true
            << asked + QStringList{"B:Prepare(perform)", "B:Before", "DoAction", "B:After(7)"};
        QTest::newRow("false Prepare stops the run")
            << true << false << true << true << asked + QStringList{"A:Prepare(perform)"};
        QTest::newRow("false Before stops the run")
            << true << true << false << false
            << asked + QStringList{"A:Prepare(execute)", "B:Prepare(execute)", "A:Before"};
    }
    void runOrder()
    {
        QFETCH(bool, aTakes);
        QFETCH(bool, aPrepare);
        QFETCH(bool, aBefore);
        QFETCH(bool, perform);
        QFETCH(QStringList, expected);
        RecordingInterceptor a(QStringLiteral("A"), aTakes);
        RecordingInterceptor b(QStringLiteral("B"));
        a.prepareResult = aPrepare;
        a.beforeResult = aBefore;
        G_UIContext context; // told of runs performed as the user's, not of executed ones
        QSignalSpy performed(&context, &G_UIContext::OperationPerformed);
        RecordingOp op;
        op.SetContext(&context, nullptr);
        const int result = expected.contains("DoAction") ? 7 : 0;
        QCOMPARE(perform ? op.PerformAction() : op.ExecuteAction(), result);
        QCOMPARE(g_calls, expected);
        QCOMPARE(op.WasRun(), result != 0);
        QCOMPARE(performed.count(), int(perform && result));
        if (performed.count())
            QCOMPARE(performed[0], QVariantList({"test_record", 7}));
    }

    void interceptorsComeAndGoBetweenRuns()
    {
        const int before = G_OperationInterceptor::LiveCount();
        RecordingInterceptor a(QStringLiteral("A"));
        auto* b = new RecordingInterceptor(QStringLiteral("B"));
        // A's Prepare destroys B: B gets no further call in this run. An interceptor made
        // during the run waits for the next one.
        a.onPrepare = [&b](G_Operation*) {
            delete b;
            b = nullptr;
        };
        std::unique_ptr<RecordingInterceptor> late;
        RecordingOp op;
        op.onAction = [&late]() {
            if (!late)
                late.reset(new RecordingInterceptor(QStringLiteral("L")));
        };
        QCOMPARE(op.ExecuteAction(), 7);
        QCOMPARE(g_calls, QStringList({"A:Intercepts", "B:Intercepts", "A:Prepare(execute)",
                                       "A:Before", "DoAction", "A:After(7)"}));
        QCOMPARE(G_OperationInterceptor::LiveCount(), before + 2); // A and L
    }

    void performRefusesChangesToReadOnlyDocuments_data()
    {
        QTest::addColumn<int>("authority");
        QTest::addColumn<bool>("perform");
        QTest::addColumn<int>("expected");
        QTest::newRow("change, performed") << 2 << true << 0;
        QTest::newRow("change, executed") << 2 << false << 7;
        QTest::newRow("read only, performed") << 0 << true << 7;
    }
    void performRefusesChangesToReadOnlyDocuments()
    {
        QFETCH(int, authority);
        QFETCH(bool, perform);
        QFETCH(int, expected);
        HostFixture host;
        FakeDocument locked; // a document the reader may show but not change
        locked.readOnly = true;
        G_DocView view(host.Context(), &locked);
        RecordingOp op("test_change", 7, authority);
        op.SetContext(host.Context(), &view);
        QCOMPARE(perform ? op.PerformAction() : op.ExecuteAction(), expected);
        // A refused change tells the user why.
        QCOMPARE(host.MessageBoxes().size(), expected == 0 ? 1 : 0);
    }

    void changeHandlerMakesTheNamedToolCurrent()
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
        QCOMPARE(host.CurrentTool(), QStringLiteral("t_textselect"));
        op.Param()->Add("name", "no_such_tool");
        QCOMPARE(op.ExecuteAction(), 0);
        QCOMPARE(host.CurrentTool(), QStringLiteral("t_textselect"));
    }

    void registryFindsByNameAndForgetsDeletedPrototypes()
    {
        auto* prototype = new RecordingOp("test_registry");
        prototype->RegisterToGlobal();
        QCOMPARE(G_Operation::FindGlobal("test_registry"), prototype);
        RecordingOp later("test_registry"); // a later registration replaces the earlier
        later.RegisterToGlobal();
        QCOMPARE(G_Operation::FindGlobal("test_registry"), &later);
        prototype->RegisterToGlobal();
        delete prototype;
        QVERIFY(!G_Operation::FindGlobal("test_registry"));
        QVERIFY(!G_Operation::FindGlobal(nullptr));
    }

    void createByNameClonesAndBinds()
    {
        HostFixture host;
        QVERIFY(host.OpenBlank({CCA_GSize(210, 297)}));
        RecordingOp prototype("test_create", 5);
        prototype.Param()->Add("kept", 11);
        prototype.RegisterToGlobal();
        G_Operation* op = host.Context()->CreateOperationByName(
            "test_create", QStringLiteral("{\"extra\":\"yes\",\"kept\":12}"));
        QVERIFY(op && op != &prototype);
        QCOMPARE(op->UIContext(), host.Context());
        QCOMPARE(op->DocView(), host.View());
        // The JSON fills over the prototype's values, each key where it was.
        QCOMPARE(op->Param()->Keys(), QStringList({"kept", "extra"}));
        QCOMPARE(op->Param()->GetInt32("kept"), 12);
        QCOMPARE(op->Param()->GetQString("extra"), QStringLiteral("yes"));
        QCOMPARE(prototype.Param()->GetInt32("kept"), 11);
        QVERIFY(!host.Context()->CreateOperationByName("no_such_operation", QString()));
        const int destroyed = RecordingOp::s_destroyed;
        op->DeleteLater(); // no event loop: at once
        QCOMPARE(RecordingOp::s_destroyed, destroyed + 1);
    }

    void paramJsonRoundTrip()
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
        // The same JSON again: every value came back with its kind (an integer point
        // written as a point of floats, a size read as text, a big number cut, all differ).
        QCOMPARE(back.ListenerParamsJson(), json);
        // Faults that would cancel out on the way there and back.
        QCOMPARE(q->GetQString("text"), QStringLiteral("Grüße \"quoted\""));
        QCOMPARE(q->GetGRect("rect"), CCA_GRect(1.5f, 2.0f, 3.25f, 4.0f));
        // Anything but an object is refused and changes nothing.
        QVERIFY(!back.ParseParamJson(QStringLiteral("[1,2]")));
        QVERIFY(!back.ParseParamJson(QStringLiteral("{\"a\":")));
        QCOMPARE(q->Keys(), p->Keys());
    }

    void deleteLater()
    {
        const int destroyed = RecordingOp::s_destroyed;
        // Asked during its own run (no event loop): deleted once the run has ended.
        RecordingInterceptor a(QStringLiteral("A"));
        auto* self = new RecordingOp("test_self", 9);
        self->onAction = [self]() { self->DeleteLater(); };
        QCOMPARE(self->ExecuteAction(), 9);
        QVERIFY(g_calls.contains(QStringLiteral("A:After(9)")));
        QCOMPARE(RecordingOp::s_destroyed, destroyed + 1);
        // Inside an event loop: deleted when the loop comes back, once.
        auto* early = new RecordingOp;
        auto* late = new RecordingOp;
        bool checkedInLoop = false;
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&]() {
            late->DeleteLater();
            late->DeleteLater(); // a second request changes nothing
            checkedInLoop = RecordingOp::s_destroyed == destroyed + 1;
            early->DeleteLater();
            delete early; // deleted by someone else before the loop comes back: no double delete
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
        });
        loop.exec();
        QVERIFY(checkedInLoop);
        QCOMPARE(RecordingOp::s_destroyed, destroyed + 3);
    }

    void paramAnswers_data()
    {
        QTest::addColumn<QString>("getter");
        QTest::addColumn<QVariant>("value"); // invalid: the key is missing
        QTest::addColumn<QVariant>("fallback");
        QTest::addColumn<QVariant>("expected");
        const QVariant none;
        auto gp = [](float x, float y) { return QVariant::fromValue(CCA_GPoint(x, y)); };
        auto row = [](const char* getter, const char* name) -> QTestData& {
            return QTest::addRow("%s: %s", getter, name) << QString(getter);
        };
        row("int", "unsigned") << QVariant(17u) << QVariant(-1) << QVariant(17);
        row("int", "bool true") << QVariant(true) << QVariant(-1) << QVariant(1);
        row("int", "float cut toward zero") << QVariant(2.9f) << QVariant(-1) << QVariant(2);
        row("int", "negative double cut toward zero")
            << QVariant(-2.9) << QVariant(-1) << QVariant(-2);
        row("int", "numeric text") << QVariant(" 42 ") << QVariant(-1) << QVariant(42);
        row("int", "other text") << QVariant("abc") << QVariant(-1) << QVariant(-1);
        row("int", "too large") << QVariant(5e12) << QVariant(-1) << QVariant(-1);
        row("int", "point") << QVariant::fromValue(CCA_Point(1, 2)) << QVariant(-1) << QVariant(-1);
        row("int", "missing") << none << QVariant(-1) << QVariant(-1);
        row("bool", "int 0") << QVariant(0) << QVariant(true) << QVariant(false);
        row("bool", "int -5") << QVariant(-5) << QVariant(false) << QVariant(true);
        row("bool", "float 0.5") << QVariant(0.5f) << QVariant(false) << QVariant(true);
        row("bool", "text true") << QVariant("True") << QVariant(false) << QVariant(true);
        row("bool", "text false") << QVariant("false") << QVariant(true) << QVariant(false);
        row("bool", "text 0") << QVariant("0") << QVariant(true) << QVariant(false);
        row("bool", "unusable keeps default")
            << QVariant("maybe") << QVariant(true) << QVariant(true);
        row("bool", "missing keeps default") << none << QVariant(true) << QVariant(true);
        row("float", "double") << QVariant(500.1) << QVariant(9.0f) << QVariant(500.1f);
        row("float", "not a number") << QVariant("nan") << QVariant(9.0f) << QVariant(9.0f);
        row("float", "missing") << none << QVariant(9.0f) << QVariant(9.0f);
        row("string", "int") << QVariant(17) << none << QVariant("17");
        row("string", "point has no text") << gp(1, 2) << none << QVariant("");
        row("string", "missing") << none << none << QVariant("");
        row("point", "integer point")
            << QVariant::fromValue(CCA_Point(123, 80)) << none << gp(123, 80);
        row("point", "rectangle gives its top-left")
            << QVariant::fromValue(CCA_GRect(10, 20, 110, 60)) << none << gp(10, 20);
        row("point", "QPointF") << QVariant(QPointF(1.5, 2.5)) << none << gp(1.5f, 2.5f);
        row("point", "number is no point") << QVariant(5) << none << gp(0, 0);
        row("point", "missing") << none << none << gp(0, 0);
        row("integer point", "rounded")
            << gp(10.6f, -3.4f) << none << QVariant::fromValue(CCA_Point(11, -3));
        row("integer point", "missing") << none << none << QVariant::fromValue(CCA_Point());
        auto gs = [](float w, float h) { return QVariant::fromValue(CCA_GSize(w, h)); };
        auto gr = [](float l, float t, float r, float b) {
            return QVariant::fromValue(CCA_GRect(l, t, r, b));
        };
        row("size", "rectangle") << gr(1, 2, 41, 32) << none << gs(40, 30);
        row("size", "text") << QVariant("abc") << none << gs(0, 0);
        row("rect", "QRectF") << QVariant(QRectF(1, 2, 40, 30)) << none << gr(1, 2, 41, 32);
        row("rect", "size") << gs(40, 30) << none << gr(0, 0, 0, 0);
        row("rect", "missing") << none << none << gr(0, 0, 0, 0);
    }
    void paramAnswers()
    {
        QFETCH(QString, getter);
        QFETCH(QVariant, value);
        QFETCH(QVariant, fallback);
        QFETCH(QVariant, expected);
        G_OperationParam p;
        if (value.isValid())
            p.AddVariant(QStringLiteral("k"), value);
        if (getter == "int") {
            QCOMPARE(p.GetInt32("k", fallback.toInt()), expected.toInt());
        } else if (getter == "bool") {
            QCOMPARE(p.GetBool("k", fallback.toBool()), expected.toBool());
        } else if (getter == "float") {
            QCOMPARE(p.GetFloat("k", fallback.toFloat()), expected.toFloat());
        } else if (getter == "string") {
            QCOMPARE(p.GetQString("k"), expected.toString());
        } else if (getter == "point") {
            QCOMPARE(p.GetGPoint("k"), expected.value<CCA_GPoint>());
        } else if (getter == "integer point") {
            QCOMPARE(p.GetPoint("k"), expected.value<CCA_Point>());
        } else if (getter == "size") {
            QCOMPARE(p.GetGSize("k"), expected.value<CCA_GSize>());
        } else {
            QCOMPARE(p.GetGRect("k"), expected.value<CCA_GRect>());
        }
    }
};

QTEST_MAIN(TestOperation)
#include "tst_operation.moc"
