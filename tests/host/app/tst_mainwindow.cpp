// The reader's main window driven as a person would: menu actions by object name, file
// dialogs and message boxes answered through their seams, the saved file checked by qpdf.

#include "host/document/ica_streamreader.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_toolhandler.h"
#include "host/framework/g_uicontext.h"
#include "host/utils/filedialogseam.h"
#include "hostfixture.h"
#include "mainwindow.h"

#include <QAction>
#include <QBuffer>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void openZoomDeleteUndoAndSaveAs();
    void stampCommandWithoutPluginSaysSo();
    void closingAsksAboutChanges_data();
    void closingAsksAboutChanges();
    void brokenFileIsReported();
    void commandBarFollowsTheSelectedTool();

private:
    void trigger(const char* action);
    bool openSample();
    IG_Annot* addStamp();

    std::unique_ptr<HostFixture> m_host; // folders and message boxes
    std::unique_ptr<MainWindow> m_window;
    QString m_copy;
};

void TestMainWindow::init()
{
    m_host.reset(new HostFixture);
    m_window.reset(new MainWindow);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_copy = m_host->TempDir() + QStringLiteral("/contract.pdf");
    QVERIFY(QFile::copy(QStringLiteral(SAMPLES_DIR "/contract.pdf"), m_copy));
}

void TestMainWindow::cleanup()
{
    m_host->AnswerMessageBoxes(QMessageBox::Discard);
    m_window.reset();
    Utils::FileDialogSeam::Clear();
    m_host.reset();
}

void TestMainWindow::trigger(const char* name)
{
    auto* action = m_window->findChild<QAction*>(QString::fromLatin1(name));
    QVERIFY2(action, name);
    QVERIFY2(action->isEnabled(), name);
    action->trigger();
}

bool TestMainWindow::openSample()
{
    Utils::FileDialogSeam::Enqueue(m_copy);
    trigger("actionOpen");
    return m_window->View() != nullptr;
}

IG_Annot* TestMainWindow::addStamp()
{
    IG_Document* doc = m_window->View()->GDocument();
    QImage picture(20, 20, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    ICA_StreamReader* stream = ICA_StreamReader::CreateMemoryStreamReader(png);
    const int id = doc->AddResource(stream, 1, 0);
    stream->Release();
    const std::string content =
        "{\"RunTime\":false,\"SubType\":\"Stamp\",\"Appearance\":[{\"Type\":\"Image\","
        "\"ResourceID\":" +
        std::to_string(id) + ",\"Width\":30.0,\"Height\":30.0,\"RunTime\":false}]}";
    const CCA_GRect rect(20, 20, 50, 50);
    return doc->PageAt(0)->NewAnnot(G_AnnotType_Stamp, "Stamp", rect, content);
}

void TestMainWindow::openZoomDeleteUndoAndSaveAs()
{
    QVERIFY(openSample());
    G_DocView* view = m_window->View();
    QCOMPARE(view->PageCount(), 3);
    QVERIFY(m_window->windowTitle().contains(QStringLiteral("contract.pdf")));
    QCOMPARE(Utils::FileDialogSeam::History().size(), 1);

    trigger("actionZoomIn");
    QCOMPARE(view->GetZoom(), 125.0f);
    trigger("actionZoomReset");
    QCOMPARE(view->GetZoom(), 100.0f);

    IG_Annot* stamp = addStamp();
    QVERIFY(stamp);
    auto* undo = m_window->findChild<QAction*>(QStringLiteral("actionUndo"));
    QVERIFY(!undo->isEnabled());
    G_Operation* del = m_window->Context()->CreateOperationByName("d_delannot", QString());
    del->Param()->Add("pageAndAnnotID", QStringLiteral("0:%1").arg(stamp->ID()));
    QCOMPARE(del->PerformAction(), 1);
    del->DeleteLater();
    QVERIFY(!stamp->IsOnPage());
    QVERIFY(undo->isEnabled());
    trigger("actionUndo");
    QVERIFY(stamp->IsOnPage());
    trigger("actionRedo");
    QVERIFY(!stamp->IsOnPage());
    trigger("actionUndo");

    const QString target = m_host->TempDir() + QStringLiteral("/saved copy.pdf");
    Utils::FileDialogSeam::Enqueue(target);
    trigger("actionSaveAs");
    QVERIFY(QFile::exists(target));
    QVERIFY(!view->GDocument()->IsModified());
    const QString qpdf = QStandardPaths::findExecutable(QStringLiteral("qpdf"));
    if (!qpdf.isEmpty()) {
        QProcess check;
        check.start(qpdf, {"--check", target});
        QVERIFY(check.waitForFinished(60000));
        QCOMPARE(check.exitCode(), 0);
    }
    QVERIFY(m_host->MessageBoxes().isEmpty()); // nothing went wrong on the way
}

void TestMainWindow::stampCommandWithoutPluginSaysSo()
{
    QVERIFY(openSample());
    if (G_Operation::FindGlobal("ti_stamp"))
        QSKIP("a stamp plug-in is registered in this process");
    auto* button = m_window->findChild<QToolButton*>(QStringLiteral("ti_stamp"));
    QVERIFY(button && button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    const auto boxes = m_host->MessageBoxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().text, QStringLiteral("No stamp plug-in is loaded."));
}

void TestMainWindow::closingAsksAboutChanges_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("cancel keeps it open") << int(QMessageBox::Cancel) << false;
    QTest::newRow("discard closes") << int(QMessageBox::Discard) << true;
}

void TestMainWindow::closingAsksAboutChanges()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QVERIFY(openSample());
    QVERIFY(addStamp());
    QVERIFY(m_window->View()->GDocument()->IsModified());
    m_host->AnswerMessageBoxes(answer);
    const bool closed = m_window->close();
    QCOMPARE(closed, closes);
    QCOMPARE(m_window->View() == nullptr, closes);
    QCOMPARE(m_host->MessageBoxes().size(), 1);
    QCOMPARE(m_host->MessageBoxes().first().kind, int(Utils::Widgets::MessageBoxRequest::Warning));
}

void TestMainWindow::brokenFileIsReported()
{
    const QString broken = m_host->TempDir() + QStringLiteral("/broken.pdf");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.7\nthis is not a document\n");
    file.close();
    QVERIFY(!m_window->OpenFile(broken));
    QVERIFY(!m_window->View());
    const auto boxes = m_host->MessageBoxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().kind, int(Utils::Widgets::MessageBoxRequest::Error));
    QVERIFY(boxes.first().text.contains(QStringLiteral("broken.pdf")));
}

void TestMainWindow::commandBarFollowsTheSelectedTool()
{
    QVERIFY(openSample());
    auto* hand = m_window->findChild<QAction*>(QStringLiteral("t_handtool"));
    auto* select = m_window->findChild<QAction*>(QStringLiteral("t_textselect"));
    QVERIFY(hand && select && hand->isChecked());
    select->trigger();
    QCOMPARE(m_window->View()->ToolHandler()->HandlerName(), CCA_String("t_textselect"));
    // A plug-in asks for the hand tool through a command-bar event.
    m_window->Context()->FireEvent(new G_CommandBarOpChangedEvent(
        G_Event::CommandBarSettingData(QStringList{"t_handtool"}, 7, QVariant(true))));
    QVERIFY(hand->isChecked());
    QCOMPARE(m_window->View()->ToolHandler()->HandlerName(), CCA_String("t_handtool"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
