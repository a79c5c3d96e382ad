// The reader's main window driven as a person would: menu actions by object name, file
// dialogs and message boxes answered through their seams, the saved file checked by qpdf.

#include "host/framework/g_toolhandler.h"
#include "host/utils/filedialogseam.h"
#include "hostfixture.h"
#include "mainwindow.h"

#include <QAction>
#include <QMessageBox>
#include <QToolButton>

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_host.reset(new HostFixture); // folders and message boxes
        m_window.reset(new MainWindow);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_copy = m_host->TempDir() + QStringLiteral("/contract.pdf");
        QVERIFY(QFile::copy(QStringLiteral(SAMPLES_DIR "/contract.pdf"), m_copy));
    }

    void cleanup()
    {
        m_host->AnswerMessageBoxes(QMessageBox::Discard);
        m_window.reset();
        Utils::FileDialogSeam::Clear();
        m_host.reset();
    }

    void openZoomDeleteUndoAndSaveAs()
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

        IG_Annot* stamp = HostFixture::AddStampTo(view->GDocument(), 0, CCA_GRect(20, 20, 50, 50));
        QVERIFY(stamp);
        auto* undo = m_window->findChild<QAction*>(QStringLiteral("actionUndo"));
        QVERIFY(!undo->isEnabled());
        G_Operation* del = m_window->Context()->CreateOperationByName("d_delannot", QString());
        del->Param()->Add("pageAndAnnotID", QStringLiteral("0:%1").arg(stamp->ID()));
        QCOMPARE(del->PerformAction(), 1);
        del->DeleteLater();
        QVERIFY(!stamp->IsOnPage() && undo->isEnabled());
        trigger("actionUndo");
        QVERIFY(stamp->IsOnPage());
        trigger("actionRedo");
        QVERIFY(!stamp->IsOnPage());
        trigger("actionUndo");

        const QString target = m_host->TempDir() + QStringLiteral("/saved copy.pdf");
        Utils::FileDialogSeam::Enqueue(target);
        trigger("actionSaveAs");
        QVERIFY(!view->GDocument()->IsModified());
        if (PdfTools::Has("qpdf")) {
            const QString check = PdfTools::Check(target);
            QVERIFY2(check.isEmpty(), qPrintable(check));
        }
        QVERIFY(m_host->MessageBoxes().isEmpty()); // nothing went wrong on the way
    }

    void stampCommandWithoutPluginSaysSo()
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

    void closingAsksAboutChanges_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("cancel keeps it open") << int(QMessageBox::Cancel) << false;
        QTest::newRow("discard closes") << int(QMessageBox::Discard) << true;
    }
    void closingAsksAboutChanges()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QVERIFY(openSample());
        QVERIFY(HostFixture::AddStampTo(m_window->View()->GDocument(), 0, CCA_GRect(2, 2, 9, 9)));
        QVERIFY(m_window->View()->GDocument()->IsModified());
        m_host->AnswerMessageBoxes(answer);
        QCOMPARE(m_window->close(), closes);
        QCOMPARE(m_window->View() == nullptr, closes);
        QCOMPARE(m_host->MessageBoxes().size(), 1);
        QCOMPARE(m_host->MessageBoxes().first().kind,
                 int(Utils::Widgets::MessageBoxRequest::Warning));
    }

    void brokenFileIsReported_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QFile sample(QStringLiteral(SAMPLES_DIR "/contract.pdf"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        QTest::newRow("not a document") << QByteArray("%PDF-1.7\nthis is not a document\n");
        // qpdf could rebuild it, from whatever it finds: refused rather than saved short.
        QTest::newRow("cut short before its end") << sample.readAll().chopped(10);
    }
    void brokenFileIsReported()
    {
        QFETCH(QByteArray, bytes);
        const QString broken = m_host->TempDir() + QStringLiteral("/broken.pdf");
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        QVERIFY(!m_window->OpenFile(broken));
        QVERIFY(!m_window->View());
        const auto boxes = m_host->MessageBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first().kind, int(Utils::Widgets::MessageBoxRequest::Error));
        QVERIFY(boxes.first().text.contains(QStringLiteral("broken.pdf")));
    }

    void commandBarFollowsTheSelectedTool()
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

private:
    void trigger(const char* name)
    {
        auto* action = m_window->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action && action->isEnabled(), name);
        action->trigger();
    }

    bool openSample()
    {
        Utils::FileDialogSeam::Enqueue(m_copy);
        trigger("actionOpen");
        return m_window->View() != nullptr;
    }

    std::unique_ptr<HostFixture> m_host;
    std::unique_ptr<MainWindow> m_window;
    QString m_copy;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
