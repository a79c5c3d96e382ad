// The built module as the reader loads it: metadata, the plug-in object and its icon bundle.
#include "host/framework/iplugin.h"

#include <QDir>
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
        QVERIFY(!meta.value("MetaData").toObject().value("Vendor").toString().isEmpty());

        QVERIFY2(m_loader.load(), qPrintable(m_loader.errorString()));
        QVERIFY(qobject_cast<ExtensionSystem::IPlugin*>(m_loader.instance()));
    }

    void iconHasSizeAndColours_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("whiteMark"); // a white cross or arrow on the colour
        // One of each kind of icon: the others are drawn the same way in other colours.
        auto row = [](const char* file, QSize size, const char* colour, bool whiteMark) {
            QTest::newRow(file) << QString(file) << size << QColor(colour) << whiteMark;
        };
        row("arrowdown", QSize(10, 10), "#8B97AF", false);
        row("combox_down_disable", QSize(5, 5), "#D7D9DE", false);
        row("btndel_hover", QSize(13, 13), "#FB685F", true);
        row("addBtn_normal", QSize(80, 28), "#14A8F0", true);
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

    void everyIconDrawsAndGoesWithTheModule()
    {
        for (const QString& icon : QDir(":/").entryList({"*.svg"}))
            QVERIFY2(QSvgRenderer(":/" + icon).isValid(), qPrintable(icon));
        QVERIFY(QFile::exists(":/addBtn_normal.svg"));
        QVERIFY(m_loader.unload());
        QVERIFY(!QFile::exists(":/addBtn_normal.svg"));
    }

private:
    QPluginLoader m_loader;
};

QTEST_MAIN(TestPluginModule)
#include "tst_pluginmodule.moc"
