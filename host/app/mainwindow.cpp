#include "mainwindow.h"

#include "host/document/documentio.h"
#include "host/document/g_application.h"
#include "host/document/ig_document.h"
#include "host/framework/crf_eventmgr.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_toolhandler.h"
#include "host/framework/g_uicontext.h"
#include "host/framework/icore.h"
#include "host/utils/nex_filedialog.h"
#include "host/utils/nex_inputdialog.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>
#include <QToolButton>
#include <QScreen>
#include <QUndoStack>
#include <QWindow>

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), m_context(new G_UIContext)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(tr("Reader"));
    resize(1100, 850);
    Core::ICore::setMainWindow(this);

    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* open = file->addAction(tr("&Open..."), this, &MainWindow::open, QKeySequence::Open);
    open->setObjectName(QStringLiteral("actionOpen"));
    m_save = file->addAction(tr("&Save"), this, &MainWindow::Save, QKeySequence::Save);
    m_save->setObjectName(QStringLiteral("actionSave"));
    m_saveAs = file->addAction(tr("Save &As..."), this, &MainWindow::SaveAs, QKeySequence::SaveAs);
    m_saveAs->setObjectName(QStringLiteral("actionSaveAs"));
    file->addSeparator();
    file->addAction(tr("&Quit"), this, &QWidget::close, QKeySequence::Quit);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    m_undo = edit->addAction(
        tr("&Undo"), this,
        [this]() {
            if (m_view)
                m_view->UndoStack()->undo();
        },
        QKeySequence::Undo);
    m_undo->setObjectName(QStringLiteral("actionUndo"));
    m_redo = edit->addAction(
        tr("&Redo"), this,
        [this]() {
            if (m_view)
                m_view->UndoStack()->redo();
        },
        QKeySequence::Redo);
    m_redo->setObjectName(QStringLiteral("actionRedo"));

    QMenu* view = menuBar()->addMenu(tr("&View"));
    auto zoomBy = [this](float factor) {
        if (m_view)
            runOperation("v_zoom", QStringLiteral("{\"zoomIndex\":%1}")
                                       .arg(double(m_view->GetZoom() * factor), 0, 'f', 2));
    };
    view->addAction(
            tr("Zoom &In"), this, [zoomBy]() { zoomBy(1.25f); }, QKeySequence::ZoomIn)
        ->setObjectName(QStringLiteral("actionZoomIn"));
    view->addAction(
            tr("Zoom &Out"), this, [zoomBy]() { zoomBy(0.8f); }, QKeySequence::ZoomOut)
        ->setObjectName(QStringLiteral("actionZoomOut"));
    view->addAction(tr("&Actual Size"), this,
                    [this]() { runOperation("v_zoom", QStringLiteral("{\"zoomIndex\":100.0}")); })
        ->setObjectName(QStringLiteral("actionZoomReset"));
    m_showAnnots = view->addAction(tr("Show &Annotations"));
    m_showAnnots->setObjectName(QStringLiteral("actionShowAnnots"));
    m_showAnnots->setCheckable(true);
    m_showAnnots->setChecked(true);
    connect(m_showAnnots, &QAction::triggered, this, [this](bool on) {
        runOperation("t_showannot", on ? QStringLiteral("{\"isVisible\":true}")
                                       : QStringLiteral("{\"isVisible\":false}"));
    });

    QToolBar* bar = addToolBar(tr("Commands"));
    bar->setObjectName(QStringLiteral("commandBar"));
    auto* tools = new QActionGroup(this);
    for (const char* tool : {"t_handtool", "t_textselect"}) {
        QAction* action =
            bar->addAction(tool == QByteArray("t_handtool") ? tr("Hand") : tr("Select"));
        action->setObjectName(QString::fromLatin1(tool));
        action->setCheckable(true);
        action->setChecked(tool == QByteArray("t_handtool"));
        tools->addAction(action);
        connect(action, &QAction::triggered, this, [this, tool]() {
            if (m_view)
                m_view->SetToolHandler(m_view->ToolHandlerByName(tool));
        });
    }
    // The command bar shows what the reader or a plug-in selected.
    connect(m_context.get(), &G_UIContext::CommandBarSelectionChanged, this,
            [tools](const QString& name) {
                const QList<QAction*> actions = tools->actions();
                for (QAction* action : actions) {
                    if (action->objectName() == name)
                        action->setChecked(true);
                }
            });
    m_stampButton = new QToolButton(bar);
    m_stampButton->setObjectName(QStringLiteral("ti_stamp"));
    m_stampButton->setText(tr("Stamp"));
    bar->addWidget(m_stampButton);
    connect(m_stampButton, &QToolButton::clicked, this, &MainWindow::runStamp);
    connect(m_context.get(), &G_UIContext::CommandBarButtonChanged, this,
            [this](const QString& name, bool checked) {
                if (name == QLatin1String("t_annot"))
                    m_showAnnots->setChecked(checked);
            });
    updateActions();
}

MainWindow::~MainWindow()
{
    delete m_view;
    m_view = nullptr;
    if (m_document) {
        G_Application::Instance()->UnregisterDocument(m_document);
        delete m_document;
    }
    if (Core::ICore::mainWindow() == this)
        Core::ICore::setMainWindow(nullptr);
}

void MainWindow::open()
{
    const QString path = Utils::Widgets::Nex_FileDialog::getOpenFileName(
        this, tr("Open Document"), QString(), tr("Documents (*.pdf *.ofd)"));
    if (!path.isEmpty())
        OpenFile(path);
}

bool MainWindow::OpenFile(const QString& path)
{
    if (!closeDocument())
        return false;
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
    m_document = doc;
    G_Application::Instance()->RegisterDocument(doc);
    m_view = new G_DocView(m_context.get(), doc, this);
    setCentralWidget(m_view);
    m_context->SetCurrentDocView(m_view);
    m_view->SetToolHandler(m_view->ToolHandlerByName("t_handtool"));
    connect(m_view->UndoStack(), &QUndoStack::indexChanged, this, &MainWindow::updateActions);
    setWindowTitle(tr("%1 - Reader").arg(QFileInfo(path).fileName()));
    updateActions();
    return true;
}

bool MainWindow::closeDocument()
{
    if (!m_document)
        return true;
    if (m_document->IsModified()) {
        const int answer = m_context->WarningMessageBox(
            tr("Close Document"), tr("The document has changes. Save them?"),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        if (answer == QMessageBox::Cancel || answer == 0)
            return false;
        if (answer == QMessageBox::Save && !Save())
            return false;
    }
    setCentralWidget(nullptr); // deletes the view
    m_view = nullptr;
    G_Application::Instance()->UnregisterDocument(m_document);
    delete m_document;
    m_document = nullptr;
    updateActions();
    return true;
}

bool MainWindow::Save()
{
    if (!m_document)
        return false;
    const QString path = GQ_ToQString(m_document->FilePath());
    if (path.isEmpty())
        return SaveAs();
    return saveTo(path);
}

bool MainWindow::SaveAs()
{
    if (!m_document)
        return false;
    const QString path = Utils::Widgets::Nex_FileDialog::getSaveFileName(
        this, tr("Save Document As"), GQ_ToQString(m_document->FilePath()),
        tr("PDF documents (*.pdf)"));
    return !path.isEmpty() && saveTo(path);
}

bool MainWindow::saveTo(const QString& path)
{
    QString error;
    G_SaveReport report;
    if (!m_document->SaveAs(path, &error, &report)) {
        m_context->ErrorMessageBox(tr("Save Document"),
                                   tr("The document could not be saved: %1").arg(error));
        return false;
    }
    if (report.rewritten) {
        QString text = tr("The document was written as a whole new file instead of adding the "
                          "changes to it. %1")
                           .arg(report.reason);
        if (m_document->HasSignatures())
            text += QLatin1Char(' ') + tr("Its digital signatures no longer match it.");
        m_context->InformationMessageBox(tr("Save Document"), text);
    }
    if (m_view)
        m_view->UndoStack()->setClean();
    setWindowTitle(tr("%1 - Reader").arg(QFileInfo(path).fileName()));
    return true;
}

void MainWindow::runOperation(const char* name, const QString& paramsJson)
{
    G_Operation* op = m_context->CreateOperationByName(name, paramsJson);
    if (!op)
        return;
    op->PerformAction();
    op->DeleteLater();
}

void MainWindow::runStamp()
{
    if (!m_view)
        return;
    G_Operation* op = m_context->CreateOperationByName("ti_stamp", QString());
    if (!op) {
        m_context->InformationMessageBox(tr("Stamp"), tr("No stamp plug-in is loaded."));
        return;
    }
    const QRect r(m_stampButton->mapToGlobal(QPoint(0, 0)), m_stampButton->size());
    op->Param()->Add("position",
                     CCA_GRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()));
    op->PerformAction();
    op->DeleteLater();
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
    emit m_context->EventMgr()->ActivedScreenChanged(m_view);
}

void MainWindow::updateActions()
{
    const bool open = m_document != nullptr;
    m_save->setEnabled(open);
    m_saveAs->setEnabled(open);
    m_undo->setEnabled(open && m_view->UndoStack()->canUndo());
    m_redo->setEnabled(open && m_view->UndoStack()->canRedo());
    m_stampButton->setEnabled(open);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (closeDocument())
        event->accept();
    else
        event->ignore();
}
