// The plug-in object: the guarded Qt entry point, what InitializeComponents makes known to
// the reader, the operation prototypes' clones, and what the destructor releases.

#include "host/framework/g_annotationhandler.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_operationinterceptor.h"
#include "host/framework/g_toolhandler.h"
#include "placement/ga_stamp.h"
#include "placement/gp_stamp.h"
#include "placement/gpi_cancelannot.h"
#include "placement/gt_stamp.h"
#include "plugin/stampannotplugin.h"

#include <QPointer>
#include <QSet>
#include <QtTest>
#include <typeinfo>

extern "C" QObject* qt_plugin_instance();

namespace
{
const QStringList kOperations = {
    "ti_stamp",
    "tp_stamp",
    "d_delpageannot",
    "d_embedpageannot",
    "tb_barcode_officialdocument",
    "tb_barcode_recordsgenerated",
    "tb_barcodeaddimage",
    "tb_barcodesaveimage",
    "d_invoiceseal",
};
}

class TestStampAnnotPlugin : public QObject
{
    Q_OBJECT

private slots:
    void entryPointKeepsOneObjectWhileItLives();
    void destroyingBeforeInitialisingReleasesNothing();
    void initialisingRegistersOperationsInOrder();
    void initialisingRegistersToolAndAnnotationHandler();
    void initialisingArmsNoCancelInterceptor();
    void cloneKeepsClassAndParameters_data();
    void cloneKeepsClassAndParameters();
    void stampCloneNamesItsTool();
    void destructorReleasesOperationsOnly();

private:
    QStringList m_namesBefore;
    QStringList m_toolsBefore;
    QStringList m_annotHandlersBefore;
    QPointer<QObject> m_plugin;
};

void TestStampAnnotPlugin::entryPointKeepsOneObjectWhileItLives()
{
    QObject* first = qt_plugin_instance();
    QVERIFY(first);
    QCOMPARE(qt_plugin_instance(), first);
    QVERIFY(qobject_cast<ExtensionSystem::IPlugin*>(first));
    QCOMPARE(first->metaObject()->className(), "StampAnnotPlugin");

    QPointer<QObject> watch(first);
    delete first;
    QVERIFY(watch.isNull());
    QObject* second = qt_plugin_instance();
    QVERIFY(second);
    QVERIFY(second != watch.data());
    QCOMPARE(qt_plugin_instance(), second);
    m_plugin = second;
}

void TestStampAnnotPlugin::destroyingBeforeInitialisingReleasesNothing()
{
    // A plug-in object that never initialised owns nothing; its destruction must leave
    // the registries as they are (and not touch freed or null objects).
    const QStringList ops = G_Operation::GlobalNames();
    const int interceptors = G_OperationInterceptor::LiveCount();
    auto* plugin = new StampAnnotPlugin;
    QString error;
    QVERIFY(plugin->Initialize(QStringList(), &error));
    delete plugin;
    QCOMPARE(G_Operation::GlobalNames(), ops);
    QCOMPARE(G_OperationInterceptor::LiveCount(), interceptors);
    QVERIFY(!CancelAnnotInstance);
}

void TestStampAnnotPlugin::initialisingRegistersOperationsInOrder()
{
    m_namesBefore = G_Operation::GlobalNames();
    m_toolsBefore = G_ToolHandler::GlobalNames();
    m_annotHandlersBefore = G_AnnotationHandler::GlobalAnnotHandlerNames();
    auto* plugin = qobject_cast<ExtensionSystem::IPlugin*>(m_plugin.data());
    QVERIFY(plugin);
    QString error;
    QVERIFY(plugin->Initialize(QStringList(), &error));
    plugin->InitializeComponents();

    QStringList added = G_Operation::GlobalNames();
    for (const QString& name : qAsConst(m_namesBefore))
        added.removeOne(name);
    QCOMPARE(added, kOperations);
}

void TestStampAnnotPlugin::initialisingRegistersToolAndAnnotationHandler()
{
    QStringList tools = G_ToolHandler::GlobalNames();
    for (const QString& name : qAsConst(m_toolsBefore))
        tools.removeOne(name);
    QCOMPARE(tools, QStringList{"tp_stamp"});
    QVERIFY(dynamic_cast<GT_Stamp*>(G_ToolHandler::FindGlobal("tp_stamp")));

    QStringList handlers = G_AnnotationHandler::GlobalAnnotHandlerNames();
    for (const QString& name : qAsConst(m_annotHandlersBefore))
        handlers.removeOne(name);
    QCOMPARE(handlers, QStringList{"StampEditHandler"});
    QVERIFY(
        dynamic_cast<GA_Stamp*>(G_AnnotationHandler::FindGlobalAnnotHandler("StampEditHandler")));
}

void TestStampAnnotPlugin::initialisingArmsNoCancelInterceptor()
{
    QVERIFY(CancelAnnotInstance);
    QVERIFY(G_OperationInterceptor::IsLive(CancelAnnotInstance));
    QVERIFY(!CancelAnnotInstance->PendingTool());
    QVERIFY(G_OperationInterceptor::Live().contains(CancelAnnotInstance));
}

void TestStampAnnotPlugin::cloneKeepsClassAndParameters_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("authority");
    const int base = [] {
        struct Plain : G_Operation {
            G_Operation* Clone() override { return nullptr; }
            const char* Name() override { return "plain"; }
            int DoAction() override { return 0; }
        } plain;
        return plain.AuthorityType();
    }();
    QTest::newRow("ti_stamp") << "ti_stamp" << 2;
    QTest::newRow("tp_stamp") << "tp_stamp" << 2;
    QTest::newRow("d_delpageannot") << "d_delpageannot" << 2;
    QTest::newRow("d_embedpageannot") << "d_embedpageannot" << 2;
    QTest::newRow("d_invoiceseal") << "d_invoiceseal" << 2;
    QTest::newRow("tb_barcodeaddimage") << "tb_barcodeaddimage" << 2;
    QTest::newRow("tb_barcodesaveimage") << "tb_barcodesaveimage" << base;
    QTest::newRow("tb_barcode_officialdocument") << "tb_barcode_officialdocument" << base;
    QTest::newRow("tb_barcode_recordsgenerated") << "tb_barcode_recordsgenerated" << base;
}

void TestStampAnnotPlugin::cloneKeepsClassAndParameters()
{
    QFETCH(QString, name);
    QFETCH(int, authority);
    G_Operation* prototype = G_Operation::FindGlobal(name.toUtf8().constData());
    QVERIFY(prototype);

    // Work on a first-generation copy so the prototype stays as the reader sees it.
    G_Operation* source = prototype->Clone();
    QVERIFY(source);
    source->Param()->Add("probeInt", 42);
    source->Param()->Add("probeText", QStringLiteral("seal"));
    source->Param()->Add("probeSize", CCA_GSize(40, 30));

    G_Operation* copy = source->Clone();
    QVERIFY(copy);
    QVERIFY(copy != source);
    QCOMPARE(typeid(*copy).name(), typeid(*prototype).name());
    QCOMPARE(QString(copy->Name()), name);
    QCOMPARE(copy->AuthorityType(), authority);
    QCOMPARE(copy->Param()->GetInt32("probeInt"), 42);
    QCOMPARE(copy->Param()->GetQString("probeText"), QStringLiteral("seal"));
    QCOMPARE(copy->Param()->GetGSize("probeSize"), CCA_GSize(40, 30));
    delete copy;
    delete source;
}

void TestStampAnnotPlugin::stampCloneNamesItsTool()
{
    GP_Stamp stamp;
    QCOMPARE(stamp.Param()->GetQString("name"), QStringLiteral("tp_stamp"));
    // Even when the operation cloned has lost its tool name, the clone has it.
    stamp.Param()->Remove("name");
    G_Operation* copy = stamp.Clone();
    QCOMPARE(copy->Param()->GetQString("name"), QStringLiteral("tp_stamp"));
    delete copy;
}

void TestStampAnnotPlugin::destructorReleasesOperationsOnly()
{
    QVERIFY(m_plugin);
    GPI_CancelAnnot* cancel = CancelAnnotInstance;
    delete m_plugin.data();

    QCOMPARE(G_Operation::GlobalNames(), m_namesBefore);
    // Handlers and interceptors stay with the reader.
    QVERIFY(G_ToolHandler::FindGlobal("tp_stamp"));
    QVERIFY(G_AnnotationHandler::FindGlobalAnnotHandler("StampEditHandler"));
    QVERIFY(G_OperationInterceptor::IsLive(cancel));
    QCOMPARE(CancelAnnotInstance, cancel);
}

QTEST_MAIN(TestStampAnnotPlugin)
#include "tst_stampannotplugin.moc"
