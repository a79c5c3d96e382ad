// The reader and the stamp picker under a Chinese locale: the translations the build
// compiles are installed the way the program does it at start, and the window's and the
// picker's texts come out in Chinese.

#include "host/framework/icore.h"
#include "host/utils/nex_translations.h"
#include "hostfixture.h"
#include "mainwindow.h"
#include "picker/stampdialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>

class TestTranslations : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        const QStringList loaded = Utils::Nex_Translations::Install(qApp);
        QCOMPARE(loaded.size(), 2); // the reader's and the plug-in's
    }

    void windowTexts_data()
    {
        QTest::addColumn<QString>("name"); // of the window's child; none: the window
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QString>("text");
        QTest::newRow("title") << QString() << QByteArray("windowTitle")
                               << QString::fromUtf8("阅读器");
        QTest::newRow("menu action")
            << "actionZoomIn" << QByteArray("text") << QString::fromUtf8("放大(&I)");
        QTest::newRow("command bar")
            << "ti_stamp" << QByteArray("text") << QString::fromUtf8("印章");
    }
    void windowTexts()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, property);
        QFETCH(QString, text);
        HostFixture host;
        MainWindow window;
        QObject* item = name.isEmpty() ? &window : window.findChild<QObject*>(name);
        QVERIFY2(item, qPrintable(name));
        QCOMPARE(item->property(property.constData()).toString(), text);
    }

    void pickerTexts()
    {
        HostFixture host;
        QVERIFY(host.OpenBlank({CCA_GSize(210, 297)}));
        QWidget window;
        Core::ICore::setMainWindow(&window);
        StampDialog* picker = StampDialog::Instance(host.View(), CCA_GRect(0, 0, 10, 10));
        QCOMPARE(picker->findChild<QAbstractButton*>("BtnUsualStamp")->text(),
                 QString::fromUtf8("常用印章"));
        QCOMPARE(picker->findChild<QAbstractButton*>("ChkApplySig")->text(),
                 QString::fromUtf8("自动盖章"));
        QCOMPARE(picker->findChild<QComboBox*>("ComTBPageMar")->itemText(1),
                 QString::fromUtf8("距页面顶部"));
        Core::ICore::setMainWindow(nullptr);
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
