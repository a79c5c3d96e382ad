// The stamp picker as a person uses it: the reader's Stamp command opens it under the
// button, a click on a stamp places it by hand or at the page margins, closing it brings
// the previous tool back, and the panel and lists are kept in "stamps.ini".

#include "hostfixture.h"
#include "stampkit.h"

#include "host/framework/icore.h"
#include "picker/listwdelegate.h"
#include "picker/stampdialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QSettings>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTimer>
#include <QToolTip>
#include <functional>

namespace
{

const CCA_GRect kButton(100, 40, 180, 70); // the Stamp button, screen pixels

template <typename T> T* child(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QString::fromLatin1(name));
}

void savePicture(const QString& path, const QSize& pixels)
{
    QImage image(pixels, QImage::Format_ARGB32);
    image.fill(QColor(200, 20, 20, 220));
    QVERIFY(image.save(path));
}

void clickRow(StampDialog* picker, const char* list, int row, bool onDeleteBox = false)
{
    QListView* view = child<QListView>(picker, list);
    const QRect cell = view->visualRect(view->model()->index(row, 0));
    const QPoint at = onDeleteBox ? ListWDelegate::DeleteBox(cell).center() : cell.center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

} // namespace

class TestStampDialog : public QObject
{
    Q_OBJECT

    // Runs "ti_stamp" as the Stamp button does; `act` works the picker once it shows.
    int runStamp(const std::function<void(StampDialog*)>& act);
    QString standardSeal() const { return m_fx->TempDir() + "/app/stamps/seal.png"; }
    QString iniPath() const { return m_fx->TempDir() + "/user/stamps.ini"; }

    std::unique_ptr<HostFixture> m_fx;
    std::unique_ptr<QWidget> m_window;

private slots:
    void initTestCase() { StampKit::InitPlugin(); }
    void init()
    {
        m_fx.reset(new HostFixture);
        QVERIFY(QDir().mkpath(m_fx->TempDir() + "/app/stamps"));
        savePicture(standardSeal(), QSize(114, 86)); // 40 × 30 mm, one point per pixel
        m_fx->SetAppDir(m_fx->TempDir() + "/app");
        QVERIFY(m_fx->OpenBlank({CCA_GSize(210, 297), CCA_GSize(210, 297)}));
        m_window.reset(new QWidget);
        Core::ICore::setMainWindow(m_window.get());
    }
    void cleanup()
    {
        m_window.reset(); // takes the picker with it, which writes "stamps.ini"
        QVERIFY(!StampDialog::Existing());
        m_fx.reset();
    }
    void clickPlacesByHandAndTopsTheUsualList()
    {
        runStamp([&](StampDialog* picker) {
            // No usual stamps yet: the standard tab.
            QCOMPARE(child<QStackedWidget>(picker, "stackedWidget")->currentIndex(), 1);
            clickRow(picker, "ListVStandard", 0);
        });
        QCOMPARE(m_fx->CurrentTool(), QStringLiteral("tp_stamp"));
        QVERIFY(StampKit::Pending(m_fx->View())); // where: the placement's suite
        QStandardItemModel* usual = StampDialog::Existing()->ListModel(StampListKind::Usual);
        QCOMPARE(usual->rowCount(), 1);
        QCOMPARE(StampLibrary::EntryAt(usual, 0).imagePath, standardSeal());

        runStamp([](StampDialog* picker) {
            QCOMPARE(child<QStackedWidget>(picker, "stackedWidget")->currentIndex(), 0);
            picker->close();
        });
    }
    void autoStampGoesToTheMargins()
    {
        runStamp([](StampDialog* picker) {
            child<QCheckBox>(picker, "ChkApplySig")->setChecked(true);
            QVERIFY(child<QWidget>(picker, "WidPageMar")->isVisible());
            child<QLineEdit>(picker, "LiedLRPageMar")->setText("10");
            child<QLineEdit>(picker, "LiedTBPageMar")->setText("20");
            clickRow(picker, "ListVStandard", 0);
        });
        // 10 mm from the right and 20 mm from the bottom of the A4 page, without the mouse.
        IG_Page* page = m_fx->View()->Page(0);
        QCOMPARE(page->AnnotCount(), 1);
        QCOMPARE(page->AnnotAt(0)->GetRect(), CCA_GRect(160, 247, 200, 277));
        QVERIFY(!page->AnnotAt(0)->IsRunTime());
        QCOMPARE(m_fx->Context()->CommandBarSelection(), QStringLiteral("t_handtool"));
        QSettings ini(iniPath(), QSettings::IniFormat);
        QCOMPARE(ini.value("pageinfo/pageinfo.stamplrpage").toString(), QStringLiteral("10"));
        QCOMPARE(ini.value("pageinfo/pageinfo.stamptbpage").toString(), QStringLiteral("20"));
    }
    void marginsAreCheckedAgainstTheLastPage()
    {
        QVERIFY(m_fx->OpenBlank({CCA_GSize(297, 420), CCA_GSize(210, 297)}));
        runStamp([](StampDialog* picker) {
            child<QCheckBox>(picker, "ChkApplySig")->setChecked(true);
            QLineEdit* lr = child<QLineEdit>(picker, "LiedLRPageMar");
            QWidget* lists = child<QWidget>(picker, "stackedWidget");
            lr->clear();
            QTest::keyClicks(lr, "2a10"); // letters are refused; 210 mm still fits
            QCOMPARE(lr->text(), QStringLiteral("210"));
            QVERIFY(!lr->styleSheet().contains("red"));
            QTest::keyClick(lr, Qt::Key_1);
            QVERIFY(lr->styleSheet().contains("red"));
            QCOMPARE(QToolTip::text(), QStringLiteral("Margins must not exceed the page range"));
            QVERIFY(!lists->isEnabled());
            QTest::keyClick(lr, Qt::Key_Backspace);
            QVERIFY(!lr->styleSheet().contains("red"));
            QVERIFY(lists->isEnabled());
            picker->close();
        });
    }
    void signingAnUnwritableFileWarnsAndStampsNothing()
    {
        const QString copy = m_fx->TempDir() + "/contract.pdf";
        QVERIFY(QFile::copy(StampKit::ContractPath(), copy));
        QVERIFY(m_fx->OpenFile(copy));
        QVERIFY(QFile::remove(copy)); // moved away by another program
        QCheckBox* sign = nullptr;
        runStamp([&](StampDialog* picker) {
            sign = child<QCheckBox>(picker, "ApplyDigitalSignatureBox");
            sign->setChecked(true);
            clickRow(picker, "ListVStandard", 0);
        });
        QVERIFY(!sign->isChecked());
        const auto boxes = m_fx->MessageBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first().kind, int(Utils::Widgets::MessageBoxRequest::Warning));
        QCOMPARE(boxes.first().title, QStringLiteral("Warring"));
        QVERIFY(boxes.first().text.startsWith("This file is read-only or occupied"));
        QVERIFY(!StampKit::Pending(m_fx->View()));
        QCOMPARE(m_fx->View()->Page(0)->AnnotCount() + m_fx->Document()->IsModified(), 0);
    }
    void deleteBoxOnlyDeletesCustomStamps_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<bool>("deletes");
        QTest::newRow("custom") << "ListVCustom" << true;
        QTest::newRow("usual, the same picture") << "ListVUsual" << false;
    }
    void deleteBoxOnlyDeletesCustomStamps()
    {
        QFETCH(QString, list);
        QFETCH(bool, deletes);
        const QString custom = m_fx->TempDir() + "/user/stamp/19_01_01_00_00_00_logo.png";
        QVERIFY(QDir().mkpath(QFileInfo(custom).path()));
        savePicture(custom, QSize(60, 60));
        {
            QSettings ini(iniPath(), QSettings::IniFormat);
            ini.setValue("list/list.usualpath", custom);
            ini.setValue("list/list.usualsize", "20,20");
            ini.setValue("list/list.custompath", custom);
            ini.setValue("list/list.customsize", "20,20");
        }
        runStamp([&](StampDialog* picker) {
            const int page = list == "ListVCustom" ? 2 : 0;
            child<QStackedWidget>(picker, "stackedWidget")->setCurrentIndex(page);
            clickRow(picker, list.toLatin1().constData(), 0, true);
            if (picker->isVisible()) // a deletion leaves the picker open
                picker->close();
        });
        const StampDialog* picker = StampDialog::Existing();
        QCOMPARE(picker->ListModel(StampListKind::Custom)->rowCount(), deletes ? 0 : 1);
        QCOMPARE(bool(StampKit::Pending(m_fx->View())), !deletes); // the others were chosen
    }
    void teardownKeepsListsAndResetsThePanel()
    {
        {
            QSettings ini(iniPath(), QSettings::IniFormat);
            ini.setValue("usualPath", standardSeal()); // an older version's keys
            ini.setValue("usualSize", "40,30");
            ini.setValue("pageinfo/pageinfo.invodirectionlr", 1);
        }
        runStamp([](StampDialog* picker) {
            child<QCheckBox>(picker, "ApplyDigitalSignatureBox")->setChecked(true);
            child<QLineEdit>(picker, "LiedLRPageMar")->setText("15");
            picker->close();
        });
        m_window.reset();
        QSettings ini(iniPath(), QSettings::IniFormat);
        for (const char* older : {"usualPath", "usualSize", "pageinfo/pageinfo.invodirectionlr"})
            QVERIFY2(!ini.contains(older), older);
        QCOMPARE(ini.value("list/list.usualpath").toString(), standardSeal());
        QCOMPARE(ini.value("pageinfo/pageinfo.stamplrpage").toString(), QStringLiteral("0"));
        QCOMPARE(ini.value("pageinfo/pageinfo.stampdirectionlr").toString(), QStringLiteral("0"));
        QCOMPARE(ini.value("stamp/stamp.applysign").toInt(), 2);
    }
    void interfaceConfigHidesSigning()
    {
        for (const bool show : {false, true}) { // the file is read again once it changes
            QSettings config(m_fx->TempDir() + "/config/uiconfig.ini", QSettings::IniFormat);
            config.setValue("stamp/stamp.applysignature.show", show ? "true" : "false");
            config.sync();
            runStamp([show](StampDialog* picker) {
                QCOMPARE(child<QCheckBox>(picker, "ApplyDigitalSignatureBox")->isVisible(), show);
                picker->close();
            });
        }
    }
    void aPictureSpoiledSinceItsLastUseIsRefused()
    {
        // Chosen by file, as the batch command and the stamp maker choose.
        auto stampAtTheMargins = [this] {
            runStamp([this](StampDialog* picker) {
                child<QCheckBox>(picker, "ChkApplySig")->setChecked(true);
                picker->SelectStampFile(standardSeal(), QSize(40, 30));
            });
        };
        stampAtTheMargins();
        IG_Page* page = m_fx->View()->Page(0);
        QCOMPARE(page->AnnotCount(), 1);
        QFile spoiled(standardSeal());
        QVERIFY(spoiled.open(QIODevice::WriteOnly | QIODevice::Truncate));
        spoiled.write("no longer a picture");
        spoiled.close();
        stampAtTheMargins();
        QCOMPARE(page->AnnotCount(), 1);
    }
};

int TestStampDialog::runStamp(const std::function<void(StampDialog*)>& act)
{
    QPointer<QTimer> poll = new QTimer;
    poll->setInterval(0);
    connect(poll, &QTimer::timeout, poll, [poll, act]() {
        StampDialog* picker = StampDialog::Existing();
        if (!picker || !picker->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(picker);
        if (QTest::currentTestFailed()) // a failed check must not leave the run waiting
            picker->close();
    });
    poll->start();
    const int result = m_fx->Run("ti_stamp", {{"position", QVariant::fromValue(kButton)}});
    delete poll; // a picker that never showed leaves it behind
    return result;
}

QTEST_MAIN(TestStampDialog)
#include "tst_stampdialog.moc"
