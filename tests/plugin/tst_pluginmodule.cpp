// The built module as the reader loads it: Qt plug-in metadata, the plug-in object, and
// the icon bundle that comes with the library (sizes and colours of every icon).

#include "host/framework/iplugin.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QJsonObject>
#include <QPainter>
#include <QPluginLoader>
#include <QSvgRenderer>
#include <QtTest>

class TestPluginModule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void metadataNamesClassVendorAndSite();
    void loadsAsReaderPlugin();
    void iconHasSizeAndColours_data();
    void iconHasSizeAndColours();
    void unloadingRemovesIcons();

private:
    QPluginLoader m_loader;
};

void TestPluginModule::initTestCase()
{
    QVERIFY2(QFile::exists(STAMPANNOT_MODULE), STAMPANNOT_MODULE);
    m_loader.setFileName(STAMPANNOT_MODULE);
    // Qt keeps plug-ins mapped by default; the reader may unload, so the test does too.
    m_loader.setLoadHints(QLibrary::LoadHints());
    // Nothing of the bundle exists before the library is there.
    QVERIFY(!QFile::exists(":/btndel.svg"));
}

void TestPluginModule::metadataNamesClassVendorAndSite()
{
    const QJsonObject meta = m_loader.metaData();
    QCOMPARE(meta.value("IID").toString(), QStringLiteral(StampReader_IPlugin_IID));
    QCOMPARE(meta.value("className").toString(), QStringLiteral("StampAnnotPlugin"));
    const QJsonObject custom = meta.value("MetaData").toObject();
    QVERIFY(!custom.value("Url").toString().isEmpty());
    QVERIFY(!custom.value("Vendor").toString().isEmpty());
    QCOMPARE(custom.keys(), (QStringList{"Url", "Vendor"}));
}

void TestPluginModule::loadsAsReaderPlugin()
{
    QVERIFY2(m_loader.load(), qPrintable(m_loader.errorString()));
    QObject* object = m_loader.instance();
    QVERIFY(object);
    QCOMPARE(object->metaObject()->className(), "StampAnnotPlugin");
    auto* plugin = qobject_cast<ExtensionSystem::IPlugin*>(object);
    QVERIFY(plugin);
    QString error;
    QVERIFY(plugin->Initialize(QStringList(), &error));
    QCOMPARE(m_loader.instance(), object);
}

void TestPluginModule::iconHasSizeAndColours_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("whiteMark"); // a white cross or arrow on the colour

    const QSize arrow(10, 10);
    QTest::newRow("combox_down_normal")
        << "combox_down_normal.svg" << arrow << QColor("#8B97AF") << false;
    QTest::newRow("combox_down_normal_white")
        << "combox_down_normal_white.svg" << arrow << QColor("#FFFFFF") << false;
    QTest::newRow("arrowdown") << "arrowdown.svg" << arrow << QColor("#8B97AF") << false;
    QTest::newRow("arrowup") << "arrowup.svg" << arrow << QColor("#8B97AF") << false;
    QTest::newRow("combox_down_disable")
        << "combox_down_disable.svg" << QSize(5, 5) << QColor("#D7D9DE") << false;
    const QSize del(13, 13);
    QTest::newRow("btndel") << "btndel.svg" << del << QColor("#868E9C") << true;
    QTest::newRow("btndel_hover") << "btndel_hover.svg" << del << QColor("#FB685F") << true;
    QTest::newRow("btndel_pressed") << "btndel_pressed.svg" << del << QColor("#E13C32") << true;
    const QSize add(80, 28);
    QTest::newRow("addBtn_normal") << "addBtn_normal.svg" << add << QColor("#14A8F0") << true;
    QTest::newRow("addBtn_hover") << "addBtn_hover.svg" << add << QColor("#15B2FF") << true;
    QTest::newRow("addBtn_click") << "addBtn_click.svg" << add << QColor("#1299D9") << true;
}

void TestPluginModule::iconHasSizeAndColours()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(QColor, colour);
    QFETCH(bool, whiteMark);

    QSvgRenderer renderer(":/" + file);
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
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 255)
                ++counts[p];
        }
    }
    QVERIFY(!counts.isEmpty());
    QRgb dominant = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            dominant = it.key();
        }
    }
    QCOMPARE(QColor(dominant).name(), colour.name());
    if (whiteMark)
        QVERIFY(counts.value(qRgb(255, 255, 255)) > scale * scale);
}

void TestPluginModule::unloadingRemovesIcons()
{
    QVERIFY(QFile::exists(":/addBtn_normal.svg"));
    QVERIFY(m_loader.unload());
    QVERIFY(!QFile::exists(":/addBtn_normal.svg"));
}

QTEST_MAIN(TestPluginModule)
#include "tst_pluginmodule.moc"
