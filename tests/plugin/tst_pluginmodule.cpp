// The built module as the reader loads it: metadata, the plug-in object and its icon bundle.
#include "host/framework/iplugin.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonObject>
#include <QPainter>
#include <QPluginLoader>
#include <QSvgRenderer>
#include <QtTest>

// The functions run in order: loaded, then icons read and unloaded.
class TestPluginModule : public QObject
{
    Q_OBJECT

private slots:
    void metadataAndLoading()
    {
        QVERIFY2(QFile::exists(STAMPANNOT_MODULE), STAMPANNOT_MODULE);
        m_loader.setFileName(STAMPANNOT_MODULE);
        // Qt keeps plug-ins mapped by default; the reader may unload, so the test does too.
        m_loader.setLoadHints(QLibrary::LoadHints());
        QVERIFY(!QFile::exists(":/btndel.svg")); // nothing of the bundle before the library
        const QJsonObject meta = m_loader.metaData();
        QCOMPARE(meta.value("IID").toString(), QStringLiteral(StampReader_IPlugin_IID));
        QCOMPARE(meta.value("className").toString(), QStringLiteral("StampAnnotPlugin"));
        QVERIFY(!meta.value("MetaData").toObject().value("Vendor").toString().isEmpty());

        QVERIFY2(m_loader.load(), qPrintable(m_loader.errorString()));
        QVERIFY(qobject_cast<ExtensionSystem::IPlugin*>(m_loader.instance()));
    }

    void everyIconDrawsAndGoesWithTheModule()
    {
        // Their colours and sizes are the files' own; each must draw something.
        const QStringList icons = QDir(":/").entryList({"*.svg"});
        QVERIFY(icons.contains("addBtn_normal.svg"));
        for (const QString& icon : icons) {
            QSvgRenderer renderer(":/" + icon);
            QImage drawn(renderer.defaultSize() * 4, QImage::Format_ARGB32);
            drawn.fill(Qt::transparent);
            const QImage blank = drawn.copy();
            QPainter painter(&drawn);
            renderer.render(&painter);
            painter.end();
            QVERIFY2(renderer.isValid() && drawn != blank, qPrintable(icon));
        }
        QVERIFY(m_loader.unload());
        QVERIFY(!QFile::exists(":/addBtn_normal.svg"));
    }

private:
    QPluginLoader m_loader;
};

QTEST_MAIN(TestPluginModule)
#include "tst_pluginmodule.moc"
