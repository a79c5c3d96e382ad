// The stamp maker: its form driven as a person would against a real RPC server, its
// non-interactive mode run the way a script would, the pictures it leaves in the user stamp
// folder, and its messages for what it cannot do.
#include "stampmakerwindow.h"

#include "host/rpc/hostrpc.h"
#include "host/utils/messageboxseam.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMutex>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
// The picker's side of the link, recording each request's fields.
class Recorder : public IServerMethod
{
public:
    void HandleRequest(const char*, IRPCParams* request, IRPCParams* reply) override
    {
        QMap<QString, QString> fields;
        for (const char* key : {"RequesType", "ImagePath", "ImageWidth", "ImageHeight", "Port"})
            fields[key] = QString::fromUtf8(request->GetMap(key)->GetString());
        QMutexLocker lock(&m_mutex);
        m_requests << fields;
        reply->AddString("ok");
    }
    QList<QMap<QString, QString>> Requests()
    {
        QMutexLocker lock(&m_mutex);
        return m_requests;
    }

private:
    QMutex m_mutex;
    QList<QMap<QString, QString>> m_requests;
};
} // namespace

class TestCustomStamp : public QObject
{
    Q_OBJECT

    QTemporaryDir m_user;

    struct Result {
        int code = -1;
        QString out, err;
    };
    // `environment`: the CUSTOMSTAMP_AUTO text, none when null.
    Result Run(const QString& program, const QStringList& args, const QString& environment)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("STAMPREADER_USER_DIR", m_user.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("CUSTOMSTAMP_AUTO");
        if (!environment.isNull())
            env.insert("CUSTOMSTAMP_AUTO", environment);
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, args);
        Result r;
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
            r.code = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }
    static QString Maker() { return QCoreApplication::applicationDirPath() + "/customstamp"; }
    QStringList Saved() const { return QDir(m_user.path() + "/stamp").entryList(QDir::Files); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_user.isValid());
        qputenv("STAMPREADER_USER_DIR", QFile::encodeName(m_user.path()));
    }
    void init() { QDir(m_user.path() + "/stamp").removeRecursively(); }

    void formSavesAndReports_data()
    {
        QTest::addColumn<bool>("listening");
        QTest::newRow("reader listening") << true;
        QTest::newRow("reader gone") << false;
    }
    void formSavesAndReports()
    {
        QFETCH(bool, listening);
        QList<Utils::Widgets::MessageBoxRequest> boxes;
        Utils::Widgets::MessageBoxSeam::SetAnswerer(
            [&boxes](const Utils::Widgets::MessageBoxRequest& request) {
                boxes << request;
                return int(QMessageBox::Ok);
            });
        Recorder picker;
        IServer* server = CreateServer();
        server->RegisterMethod("stampannotserver", &picker);
        QVERIFY(server->Listen("0"));
        const quint16 port = quint16(server->ServerPort());
        StampMakerWindow window(port);
        window.show();
        QTRY_COMPARE(picker.Requests().size(), 1); // the link is checked at once
        QCOMPARE(picker.Requests().first().value("RequesType"), "CustomServerPort");
        QCOMPARE(picker.Requests().first().value("Port"), QString::number(port));
        if (!listening) {
            DestroyServer(server);
            server = nullptr;
        }

        QTest::keyClicks(window.findChild<QLineEdit*>("arcTextEdit"), "Qinghe");
        window.findChild<QComboBox*>("shapeBox")->setCurrentIndex(1); // oval, 40 × 30 mm
        const QLabel* preview = window.findChild<QLabel*>("preview");
        QTRY_COMPARE(preview->pixmap(Qt::ReturnByValue).size(), QSize(260, 195));
        window.findChild<QDoubleSpinBox*>("heightSpin")->setValue(25);
        QTRY_COMPARE(preview->pixmap(Qt::ReturnByValue).size(), QSize(260, 163));

        QSignalSpy saved(&window, &StampMakerWindow::Saved);
        QTest::mouseClick(window.findChild<QPushButton*>("saveButton"), Qt::LeftButton);
        QTRY_COMPARE(saved.count(), 1);
        const QString path = saved.first().first().toString();
        QCOMPARE(QImage(path).size(), QSize(473, 296));
        if (listening) {
            QCOMPARE(picker.Requests().size(), 2);
            const QMap<QString, QString> report = picker.Requests().last();
            QCOMPARE(report.value("RequesType"), "AddCustomStamp");
            QCOMPARE(report.value("ImagePath"), path);
            QCOMPARE(report.value("ImageWidth"), "40");
            QCOMPARE(report.value("ImageHeight"), "25");
            QVERIFY(boxes.isEmpty());
        } else { // said, and the picture is kept
            QCOMPARE(boxes.size(), 1);
            QVERIFY2(boxes.first().text.contains("does not answer on port") &&
                         boxes.first().text.contains(path),
                     qPrintable(boxes.first().text));
        }
        Utils::Widgets::MessageBoxSeam::SetAnswerer(nullptr);
        DestroyServer(server);
    }

    // Asked on the command line (an oval asked through the environment is drawn in the
    // picker's link test).
    void drawsTheSealAsked_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QSize>("pixels"); // 300 dots per inch
        QTest::addColumn<QColor>("colour");
        QTest::newRow("options, round")
            << QStringList{"--auto", "--text", "Qinghe; Press", "--colour", "#0000ff",
                           "--size", "30"}
            << QSize(355, 355) << QColor(0, 0, 255);
        QTest::newRow("a round seal takes its width")
            << QStringList{"--auto", "--centre", "OK", "--colour", "green", "--size", "40x20"}
            << QSize(473, 473) << QColor(0, 128, 0);
    }
    void drawsTheSealAsked()
    {
        QFETCH(QStringList, args);
        QFETCH(QSize, pixels);
        QFETCH(QColor, colour);
        const Result r = Run(Maker(), args, QString());
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(Saved().size(), 1);
        QCOMPARE(r.out, m_user.path() + "/stamp/" + Saved().first());
        const QImage picture(r.out);
        QCOMPARE(picture.size(), pixels);
        // The outline at the left end of the middle line; a transparent corner.
        const QColor edge = picture.pixelColor(4, pixels.height() / 2);
        QVERIFY2(std::abs(edge.red() - colour.red()) + std::abs(edge.green() - colour.green()) +
                         std::abs(edge.blue() - colour.blue()) <
                     60,
                 qPrintable(edge.name()));
        QCOMPARE(picture.pixelColor(2, 2).alpha(), 0);
    }

    void saysWhatItCannotDo_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("saved");
        QTcpServer free;
        free.listen(QHostAddress::LocalHost);
        const QString gone = QString::number(free.serverPort());
        free.close();
        QTest::newRow("too small")
            << QStringList{"--auto", "--size", "9x20"} << QString() << 1 << "10 to 100 mm" << 0;
        QTest::newRow("empty") << QStringList{"--auto", "--no-star"} << QString() << 1
                               << "The seal is empty" << 0;
        QTest::newRow("unknown shape")
            << QStringList() << "text=A;shape=square" << 2 << "round or oval" << 0;
        QTest::newRow("unknown setting")
            << QStringList() << "font=Arial" << 2 << "Unknown setting \"font\"" << 0;
        QTest::newRow("no port") << QStringList{"reader", "abc", ""} << QString() << 2
                                 << "customstamp reader <port>" << 0;
        QTest::newRow("the reader is gone, the picture stays")
            << QStringList{"reader", gone, "", "--auto"} << QString() << 1
            << "does not answer on port " + gone << 1;
        QTest::newRow("no seal maker library")
            << QStringList{"copy", "--auto"} << QString() << 1 << "libsealmaker.so is missing" << 0;
    }
    void saysWhatItCannotDo()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, environment);
        QFETCH(int, code);
        QFETCH(QString, message);
        QFETCH(int, saved);
        QString program = Maker();
        if (args.value(0) == "copy") { // the program alone in a folder of its own
            args.removeFirst();
            program = m_user.path() + "/alone/customstamp";
            QDir().mkpath(m_user.path() + "/alone");
            QFile::remove(program);
            QVERIFY(QFile::copy(Maker(), program));
        }
        const Result r = Run(program, args, environment);
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QCOMPARE(Saved().size(), saved);
    }
};

QTEST_MAIN(TestCustomStamp)
#include "tst_customstamp.moc"
