#pragma once
// The reader's main window: one document at a time in a view, a menu (Open, Save, Save As,
// Undo, Redo, zoom, annotation display) and a command bar with the hand and text tools and
// the stamp command, which runs "ti_stamp" with the button's screen rectangle as
// "position" so the stamp picker opens under it.

#include <QMainWindow>
#include <memory>

class G_DocView;
class G_UIContext;
class IG_Document;
class QAction;
class QToolButton;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    bool OpenFile(const QString& path);
    bool Save();
    bool SaveAs();
    G_UIContext* Context() const { return m_context.get(); }
    G_DocView* View() const { return m_view; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void open();
    bool closeDocument(); // false when the user keeps it open
    bool saveTo(const QString& path);
    void runOperation(const char* name, const QString& paramsJson);
    void runStamp();
    void updateActions();
    void announceScreenChange();

    std::unique_ptr<G_UIContext> m_context;
    G_DocView* m_view = nullptr;
    IG_Document* m_document = nullptr;
    QAction* m_save = nullptr;
    QAction* m_saveAs = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QAction* m_showAnnots = nullptr;
    QToolButton* m_stampButton = nullptr;
};
