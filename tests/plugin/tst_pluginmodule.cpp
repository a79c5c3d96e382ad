// The built module as the reader loads it: metadata, the plug-in object and its icon bundle.
#include "host/framework/iplugin.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QJsonObject>
#include <QPainter>
#include <QPluginLoader>
#include <QSvgRenderer>
#include <QtTest>

// The functions run in order: loaded, icons read, unloaded.
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
        const QJsonObject custom = meta.value("MetaData").toObject();
        QCOMPARE(custom.keys(), (QStringList{"Url", "Vendor"}));
        QVERIFY(!custom.value("Url").toString().isEmpty());
        QVERIFY(!custom.value("Vendor").toString().isEmpty());

        QVERIFY2(m_loader.load(), qPrintable(m_loader.errorString()));
        QObject* object = m_loader.instance();
        auto* plugin = qobject_cast<ExtensionSystem::IPlugin*>(object);
        QVERIFY(plugin);
        QCOMPARE(object->metaObject()->className(), "StampAnnotPlugin");
        QString error;
        QVERIFY(plugin->Initialize(QStringList(), &error));
        QCOMPARE(m_loader.instance(), object);
    }

    void iconHasSizeAndColours_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("whiteMark"); // a white cross or arrow on the colour
        const QSize arrow(10, 10), del(13, 13), add(80, 28);
        auto row = [](const char* file, QSize size, const char* colour, bool whiteMark) {
            QTest::newRow(file) << QString(file) << size << QColor(colour) << whiteMark;
        };
        row("combox_down_normal", arrow, "#8B97AF", false);
        row("combox_down_normal_white", arrow, "#FFFFFF", false);
        row("arrowdown", arrow, "#8B97AF", false);
        row("arrowup", arrow, "#8B97AF", false);
        row("combox_down_disable", QSize(5, 5), "#D7D9DE", false);
        row("btndel", del, "#868E9C", true);
        row("btndel_hover", del, "#FB685F", true);
        row("btndel_pressed", del, "#E13C32", true);
        row("addBtn_normal", add, "#14A8F0", true);
        row("addBtn_hover", add, "#15B2FF", true);
        row("addBtn_click", add, "#1299D9", true);
    }
    void iconHasSizeAndColours()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QFETCH(QColor, colour);
        QFETCH(bool, whiteMark);
        QSvgRenderer renderer(":/" + file + ".svg");
        QVERIFY2(renderer.isValid(), qPrintable(file));
        QCOMPARE(renderer.defaultSize(), size);
        // Drawn large, the colour that covers most opaque pixels is the icon's colour.
        const int scale = 8;
        QImage image(size * scale, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        QHash<QRgb, int> counts;
        QRgb dominant = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (qAlpha(p) == 255 && ++counts[p] > counts.value(dominant))
                    dominant = p;
            }
        }
        QCOMPARE(QColor(dominant).name(), colour.name());
        if (whiteMark)
            QVERIFY(counts.value(qRgb(255, 255, 255)) > scale * scale);
    }

    void unloadingRemovesIcons()
    {
        QVERIFY(QFile::exists(":/addBtn_normal.svg"));
        QVERIFY(m_loader.unload());
        QVERIFY(!QFile::exists(":/addBtn_normal.svg"));
    }

private:
    QPluginLoader m_loader;
};

QTEST_MAIN(TestPluginModule)
#include "tst_pluginmodule.moc"
