// The reader and the stamp picker under a Chinese locale: the translations the build
// compiles are installed the way the program does it at start, and the window's and the
// picker's texts come out in Chinese, and so do those of Qt's own dialogs.

#include "host/framework/icore.h"
#include "host/utils/nex_translations.h"
#include "hostfixture.h"
#include "mainwindow.h"
#include "picker/stampdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>

namespace
{
QString textOf(QObject* parent, const char* name)
{
    QObject* item = parent->findChild<QObject*>(QString::fromLatin1(name));
    return item ? item->property("text").toString() : QStringLiteral("(no %1)").arg(name);
}
} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        const QStringList loaded = Utils::Nex_Translations::Install(qApp);
        QCOMPARE(loaded.size(), 3); // the reader's, the plug-in's and Qt's
    }

    void readerAndQtTexts()
    {
        HostFixture host;
        MainWindow window;
        QCOMPARE(window.windowTitle(), QString::fromUtf8("阅读器"));
        QCOMPARE(textOf(&window, "actionZoomIn"), QString::fromUtf8("放大(&I)"));
        QCOMPARE(textOf(&window, "ti_stamp"), QString::fromUtf8("印章")); // command bar
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);               // Qt's own
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("取消"));
    }

    void pickerTexts()
    {
        HostFixture host;
        QVERIFY(host.OpenBlank({CCA_GSize(210, 297)}));
        QWidget window;
        Core::ICore::setMainWindow(&window);
        StampDialog* picker = StampDialog::Instance(host.View(), CCA_GRect(0, 0, 10, 10));
        QCOMPARE(textOf(picker, "BtnUsualStamp"), QString::fromUtf8("常用印章"));
        QCOMPARE(textOf(picker, "ChkApplySig"), QString::fromUtf8("自动盖章"));
        QCOMPARE(picker->findChild<QComboBox*>("ComTBPageMar")->itemText(1),
                 QString::fromUtf8("距页面顶部"));
        Core::ICore::setMainWindow(nullptr);
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
