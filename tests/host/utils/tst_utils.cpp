// The utility library: folders, DPI scaling, dialogs, popups, message boxes and file dialogs
// with the seams that answer them.
#include "host/utils/filedialogseam.h"
#include "host/utils/messageboxseam.h"
#include "host/utils/nex_dialog.h"
#include "host/utils/nex_dpi.h"
#include "host/utils/nex_filedialog.h"
#include "host/utils/nex_messagebox.h"
#include "host/utils/nex_path.h"
#include "host/utils/nex_popup.h"
#include "host/utils/nex_shadow.h"
#include "host/utils/nex_style.h"
#include "host/utils/popupseam.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace Utils;
using namespace Utils::Widgets;

class TestUtils : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        DPI::Nex_Mgr::Instance().SetScale(0);
        qunsetenv("STAMPREADER_DPI_SCALE");
        MessageBoxSeam::SetAnswerer(nullptr);
        MessageBoxSeam::Clear();
        FileDialogSeam::Clear();
    }

    void foldersFollowTheEnvironment_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<bool>("set");
        for (const char* name : {"USER", "APP", "CONFIG", "TEMP"})
            QTest::addRow("%s", name) << "STAMPREADER_" + QByteArray(name) + "_DIR" << true;
        QTest::newRow("app, not set: the program's folder")
            << QByteArray("STAMPREADER_APP_DIR") << false;
    }
    void foldersFollowTheEnvironment()
    {
        QFETCH(QByteArray, variable);
        QFETCH(bool, set);
        QTemporaryDir dir;
        const QString target = set ? dir.path() + QStringLiteral("/not yet/there")
                                   : QCoreApplication::applicationDirPath();
        if (set)
            qputenv(variable.constData(), QFile::encodeName(target));
        else
            qunsetenv(variable.constData());
        auto ask = [&variable] {
            return variable.contains("USER")     ? Nex_Path::UserPath()
                   : variable.contains("APP")    ? Nex_Path::AppPath()
                   : variable.contains("CONFIG") ? Nex_Path::AppConfigsPath()
                                                 : Nex_Path::TempPath();
        };
        const QString got = ask();
        QCOMPARE(got, target + QLatin1Char('/'));
        QVERIFY(QFileInfo(target).isDir()); // made on first use
        if (set) {                          // and again once it is gone
            QVERIFY(QDir(target).removeRecursively());
            QCOMPARE(ask(), got);
            QVERIFY(QFileInfo(target).isDir());
        }
        qunsetenv(variable.constData());
    }

    void dpiScaleFromEnvironmentOrOverride()
    {
        qputenv("STAMPREADER_DPI_SCALE", "1.5");
        QCOMPARE(DPI::Nex_Mgr::Instance().Scale(), 1.5f);
        Nex_Dialog dialog;
        dialog.resize(200, 100);
        dialog.ScaleDialog(true, QStringLiteral("QLabel{font-size:10px;}"));
        QCOMPARE(dialog.size(), QSize(300, 150));
        QCOMPARE(dialog.styleSheet(), QStringLiteral("QLabel{font-size:15px;}"));
        // Popups and dialogs carry the shadow, scaled, as the margin around their contents.
        Nex_Popup popup;
        Nex_Shadow* shadow = popup.findChild<Nex_Shadow*>();
        QVERIFY(shadow);
        QCOMPARE(popup.contentsMargins(), QMargins(12, 12, 12, 12));
        popup.resize(200, 100);
        popup.show();
        QCOMPARE(shadow->geometry(), QRect(0, 0, 200, 100));
        popup.hide();
        DPI::Nex_Mgr::Instance().SetScale(2.0f);
        QCOMPARE(DPI::Nex_Mgr::Instance().Scale(), 2.0f); // an override wins
        qputenv("STAMPREADER_DPI_SCALE", "1.25");
        DPI::Nex_Mgr::Instance().SetScale(0); // back to the environment, read again
        QCOMPARE(DPI::Nex_Mgr::Instance().Scale(), 1.25f);
    }

    void styleSheetPixelsAreScaled_data()
    {
        QTest::addColumn<float>("scale");
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, float scale, const char* sheet, const char* expected) {
            QTest::newRow(name) << scale << QString(sheet) << QString(expected);
        };
        row("rounded", 1.5f, "border:1px solid #8B97AF; font-size:13px;",
            "border:2px solid #8B97AF; font-size:20px;");
        row("hairline stays", 0.25f, "border:1px;", "border:1px;");
        row("zero stays zero", 2, "margin:0px;", "margin:0px;");
        row("fractions", 2, "padding:2.5px 3px;", "padding:5px 6px;");
        row("other units kept", 2, "width:50%; font:10pt;", "width:50%; font:10pt;");
    }
    void styleSheetPixelsAreScaled()
    {
        QFETCH(float, scale);
        QFETCH(QString, sheet);
        QFETCH(QString, expected);
        DPI::Nex_Mgr::Instance().SetScale(scale);
        QCOMPARE(DPI::Nex_Util::ScaleStyleSheet(sheet), expected);
    }

    void messageBoxIsAnsweredByClicking_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("rightRenamed"); // −1 no; 0 it closes; 1 it accepts
        QTest::addColumn<int>("click");        // −1: the right button
        QTest::addColumn<int>("expected");
        const int ok = QMessageBox::Ok, yes = QMessageBox::Yes, cancel = QMessageBox::Cancel;
        QTest::newRow("OK alone") << 0 << -1 << ok << ok;
        QTest::newRow("yes of yes/no") << int(yes | QMessageBox::No) << -1 << yes << yes;
        QTest::newRow("cancel of ok/cancel") << int(ok | cancel) << -1 << cancel << cancel;
        QTest::newRow("renamed right button closes") << 0 << 0 << -1 << int(QMessageBox::Close);
        QTest::newRow("renamed right button accepts") << 0 << 1 << -1 << ok;
    }
    void messageBoxIsAnsweredByClicking()
    {
        QFETCH(int, buttons);
        QFETCH(int, rightRenamed);
        QFETCH(int, click);
        QFETCH(int, expected);
        // Shown by the static Show unless a button is renamed.
        const MessageBoxRequest request{
            MessageBoxRequest::Warning, "Title", "Something to say", QString(), buttons, -1, {}};
        Nex_MessageBox box;
        box.SetTitle(request.kind, request.title);
        box.SetContent(request.text, QStringLiteral("Detail"));
        box.setTextOfRightBtn(QStringLiteral("Got it"), rightRenamed == 1);
        QString seenText;
        QTimer::singleShot(0, this, [&]() {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            seenText = modal->findChild<QLabel*>(QStringLiteral("msgBoxText"))->text();
            auto* button =
                click < 0
                    ? box.rightBtn()
                    : modal->findChild<QPushButton*>(QStringLiteral("msgBoxBtn_%1").arg(click));
            QVERIFY(button);
            QTest::mouseClick(button, Qt::LeftButton);
        });
        QCOMPARE(rightRenamed < 0 ? Nex_MessageBox::Show(nullptr, request) : box.exec(), expected);
        QCOMPARE(seenText, request.text);
        QCOMPARE(MessageBoxSeam::History().size(), 1); // shown boxes are recorded too
    }

    void popupExecReturnsWhenHidden()
    {
        Nex_Popup popup;
        popup.addAction(QStringLiteral("Entry"));
        QSignalSpy shown(&popup, &Nex_Popup::PopupShown);
        bool wasShowing = false;
        QTimer::singleShot(0, this, [&]() {
            auto* active = qobject_cast<Nex_Popup*>(QApplication::activePopupWidget());
            wasShowing = active == &popup && popup.IsShowing();
            if (active)
                active->hide();
        });
        PopupSeam::Clear();
        popup.exec(QPoint(100, 100));
        QVERIFY(wasShowing);
        QCOMPARE(shown.count(), 1);
        QVERIFY(!popup.IsShowing());

        // With an answerer the popup is handed over at its place instead of shown.
        QPoint answeredAt;
        PopupSeam::SetAnswerer([&](Nex_Popup* asked) { answeredAt = asked->pos(); });
        popup.exec(QPoint(40, 60));
        PopupSeam::SetAnswerer(nullptr);
        QCOMPARE(answeredAt, QPoint(40, 60));
        QCOMPARE(shown.count(), 1);
        QCOMPARE(PopupSeam::History().size(), 2);
    }

    void styleClassesAreDrawn()
    {
        Nex_Style::Apply(qobject_cast<QApplication*>(QCoreApplication::instance()));
        QPushButton ok(QStringLiteral(" "));
        ok.setProperty("class", QStringLiteral("okBtn"));
        ok.resize(80, 30);
        const QImage shot = ok.grab().toImage();
        qApp->setStyleSheet(QString());
        QCOMPARE(shot.pixelColor(40, 15), QColor("#14A8F0"));
    }

    void fileDialogsAreAnsweredFromTheQueue()
    {
        FileDialogSeam::Enqueue(QStringLiteral("/tmp/first.png"));
        FileDialogSeam::Enqueue(QString()); // the person cancels the second
        QCOMPARE(Nex_FileDialog::getOpenFileName(nullptr, "Open picture", "/tmp", "*.png"),
                 QStringLiteral("/tmp/first.png"));
        QVERIFY(Nex_FileDialog::getSaveFileName(nullptr, "Save", "/tmp", "*.pdf").isEmpty());
        FileDialogSeam::SetAnswerer([](const FileDialogRequest& r) {
            const bool folder = r.kind == FileDialogRequest::ExistingDirectory;
            return folder ? QStringLiteral("/data") : QString();
        });
        const QString folder = Nex_FileDialog::getExistingDirectory(nullptr, "Folder", "/");
        QCOMPARE(folder, QStringLiteral("/data"));
        const auto history = FileDialogSeam::History();
        QCOMPARE(history.size(), 3);
        QCOMPARE(history.at(1).kind, int(FileDialogRequest::SaveFile));
    }

    void dialogIsDraggedByItsDragAreaOnly_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<bool>("moves");
        QTest::newRow("title area") << QPoint(20, 10) << true;
        QTest::newRow("body") << QPoint(20, 80) << false;
    }
    void dialogIsDraggedByItsDragAreaOnly()
    {
        QFETCH(QPoint, press);
        QFETCH(bool, moves);
        Nex_Dialog dialog;
        dialog.resize(200, 120);
        dialog.SetDragArea(QRect(0, 0, 200, 30));
        dialog.move(100, 100);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QPoint before = dialog.pos();
        QTest::mousePress(&dialog, Qt::LeftButton, Qt::NoModifier, press);
        const QPoint to = press + QPoint(50, 30);
        QMouseEvent move(QEvent::MouseMove, to, dialog.mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &move);
        QTest::mouseRelease(&dialog, Qt::LeftButton, Qt::NoModifier, to);
        QCOMPARE(dialog.pos(), moves ? before + QPoint(50, 30) : before);
    }
};

QTEST_MAIN(TestUtils)
#include "tst_utils.moc"
