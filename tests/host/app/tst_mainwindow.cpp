// The reader's main window driven as a person would: actions by object name, dialogs and
// message boxes answered through their seams.
#include "commandbar.h"
#include "host/framework/crf_eventmgr.h"
#include "host/framework/g_navigationpage.h"
#include "host/framework/g_toolhandler.h"
#include "host/utils/filedialogseam.h"
#include "hostfixture.h"
#include "mainwindow.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QSpinBox>
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
        Utils::FileDialogSeam::Enqueue(m_copy);
        trigger("actionOpen");
        QVERIFY(m_window->View());
    }

    void cleanup()
    {
        m_host->AnswerMessageBoxes(QMessageBox::Discard);
        m_window.reset();
        Utils::FileDialogSeam::Clear();
        m_host.reset();
    }

    void zoomDeleteUndoAndSaveAs()
    {
        G_DocView* view = m_window->View();
        QVERIFY(m_window->windowTitle().contains(QStringLiteral("contract.pdf")));
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
        QCOMPARE(PdfTools::Check(target), QString());
        QVERIFY(m_host->MessageBoxes().isEmpty()); // nothing went wrong on the way
    }

    void stampCommandWithoutPluginSaysSo()
    {
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
        QVERIFY(HostFixture::AddStampTo(m_window->View()->GDocument(), 0, CCA_GRect(2, 2, 9, 9)));
        m_host->AnswerMessageBoxes(answer);
        QCOMPARE(m_window->close(), closes);
        QCOMPARE(m_window->View() == nullptr, closes);
        QCOMPARE(m_host->MessageBoxes().size(), 1);
        QCOMPARE(m_host->MessageBoxes().first().kind,
                 int(Utils::Widgets::MessageBoxRequest::Warning));
    }

    void brokenFileIsReported()
    {
        // Cut short before its end: qpdf could rebuild it from whatever it finds, so it is
        // refused rather than saved short. A file that does not open at all takes the same way.
        QFile sample(QStringLiteral(SAMPLES_DIR "/contract.pdf"));
        const QString broken = m_host->TempDir() + QStringLiteral("/broken.pdf");
        QFile file(broken);
        QVERIFY(sample.open(QIODevice::ReadOnly) && file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(sample.readAll().chopped(10)) > 0);
        file.close();
        QVERIFY(!m_window->OpenFile(broken));
        QCOMPARE(m_window->TabCount(), 1);
        const auto boxes = m_host->MessageBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first().kind, int(Utils::Widgets::MessageBoxRequest::Error));
        QVERIFY(boxes.first().text.contains(QStringLiteral("broken.pdf")));
    }

    void commandBarFollowsTheSelectedTool()
    {
        CommandBar* bar = m_window->Bar();
        QToolButton* hand = bar->Button("t_handtool");
        QVERIFY(hand && hand->isChecked());
        QTest::mouseClick(bar->Button("t_textselect"), Qt::LeftButton);
        QCOMPARE(m_window->View()->ToolHandler()->HandlerName(), CCA_String("t_textselect"));
        // A plug-in asks for the hand tool, then for the invoice seal command.
        for (const char* name : {"t_handtool", "tab_receipt", "d_invoiceseal"})
            m_window->Context()->FireEvent(new G_CommandBarOpChangedEvent(
                G_Event::CommandBarSettingData(QStringList{name}, 7, QVariant(true))));
        QVERIFY(hand->isChecked());
        QCOMPARE(bar->currentWidget()->objectName(), QStringLiteral("tab_receipt"));
        QVERIFY(bar->Button("d_invoiceseal")->isVisible());
    }

    void tabsFollowTheDocuments()
    {
        const QString other = m_host->TempDir() + "/landscape.pdf";
        QVERIFY(QFile::copy(QStringLiteral(SAMPLES_DIR "/landscape.pdf"), other));
        CRF_EventMgr* events = m_window->Context()->EventMgr();
        QSignalSpy switched(events, &CRF_EventMgr::SwitchDocView);
        QSignalSpy allClosed(events, &CRF_EventMgr::AllDocClose);
        QVERIFY(m_window->OpenFile(other));
        QCOMPARE(m_window->TabCount(), 2);
        QVERIFY(m_window->OpenFile(m_copy)); // already open: its tab comes forward
        QCOMPARE(m_window->TabCount(), 2);
        QVERIFY(m_window->windowTitle().contains("contract.pdf"));
        QCOMPARE(switched.count(), 2);
        QCOMPARE(switched.last().first().value<G_DocView*>(), m_window->View());
        QCOMPARE(m_window->RecentFiles().mid(0, 2),
                 QStringList({m_copy, QFileInfo(other).absoluteFilePath()}));
        QVERIFY(m_window->CloseTab(0) && m_window->CloseTab(0));
        QCOMPARE(allClosed.count(), 1);
        QVERIFY(!m_window->View());
    }

    void thumbnailsMoveThroughPages()
    {
        auto* list = m_window->findChild<QListWidget*>("thumbnailList");
        auto* panel = m_window->findChild<Core::G_NavigationPage*>("thumbnails");
        QSignalSpy moved(panel, &Core::G_NavigationPage::ChangeShowIndexSignal);
        QCOMPARE(list->count(), 3);
        // Each page's picture, drawn once in sight, has a cell of its own.
        QTRY_COMPARE(list->item(0)->icon().pixmap(list->iconSize()).toImage().pixelColor(2, 2),
                     QColor(Qt::white));
        QVERIFY(list->visualItemRect(list->item(1)).top() >=
                list->visualItemRect(list->item(0)).top() + list->iconSize().height());
        const qint64 drawn = list->item(0)->icon().cacheKey(); // drawn again after a change
        m_window->View()->UndoStack()->push(new QUndoCommand(QStringLiteral("change")));
        QTRY_VERIFY(list->item(0)->icon().cacheKey() != drawn);
        const QRect third = list->visualItemRect(list->item(2));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
        QCOMPARE(moved.count(), 1);
        QCOMPARE(m_window->View()->CurrentPageIndex(), 2);
        QCOMPARE(m_window->findChild<QSpinBox*>("pageSpin")->value(), 3);
    }

    void noticesFitWidthDropsAndGeometry()
    {
        m_window->Context()->FireEvent(new G_StringEvent("Zoom restored", 173));
        auto* notice = m_window->findChild<QLabel*>("notice");
        QVERIFY(notice->isVisible() && notice->text() == "Zoom restored");
        QVERIFY(m_host->MessageBoxes().isEmpty()); // a notice, not a box to click away

        trigger("actionFitWidth");
        G_DocView* view = m_window->View();
        const int room = view->viewport()->width() - 2 * G_DocView::kPageGap;
        QVERIFY(qAbs(view->PageRect(0).width() - room) <= 2);

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(QStringLiteral(SAMPLES_DIR "/rotated.pdf"))});
        QVERIFY(m_window->acceptDrops());
        QCOMPARE(m_window->OpenDropped(&files), 1);
        QCOMPARE(m_window->TabCount(), 2);

        m_window->resize(900, 700);
        QVERIFY(m_window->close());
        MainWindow again;
        QCOMPARE(again.size(), QSize(900, 700));
    }

private:
    void trigger(const char* name)
    {
        auto* action = m_window->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action && action->isEnabled(), name);
        action->trigger();
    }

    std::unique_ptr<HostFixture> m_host;
    std::unique_ptr<MainWindow> m_window;
    QString m_copy;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
