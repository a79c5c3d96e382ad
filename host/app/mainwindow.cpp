#include "mainwindow.h"

#include "commandbar.h"
#include "documenttab.h"
#include "host/document/documentio.h"
#include "host/document/ig_document.h"
#include "host/framework/crf_eventmgr.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_settingmgr.h"
#include "host/framework/g_toolhandler.h"
#include "host/framework/g_uicontext.h"
#include "host/framework/icore.h"
#include "host/utils/nex_filedialog.h"
#include "host/utils/nex_inputdialog.h"
#include "thumbnailpanel.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <QWindow>

namespace
{
const char* const kGeometryKey = "window/geometry";
const char* const kRecentKey = "file/recent";
} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), m_context(new G_UIContext)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(tr("Reader"));
    setAcceptDrops(true);
    resize(1100, 850);
    Core::ICore::setMainWindow(this);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_commandBar = new CommandBar(G_CommandBarModel::Default(), central);
    m_tabs = new QTabWidget(central);
    m_tabs->setObjectName(QStringLiteral("documentTabs"));
    m_tabs->setTabsClosable(true);
    m_tabs->setMovable(true);
    m_tabs->setDocumentMode(true);
    layout->addWidget(m_commandBar);
    layout->addWidget(m_tabs, 1);
    setCentralWidget(central);
    m_notice = new QLabel(central);
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setStyleSheet(QStringLiteral("QLabel{background:rgba(54,66,90,220);color:white;"
                                           "border-radius:4px;padding:8px 16px;}"));
    m_notice->hide();
    m_noticeTimer = new QTimer(this);
    m_noticeTimer->setSingleShot(true);
    m_noticeTimer->setInterval(4000);
    connect(m_noticeTimer, &QTimer::timeout, m_notice, &QWidget::hide);

    m_thumbnails = new ThumbnailPanel;
    auto* dock = new QDockWidget(tr("Pages"), this);
    dock->setObjectName(QStringLiteral("thumbnailDock"));
    dock->setWidget(m_thumbnails);
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    resizeDocks({dock}, {ThumbnailPanel::kWidth + 48}, Qt::Horizontal);

    buildMenus();
    buildStatusBar();

    connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::currentTabChanged);
    connect(m_tabs, &QTabWidget::tabCloseRequested, this, &MainWindow::CloseTab);
    connect(m_commandBar, &CommandBar::Triggered, this, &MainWindow::commandTriggered);
    connect(m_context.get(), &G_UIContext::CommandBarSelectionChanged, m_commandBar,
            &CommandBar::Select);
    connect(m_context.get(), &G_UIContext::CommandBarButtonChanged, this,
            [this](const QString& name, bool checked) {
                m_commandBar->SetChecked(name, checked);
                if (name == QLatin1String("t_annot"))
                    m_showAnnots->setChecked(checked);
            });
    m_context->SetNoticeDisplay([this](const QString& text) { showNotice(text); });
    m_commandBar->SetChecked(QStringLiteral("t_annot"), true);
    m_commandBar->SetChecked(QStringLiteral("t_handtool"), true);

    restoreGeometry(G_SettingMgr::Instance()->ConfigValue(kGeometryKey).toByteArray());
    updateRecentMenu();
    updateActions();
}

MainWindow::~MainWindow()
{
    // Views go before the context they report to.
    while (m_tabs->count() > 0)
        delete m_tabs->widget(0);
    if (Core::ICore::mainWindow() == this)
        Core::ICore::setMainWindow(nullptr);
}

void MainWindow::buildMenus()
{
    auto add = [this](QMenu* menu, const QString& text, const char* name, auto slot,
                      QKeySequence shortcut = QKeySequence(), bool needsDocument = true) {
        QAction* action = menu->addAction(text, this, slot, shortcut);
        action->setObjectName(QString::fromLatin1(name));
        if (needsDocument)
            m_documentActions << action;
        return action;
    };
    QMenu* file = menuBar()->addMenu(tr("&File"));
    add(
        file, tr("&Open..."), "actionOpen", [this]() { runAction(QStringLiteral("open")); },
        QKeySequence::Open, false);
    m_recentMenu = file->addMenu(tr("Open &Recent"));
    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
    m_save = add(file, tr("&Save"), "actionSave", &MainWindow::Save, QKeySequence::Save);
    m_saveAs =
        add(file, tr("Save &As..."), "actionSaveAs", &MainWindow::SaveAs, QKeySequence::SaveAs);
    m_close = add(
        file, tr("&Close"), "actionClose", [this]() { CloseTab(m_tabs->currentIndex()); },
        QKeySequence::Close);
    file->addSeparator();
    add(file, tr("&Quit"), "actionQuit", &QWidget::close, QKeySequence::Quit, false);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    m_undo = add(
        edit, tr("&Undo"), "actionUndo", [this]() { runAction(QStringLiteral("undo")); },
        QKeySequence::Undo);
    m_redo = add(
        edit, tr("&Redo"), "actionRedo", [this]() { runAction(QStringLiteral("redo")); },
        QKeySequence::Redo);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    add(
        view, tr("Zoom &In"), "actionZoomIn", [this]() { runAction(QStringLiteral("zoomin")); },
        QKeySequence::ZoomIn);
    add(
        view, tr("Zoom &Out"), "actionZoomOut", [this]() { runAction(QStringLiteral("zoomout")); },
        QKeySequence::ZoomOut);
    add(view, tr("&Actual Size"), "actionZoomReset", [this]() { zoomTo(100.0f); });
    add(view, tr("Fit &Width"), "actionFitWidth", [this]() { fit(false); });
    add(view, tr("Fit &Page"), "actionFitPage", [this]() { fit(true); });
    view->addSeparator();
    m_showAnnots = view->addAction(tr("Show &Annotations"));
    m_showAnnots->setObjectName(QStringLiteral("actionShowAnnots"));
    m_showAnnots->setCheckable(true);
    m_showAnnots->setChecked(true);
    connect(m_showAnnots, &QAction::triggered, this, [this](bool on) {
        runOperation("t_showannot", {{"isVisible", on}});
    });
}

void MainWindow::buildStatusBar()
{
    m_pageSpin = new QSpinBox(this);
    m_pageSpin->setObjectName(QStringLiteral("pageSpin"));
    m_pageSpin->setMinimum(1);
    m_pageCount = new QLabel(this);
    m_zoomLabel = new QLabel(this);
    m_zoomLabel->setObjectName(QStringLiteral("zoomLabel"));
    statusBar()->addPermanentWidget(new QLabel(tr("Page"), this));
    statusBar()->addPermanentWidget(m_pageSpin);
    statusBar()->addPermanentWidget(m_pageCount);
    statusBar()->addPermanentWidget(m_zoomLabel);
    connect(m_pageSpin, qOverload<int>(&QSpinBox::valueChanged), this, [this](int page) {
        G_DocView* view = View();
        if (view && view->CurrentPageIndex() != page - 1) {
            view->GoToPage(page - 1);
            emit m_thumbnails->ChangeShowIndexSignal(page - 1);
        }
    });
}

G_DocView* MainWindow::View() const
{
    DocumentTab* tab = currentTab();
    return tab ? tab->View() : nullptr;
}

int MainWindow::TabCount() const
{
    return m_tabs->count();
}

DocumentTab* MainWindow::currentTab() const
{
    return tabAt(m_tabs->currentIndex());
}

DocumentTab* MainWindow::tabAt(int index) const
{
    return qobject_cast<DocumentTab*>(m_tabs->widget(index));
}

bool MainWindow::OpenFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (tabAt(i)->Path() == absolute) {
            m_tabs->setCurrentIndex(i);
            rememberRecent(absolute);
            return true;
        }
    }
    QString error;
    bool passwordNeeded = false;
    QString password;
    IG_Document* doc = DocumentIO::Open(path, password, &error, &passwordNeeded);
    // A protected file: ask until the password opens it or the user cancels.
    while (!doc && passwordNeeded) {
        const QString name = QFileInfo(path).fileName();
        const QString label =
            password.isEmpty()
                ? tr("%1 is protected by a password. Enter the password to open it:").arg(name)
                : tr("The password is not correct. Enter the password for %1:").arg(name);
        bool ok = false;
        password =
            Utils::Widgets::Nex_InputDialog::getPassword(this, tr("Open Document"), label, &ok);
        if (!ok)
            return false;
        doc = DocumentIO::Open(path, password, &error, &passwordNeeded);
    }
    if (doc && !DocumentIO::CheckDrawable(doc, &error)) {
        delete doc;
        doc = nullptr;
    }
    if (!doc) {
        m_context->ErrorMessageBox(
            tr("Open Document"),
            tr("%1 could not be opened: %2").arg(QFileInfo(path).fileName(), error));
        return false;
    }
    auto* tab = new DocumentTab(m_context.get(), doc, m_tabs);
    connect(tab->View()->UndoStack(), &QUndoStack::indexChanged, this, &MainWindow::updateActions);
    connect(tab->View(), &G_DocView::CurrentPageChanged, this, &MainWindow::updateActions);
    connect(tab->View(), &G_DocView::ZoomChanged, this, &MainWindow::updateActions);
    const int index = m_tabs->addTab(tab, QFileInfo(path).fileName());
    m_tabs->setTabToolTip(index, absolute);
    m_tabs->setCurrentIndex(index);
    rememberRecent(absolute);
    return true;
}

bool MainWindow::CloseTab(int index)
{
    DocumentTab* tab = tabAt(index);
    if (!tab)
        return false;
    if (tab->Document()->IsModified()) {
        m_tabs->setCurrentIndex(index);
        const int answer = m_context->WarningMessageBox(
            tr("Close Document"), tr("%1 has changes. Save them?").arg(m_tabs->tabText(index)),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        if (answer == QMessageBox::Cancel || answer == 0)
            return false;
        if (answer == QMessageBox::Save && !Save())
            return false;
    }
    m_tabs->removeTab(index);
    delete tab; // its view leaves the context, which tells who listens
    currentTabChanged();
    return true;
}

void MainWindow::currentTabChanged()
{
    DocumentTab* tab = currentTab();
    G_DocView* view = tab ? tab->View() : nullptr;
    if (view)
        m_context->SetCurrentDocView(view);
    m_thumbnails->SetView(view);
    setWindowTitle(tab ? tr("%1 - Reader").arg(m_tabs->tabText(m_tabs->currentIndex()))
                       : tr("Reader"));
    if (view) {
        m_commandBar->SetChecked(QStringLiteral("t_annot"), view->AnnotStatus());
        m_showAnnots->setChecked(view->AnnotStatus());
        if (view->ToolHandler())
            m_commandBar->Select(GQ_ToQString(view->ToolHandler()->HandlerName()));
    }
    updateActions();
}

bool MainWindow::Save()
{
    DocumentTab* tab = currentTab();
    if (!tab)
        return false;
    if (tab->Path().isEmpty())
        return SaveAs();
    return saveTo(tab, tab->Path());
}

bool MainWindow::SaveAs()
{
    DocumentTab* tab = currentTab();
    if (!tab)
        return false;
    const QString path = Utils::Widgets::Nex_FileDialog::getSaveFileName(
        this, tr("Save Document As"), tab->Path(), tr("PDF documents (*.pdf)"));
    return !path.isEmpty() && saveTo(tab, path);
}

bool MainWindow::saveTo(DocumentTab* tab, const QString& path)
{
    IG_Document* doc = tab->Document();
    QString error;
    G_SaveReport report;
    if (!doc->SaveAs(path, &error, &report)) {
        m_context->ErrorMessageBox(tr("Save Document"),
                                   tr("The document could not be saved: %1").arg(error));
        return false;
    }
    if (report.rewritten) {
        QString text = tr("The document was written as a whole new file instead of adding the "
                          "changes to it. %1")
                           .arg(report.reason);
        if (doc->HasSignatures())
            text += QLatin1Char(' ') + tr("Its digital signatures no longer match it.");
        m_context->InformationMessageBox(tr("Save Document"), text);
    }
    tab->View()->UndoStack()->setClean();
    const int index = m_tabs->indexOf(tab);
    m_tabs->setTabText(index, QFileInfo(path).fileName());
    m_tabs->setTabToolTip(index, QFileInfo(path).absoluteFilePath());
    rememberRecent(QFileInfo(path).absoluteFilePath());
    currentTabChanged();
    return true;
}

void MainWindow::commandTriggered(const QString& name, int kind, const QRect& rect, bool checked)
{
    G_DocView* view = View();
    const QByteArray utf8 = name.toUtf8();
    switch (kind) {
    case G_CommandBarModel::Tool:
        if (view)
            view->SetToolHandler(view->ToolHandlerByName(utf8.constData()));
        break;
    case G_CommandBarModel::Anchored:
        if (!view)
            return;
        if (!G_Operation::FindGlobal(utf8.constData())) {
            m_context->InformationMessageBox(tr("Stamp"), tr("No stamp plug-in is loaded."));
            return;
        }
        runOperation(utf8.constData(),
                     {{"position", QVariant::fromValue(CCA_GRect(rect.left(), rect.top(),
                                                                 rect.left() + rect.width(),
                                                                 rect.top() + rect.height()))}});
        break;
    case G_CommandBarModel::Operation:
        runOperation(utf8.constData(), {});
        break;
    case G_CommandBarModel::Toggle:
        if (name == QLatin1String("t_annot"))
            runOperation("t_showannot", {{"isVisible", checked}});
        break;
    default:
        runAction(name);
        break;
    }
}

void MainWindow::runAction(const QString& name)
{
    G_DocView* view = View();
    if (name == QLatin1String("open")) {
        const QString path = Utils::Widgets::Nex_FileDialog::getOpenFileName(
            this, tr("Open Document"), QString(), tr("Documents (*.pdf *.ofd)"));
        if (!path.isEmpty())
            OpenFile(path);
    } else if (name == QLatin1String("save")) {
        Save();
    } else if (!view) {
        return;
    } else if (name == QLatin1String("undo")) {
        view->UndoStack()->undo();
    } else if (name == QLatin1String("redo")) {
        view->UndoStack()->redo();
    } else if (name == QLatin1String("zoomin")) {
        zoomTo(view->GetZoom() * 1.25f);
    } else if (name == QLatin1String("zoomout")) {
        zoomTo(view->GetZoom() * 0.8f);
    } else if (name == QLatin1String("fitwidth")) {
        fit(false);
    } else if (name == QLatin1String("fitpage")) {
        fit(true);
    }
}

void MainWindow::runOperation(const char* name, const QVariantMap& params)
{
    G_Operation* op = m_context->CreateOperationByName(name, QString());
    if (!op)
        return;
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        op->Param()->AddVariant(it.key(), it.value());
    op->PerformAction();
    op->DeleteLater();
}

void MainWindow::zoomTo(float percent)
{
    runOperation("v_zoom", {{"zoomIndex", qBound(kMinZoom, percent, kMaxZoom)}});
}

void MainWindow::fit(bool wholePage)
{
    G_DocView* view = View();
    if (!view || view->PageCount() == 0)
        return;
    // The current page as shown, at the present zoom, against the room the view has.
    const QRect page = view->PageRect(view->CurrentPageIndex());
    const QSize room = view->viewport()->size() - QSize(2, 2) * G_DocView::kPageGap;
    if (page.isEmpty() || room.isEmpty())
        return;
    float factor = float(room.width()) / float(page.width());
    if (wholePage)
        factor = qMin(factor, float(room.height()) / float(page.height()));
    zoomTo(view->GetZoom() * factor);
    view->GoToPage(view->CurrentPageIndex());
}

QStringList MainWindow::RecentFiles() const
{
    return G_SettingMgr::Instance()->ConfigValue(kRecentKey).toStringList();
}

void MainWindow::rememberRecent(const QString& path)
{
    QStringList recent = RecentFiles();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > kRecentFiles)
        recent.removeLast();
    G_SettingMgr::Instance()->SetConfigValue(kRecentKey, recent);
    updateRecentMenu();
}

void MainWindow::updateRecentMenu()
{
    m_recentMenu->clear();
    const QStringList recent = RecentFiles();
    for (const QString& path : recent) {
        QAction* action = m_recentMenu->addAction(QFileInfo(path).fileName(), this,
                                                  [this, path]() { OpenFile(path); });
        action->setToolTip(path);
        action->setEnabled(QFileInfo::exists(path));
    }
    m_recentMenu->setEnabled(!recent.isEmpty());
}

void MainWindow::showNotice(const QString& text)
{
    m_notice->setText(text);
    m_notice->adjustSize();
    QWidget* area = centralWidget();
    m_notice->move((area->width() - m_notice->width()) / 2,
                   area->height() - m_notice->height() - 24);
    m_notice->raise();
    m_notice->show();
    m_noticeTimer->start();
}

void MainWindow::updateActions()
{
    G_DocView* view = View();
    for (QAction* action : qAsConst(m_documentActions))
        action->setEnabled(view != nullptr);
    m_undo->setEnabled(view && view->UndoStack()->canUndo());
    m_redo->setEnabled(view && view->UndoStack()->canRedo());
    for (const QString& name : m_commandBar->Names())
        m_commandBar->SetEnabled(name, view || name == QLatin1String("open"));
    m_commandBar->SetEnabled(QStringLiteral("undo"), m_undo->isEnabled());
    m_commandBar->SetEnabled(QStringLiteral("redo"), m_redo->isEnabled());
    const QSignalBlocker quiet(m_pageSpin);
    m_pageSpin->setEnabled(view);
    m_pageSpin->setMaximum(view ? qMax(1, view->PageCount()) : 1);
    m_pageSpin->setValue(view ? view->CurrentPageIndex() + 1 : 1);
    m_pageCount->setText(view ? tr("of %1").arg(view->PageCount()) : QString());
    m_zoomLabel->setText(view ? tr("%1 %").arg(qRound(view->GetZoom())) : QString());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    while (m_tabs->count() > 0) {
        if (!CloseTab(m_tabs->count() - 1)) {
            event->ignore();
            return;
        }
    }
    G_SettingMgr::Instance()->SetConfigValue(kGeometryKey, saveGeometry());
    event->accept();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Tell plug-ins when the window moves to another screen (their popups rescale).
    if (QWindow* window = windowHandle()) {
        connect(window, &QWindow::screenChanged, this, &MainWindow::announceScreenChange,
                Qt::UniqueConnection);
    }
}

void MainWindow::announceScreenChange()
{
    emit m_context->EventMgr()->ActivedScreenChanged(View());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void MainWindow::dropEvent(QDropEvent* event)
{
    OpenDropped(event->mimeData());
    event->acceptProposedAction();
}

int MainWindow::OpenDropped(const QMimeData* data)
{
    int opened = 0;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && OpenFile(url.toLocalFile()))
            ++opened;
    }
    return opened;
}
