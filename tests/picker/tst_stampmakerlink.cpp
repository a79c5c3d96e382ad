// The link to the stamp maker program: starting it from the picker's add menu (a stand-in
// program records its command line), the port the picker serves, the stamps the program
// reports over RPC, sent here by a real client, and the real program run from the menu.

#include "hostfixture.h"
#include "stampkit.h"

#include "host/framework/icore.h"
#include "host/rpc/rpcclient.h"
#include "picker/customstampevent.h"
#include "picker/stampdialog.h"

#include <QAction>
#include <QStandardItemModel>
#include <QTcpServer>

class TestStampMakerLink : public QObject
{
    Q_OBJECT

    std::unique_ptr<HostFixture> m_fx;
    std::unique_ptr<QWidget> m_window;
    StampDialog* m_picker = nullptr;

    QString argsFile() const { return m_fx->TempDir() + "/args.txt"; }
    // Clicks "CustomStamp" in the add menu; the command line the program got (empty when
    // it was not started).
    QStringList startMaker()
    {
        QFile::remove(argsFile());
        QProcess* running = m_picker->findChild<QProcess*>();
        m_picker->findChild<QAction*>("actionCustomStamp")->trigger();
        QProcess* started = m_picker->findChild<QProcess*>();
        if (!started || started == running ||
            !QTest::qWaitFor([this]() { return QFile::exists(argsFile()); }, 10000))
            return {};
        QFile file(argsFile());
        file.open(QIODevice::ReadOnly);
        QString lines = QString::fromUtf8(file.readAll());
        lines.chop(1); // the last line's end
        return lines.split('\n');
    }
    RpcClient::Result report(int port, const RpcWire::StringMap& params)
    {
        return RpcClient::Call("127.0.0.1", quint16(port), "stampannotserver", params, 5000);
    }

private slots:
    void initTestCase() { StampKit::InitPlugin(); }
    void init()
    {
        m_fx.reset(new HostFixture);
        const QString app = m_fx->TempDir() + "/app/";
        QVERIFY(QDir().mkpath(app));
        // A stand-in stamp maker: writes its arguments, one per line, and stays open.
        QFile maker(app + "customstamp");
        QVERIFY(maker.open(QIODevice::WriteOnly));
        maker.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + QFile::encodeName(argsFile()) +
                    ".part\"\nmv \"" + QFile::encodeName(argsFile()) + ".part\" \"" +
                    QFile::encodeName(argsFile()) + "\"\nexec sleep 60\n");
        maker.close();
        maker.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_fx->SetAppDir(app);
        QVERIFY(m_fx->OpenFile(StampKit::ContractPath()));
        m_window.reset(new QWidget);
        Core::ICore::setMainWindow(m_window.get());
        m_picker = StampDialog::Instance(m_fx->View(), CCA_GRect());
        QVERIFY(QFile::exists(CustomStampEvent::SealMakerLibraryPath()));
    }
    void cleanup()
    {
        m_window.reset(); // the picker ends the program it started
        m_fx.reset();
    }

    void startsOnceAndServesItsPort()
    {
        QTcpServer taken; // the first port tried is someone else's
        const bool holding = taken.listen(QHostAddress::LocalHost, 13751);
        const QStringList args = startMaker();
        QCOMPARE(args.size(), 3);
        QCOMPARE(args.at(0), QStringLiteral("reader"));
        QCOMPARE(args.at(2), QFileInfo(StampKit::ContractPath()).absolutePath());
        const int port = args.at(1).toInt();
        QVERIFY(port > (holding ? 13751 : 13750));
        QCOMPARE(report(port, {{"RequesType", "CustomServerPort"}, {"Port", "4000"}}).replies,
                 QStringList{"ok"});

        QCOMPARE(startMaker(), QStringList()); // still running: nothing new starts
        QTRY_VERIFY(!m_picker->isVisible());
        m_picker->findChild<QProcess*>()->kill();
        QTRY_VERIFY(!m_picker->findChild<QProcess*>());
        m_fx->CloseDocument();
        QCOMPARE(startMaker(), QStringList({"reader", QString::number(port), ""}));
    }

    void reportedStampsJoinTheCustomList_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("picture"); // "seal": the sample seal; else a path
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<bool>("added");
        QTest::newRow("a seal") << "AddCustomStamp"
                                << "seal" << QStringList{"ok"} << true;
        QTest::newRow("no picture path") << "AddCustomStamp"
                                         << "" << QStringList() << false;
        QTest::newRow("not a picture file") << "AddCustomStamp"
                                            << "/no/such/seal.png" << QStringList{"ok"} << false;
        QTest::newRow("unknown request") << "DeleteStamp"
                                         << "seal" << QStringList() << false;
    }
    void reportedStampsJoinTheCustomList()
    {
        QFETCH(QString, type);
        QFETCH(QString, picture);
        QFETCH(QStringList, replies);
        QFETCH(bool, added);
        const int port = startMaker().value(1).toInt();
        const QString path = picture == "seal" ? StampKit::SealPath() : picture;
        const auto result = report(port, {{"RequesType", type},
                                          {"ImagePath", path},
                                          {"ImageWidth", "40"},
                                          {"ImageHeight", "30"}});
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.replies, replies);
        QStandardItemModel* custom = m_picker->ListModel(StampListKind::Custom);
        QStandardItemModel* usual = m_picker->ListModel(StampListKind::Usual);
        if (added) { // delivered through the event loop, on the picker's thread
            QTRY_COMPARE(custom->rowCount(), 1);
            const StampParam entry = StampLibrary::EntryAt(custom, 0);
            QCOMPARE(entry.imageSize, QSize(40, 30));
            QCOMPARE(StampLibrary::EntryAt(usual, 0).imagePath, path);
        } else {
            QCoreApplication::processEvents();
            QCOMPARE(custom->rowCount() + usual->rowCount(), 0);
        }
        StampSelection none;
        QVERIFY(!m_picker->GetStampSelection(none)); // joins the library, places nothing
    }

    void realMakerAddsItsSeal()
    {
        // The real program in place of the stand-in, asked through its environment for a
        // blue 44 × 30 mm oval without a window; the picker's command line stays as it is.
        const QString app = m_fx->TempDir() + "/app/customstamp";
        QVERIFY(QFile::remove(app));
        QVERIFY(QFile::link(QCoreApplication::applicationDirPath() + "/customstamp", app));
        qputenv("CUSTOMSTAMP_AUTO", "text=Qinghe Press;shape=oval;colour=#0000ff;size=44x30");
        m_picker->findChild<QAction*>("actionCustomStamp")->trigger();
        qunsetenv("CUSTOMSTAMP_AUTO");
        QProcess* maker = m_picker->findChild<QProcess*>();
        QVERIFY(maker);
        QSignalSpy finished(maker, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
        QStandardItemModel* custom = m_picker->ListModel(StampListKind::Custom);
        QTRY_COMPARE_WITH_TIMEOUT(custom->rowCount(), 1, 60000);
        QVERIFY(finished.count() || finished.wait(30000));
        QCOMPARE(finished.first().at(0).toInt(), 0); // the picker answered "ok"

        const StampParam entry = StampLibrary::EntryAt(custom, 0);
        QCOMPARE(entry.imageSize, QSize(44, 30));
        // 300 dots per inch; the outline in blue at the left end of the middle line, and
        // nothing (transparent) in the corners outside the oval.
        const QImage picture(entry.imagePath);
        QCOMPARE(picture.size(), QSize(520, 355));
        const QColor edge = picture.pixelColor(5, 177), corner = picture.pixelColor(3, 3);
        QVERIFY2(edge.blue() > 200 && edge.red() < 60 && edge.alpha() > 200,
                 qPrintable(edge.name(QColor::HexArgb)));
        QCOMPARE(corner.alpha(), 0);
    }

    void missingProgramOrLibraryIsSaid()
    {
        QVERIFY(QFile::remove(m_fx->TempDir() + "/app/customstamp"));
        QCOMPARE(startMaker(), QStringList());
        QCOMPARE(m_fx->MessageBoxes().last().text,
                 QStringLiteral("Unable not find a custom stamp program!"));
    }
};

QTEST_MAIN(TestStampMakerLink)
#include "tst_stampmakerlink.moc"
