#pragma once
// The reader's main window: documents in tabs (one view each), page thumbnails beside
// them, a command bar built from the reader's command-bar model, menus, a status bar with
// page navigation and zoom, and a transient notice for texts the reader or a plug-in
// shows (event 173). Files open from the menu, the recent-files list, the command line or
// by dropping them on the window; unsaved changes are asked about when a tab or the window
// closes. Window geometry and recent files are kept in the reader's settings.
//
// Object names tests drive: the command bar's buttons carry their entry names ("ti_stamp",
// "t_handtool", "d_invoiceseal", ...); "documentTabs", "thumbnails", "pageSpin",
// "zoomLabel", "notice"; the actions "actionOpen", "actionSave", "actionSaveAs",
// "actionClose", "actionUndo", "actionRedo", "actionZoomIn", "actionZoomOut",
// "actionFitWidth", "actionFitPage", "actionShowAnnots"; the menu "recentMenu".

#include <QMainWindow>
#include <memory>

class CommandBar;
class DocumentTab;
class G_DocView;
class G_UIContext;
class QAction;
class QLabel;
class QMenu;
class QMimeData;
class QSpinBox;
class QTabWidget;
class QTimer;
class ThumbnailPanel;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opens a file in a new tab (or shows its tab when it is open already).
    bool OpenFile(const QString& path);
    bool Save();
    bool SaveAs();
    bool CloseTab(int index);               // false when the user keeps it open
    int OpenDropped(const QMimeData* data); // files dropped on the window; how many opened

    G_UIContext* Context() const { return m_context.get(); }
    G_DocView* View() const; // the current tab's view
    int TabCount() const;
    CommandBar* Bar() const { return m_commandBar; }
    QStringList RecentFiles() const;

    static constexpr float kMinZoom = 10.0f; // percent
    static constexpr float kMaxZoom = 500.0f;
    static constexpr int kRecentFiles = 10;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void buildStatusBar();
    DocumentTab* currentTab() const;
    DocumentTab* tabAt(int index) const;
    void currentTabChanged();
    void commandTriggered(const QString& name, int kind, const QRect& rect, bool checked);
    void runAction(const QString& name);
    void runOperation(const char* name, const QVariantMap& params);
    void zoomTo(float percent);
    void fit(bool wholePage);
    bool saveTo(DocumentTab* tab, const QString& path);
    void rememberRecent(const QString& path);
    void updateRecentMenu();
    void showNotice(const QString& text);
    void updateActions();
    void announceScreenChange();

    std::unique_ptr<G_UIContext> m_context;
    CommandBar* m_commandBar = nullptr;
    QTabWidget* m_tabs = nullptr;
    ThumbnailPanel* m_thumbnails = nullptr;
    QSpinBox* m_pageSpin = nullptr;
    QLabel* m_pageCount = nullptr;
    QLabel* m_zoomLabel = nullptr;
    QLabel* m_notice = nullptr;
    QTimer* m_noticeTimer = nullptr;
    QMenu* m_recentMenu = nullptr;
    QAction* m_save = nullptr;
    QAction* m_saveAs = nullptr;
    QAction* m_close = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QAction* m_showAnnots = nullptr;
    QList<QAction*> m_documentActions; // enabled while a document is open
};
