// The plug-in object: its entry point, what it registers, its clones, what it releases.
#include "host/framework/g_annotationhandler.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_operationinterceptor.h"
#include "host/framework/g_toolhandler.h"
#include "operations/gpi_barcodeofficialdocument.h"
#include "operations/gpi_barcodesaveimage.h"
#include "operations/gpi_invoicestampannot.h"
#include "operations/gpi_stampannot.h"
#include "placement/ga_stamp.h"
#include "placement/gpi_cancelannot.h"
#include "placement/gt_stamp.h"
#include "plugin/stampannotplugin.h"

#include <QPointer>
#include <QtTest>
#include <typeinfo>

extern "C" QObject* qt_plugin_instance();

namespace
{
QStringList added(QStringList now, const QStringList& before)
{
    for (const QString& name : before)
        now.removeOne(name);
    return now;
}
} // namespace

// The functions run in order: the entry point's object is initialised, then destroyed.
class TestStampAnnotPlugin : public QObject
{
    Q_OBJECT

private slots:
    void entryPointKeepsOneObjectWhileItLives()
    {
        QObject* first = qt_plugin_instance();
        QVERIFY(qobject_cast<ExtensionSystem::IPlugin*>(first));
        QCOMPARE(qt_plugin_instance(), first);
        QCOMPARE(first->metaObject()->className(), "StampAnnotPlugin");
        QPointer<QObject> watch(first);
        delete first;
        QVERIFY(watch.isNull());
        m_plugin = qt_plugin_instance();
        QVERIFY(m_plugin && m_plugin != watch.data());
        QCOMPARE(qt_plugin_instance(), m_plugin.data());
    }

    void destroyingBeforeInitialisingReleasesNothing()
    {
        // Never having made its components, it owns nothing to release.
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

    void initialisingRegistersInOrder()
    {
        m_namesBefore = G_Operation::GlobalNames();
        const QList<G_OperationInterceptor*> before = G_OperationInterceptor::Live();
        const QStringList tools = G_ToolHandler::GlobalNames();
        const QStringList handlers = G_AnnotationHandler::GlobalAnnotHandlerNames();
        auto* plugin = qobject_cast<ExtensionSystem::IPlugin*>(m_plugin.data());
        QString error;
        QVERIFY(plugin->Initialize(QStringList(), &error));
        plugin->InitializeComponents();
        QCOMPARE(added(G_Operation::GlobalNames(), m_namesBefore),
                 QStringList({"ti_stamp", "tp_stamp", "d_delpageannot", "d_embedpageannot",
                              "tb_barcode_officialdocument", "tb_barcode_recordsgenerated",
                              "tb_barcodeaddimage", "tb_barcodesaveimage", "d_invoiceseal"}));
        QCOMPARE(added(G_ToolHandler::GlobalNames(), tools), QStringList{"tp_stamp"});
        QVERIFY(dynamic_cast<GT_Stamp*>(G_ToolHandler::FindGlobal("tp_stamp")));
        QCOMPARE(added(G_AnnotationHandler::GlobalAnnotHandlerNames(), handlers),
                 QStringList{"StampEditHandler"});
        QVERIFY(dynamic_cast<GA_Stamp*>(
            G_AnnotationHandler::FindGlobalAnnotHandler("StampEditHandler")));
        // Interceptors run in the order they were made; the cancel one comes last and has
        // nothing pending yet.
        QStringList made;
        for (G_OperationInterceptor* interceptor : G_OperationInterceptor::Live()) {
            if (!before.contains(interceptor)) {
                m_interceptors << interceptor;
                made << typeid(*interceptor).name();
            }
        }
        QCOMPARE(
            made,
            QStringList({typeid(GPI_InvoiceStampAnnot).name(), typeid(GPI_StampAnnot).name(),
                         typeid(GPI_BarcodeOfficialDocument).name(),
                         typeid(GPI_BarcodeSaveImage).name(), typeid(GPI_CancelAnnot).name()}));
        QCOMPARE(m_interceptors.last(), CancelAnnotInstance);
        QVERIFY(!CancelAnnotInstance->PendingTool());
    }

    void cloneKeepsClassAndParameters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("changes"); // refused for documents that forbid changes
        for (const char* name : {"ti_stamp", "tp_stamp", "d_delpageannot", "d_embedpageannot",
                                 "d_invoiceseal", "tb_barcodeaddimage"})
            QTest::newRow(name) << name << true;
        for (const char* name :
             {"tb_barcodesaveimage", "tb_barcode_officialdocument", "tb_barcode_recordsgenerated"})
            QTest::newRow(name) << name << false;
    }
    void cloneKeepsClassAndParameters()
    {
        QFETCH(QString, name);
        QFETCH(bool, changes);
        G_Operation* prototype = G_Operation::FindGlobal(name.toUtf8().constData());
        QVERIFY(prototype);
        // Work on a first-generation copy so the prototype stays as the reader sees it.
        std::unique_ptr<G_Operation> source(prototype->Clone());
        source->Param()->Add("probeInt", 42);
        source->Param()->Add("probeSize", CCA_GSize(40, 30));
        std::unique_ptr<G_Operation> copy(source->Clone());
        QVERIFY(copy && copy != source);
        QCOMPARE(typeid(*copy).name(), typeid(*prototype).name());
        QCOMPARE(QString(copy->Name()), name);
        QCOMPARE(copy->AuthorityType() == 2, changes);
        QCOMPARE(copy->Param()->GetInt32("probeInt"), 42);
        QCOMPARE(copy->Param()->GetGSize("probeSize"), CCA_GSize(40, 30));
    }

    void destructorReleasesOperationsOnly()
    {
        GPI_CancelAnnot* cancel = CancelAnnotInstance;
        delete m_plugin.data();
        QCOMPARE(G_Operation::GlobalNames(), m_namesBefore);
        // Handlers and interceptors stay with the reader, but for the barcode document one.
        QVERIFY(G_ToolHandler::FindGlobal("tp_stamp"));
        QVERIFY(G_AnnotationHandler::FindGlobalAnnotHandler("StampEditHandler"));
        for (G_OperationInterceptor* interceptor : qAsConst(m_interceptors))
            QCOMPARE(G_OperationInterceptor::IsLive(interceptor),
                     interceptor != m_interceptors.at(2));
        QCOMPARE(CancelAnnotInstance, cancel);
    }

private:
    QStringList m_namesBefore;
    QList<G_OperationInterceptor*> m_interceptors; // those the plug-in made, in order
    QPointer<QObject> m_plugin;
};

QTEST_MAIN(TestStampAnnotPlugin)
#include "tst_stampannotplugin.moc"
