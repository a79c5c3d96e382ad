#pragma once
// The reader's UI context: the views, the operation and handler registries as seen by
// the UI, events, the context menu and message boxes.
//
// Seams for tests and batch runs:
// - every event handed to FireEvent is announced by EventFired (with the event, before
//   the context acts on it and deletes it); EventLog keeps copies until ClearEventLog;
// - every message box goes through Utils::Widgets::MessageBoxSeam (nex_messagebox.h),
//   which a test may answer without showing a window;
// - every operation run through PerformAction is announced by OperationPerformed.
//
// What FireEvent does with the events it knows: 110 and 111 repaint the views concerned;
// 173 records the text (ShownStrings, StringShown) and shows it: through the notice display
// a window set (SetNoticeDisplay), else in an information box;
// a command-bar event with kind 7 selects its first name (CommandBarSelection) and, when
// that names a tool handler, makes the current view's instance of it current.

#include "../base/ca_types.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <functional>
#include <memory>

class CRF_EventMgr;
class G_ContextMenu;
class G_DocView;
class G_Event;
class G_Operation;
class G_ToolHandler;
class IG_Document;

class G_UIContext : public QObject
{
    Q_OBJECT
public:
    explicit G_UIContext(QObject* parent = nullptr);
    ~G_UIContext() override;

    G_DocView* CurrentDocView() const { return m_current; }
    void SetCurrentDocView(G_DocView* view); // emits CRF_EventMgr::SwitchDocView
    void AddDocView(G_DocView* view);
    void RemoveDocView(G_DocView* view);
    QList<G_DocView*> DocViews() const { return m_views; }

    // The registered prototype of a tool or annotation handler.
    G_ToolHandler* FindHandlerByName(const char* name) const;
    // A fresh copy of the registered operation, bound to this context and the current
    // view; `paramsJson` (a JSON object) pre-fills its parameters. Null for unknown names.
    // The caller releases it (DeleteLater).
    G_Operation* CreateOperationByName(const char* name, const QString& paramsJson);

    void FireEvent(G_Event* event); // takes the event
    QList<G_Event*> EventLog() const { return m_eventLog; }
    void ClearEventLog();

    CRF_EventMgr* EventMgr() const { return m_eventMgr.get(); }
    G_ContextMenu* ContextMenu() const { return m_menu.get(); }

    // Message boxes: `buttons` are QMessageBox::StandardButtons (0: OK alone),
    // `defaultButton` one of them (−1: none), `buttonTexts` renames buttons, `size` an
    // optional minimum size. Return the button pressed.
    int InformationMessageBox(const QString& title, const QString& text, int buttons = 0,
                              int defaultButton = -1, const QMap<int, QString>& buttonTexts = {},
                              const QSize& size = QSize());
    int WarningMessageBox(const QString& title, const QString& text, int buttons = 0,
                          int defaultButton = -1, const QMap<int, QString>& buttonTexts = {},
                          const QSize& size = QSize());
    int ErrorMessageBox(const QString& title, const QString& text, int buttons = 0,
                        int defaultButton = -1, const QMap<int, QString>& buttonTexts = {},
                        const QSize& size = QSize());

    // The name the command bar shows as selected (set by command-bar events).
    QString CommandBarSelection() const { return m_commandBarSelection; }
    // The last texts shown through G_StringEvent.
    QStringList ShownStrings() const { return m_shownStrings; }
    // Where those texts appear: a window's transient notice (null: a message box).
    void SetNoticeDisplay(std::function<void(const QString&)> display)
    {
        m_noticeDisplay = std::move(display);
    }

    // Checked state of command-bar buttons, by button name ("t_toolbarbtnstate",
    // "t_showannot" set them). Unknown buttons read as unchecked.
    bool CommandBarButtonChecked(const QString& name) const;
    QMap<QString, bool> CommandBarButtonStates() const { return m_buttonStates; }
    void SetCommandBarButtonChecked(const QString& name, bool checked);

    // Signature requests made through "d_digitalsignature" and "d_applysignature".
    struct SignatureRequest {
        QString operation;
        int annotId = 0;
        int pageIndex = 0;
    };
    QList<SignatureRequest> SignatureRequests() const { return m_signatureRequests; }
    void RecordSignatureRequest(const SignatureRequest& request);

    // At most this many events stay in EventLog (the oldest go first).
    static constexpr int kEventLogLimit = 1000;

signals:
    void EventFired(const G_Event* event);
    void CommandBarButtonChanged(const QString& name, bool checked);
    void SignatureRequested(const QString& operation, int annotId, int pageIndex);
    void OperationPerformed(const QString& name, int result);
    void StringShown(const QString& text);
    void CommandBarSelectionChanged(const QString& name);

private:
    friend class G_Operation;
    void notifyPerformed(const QString& name, int result);
    void handleEvent(G_Event* event);
    int messageBox(int kind, const QString& title, const QString& text, int buttons,
                   int defaultButton, const QMap<int, QString>& buttonTexts, const QSize& size);

    QList<G_DocView*> m_views;
    G_DocView* m_current = nullptr;
    std::unique_ptr<CRF_EventMgr> m_eventMgr;
    std::unique_ptr<G_ContextMenu> m_menu;
    QList<G_Event*> m_eventLog;
    QString m_commandBarSelection;
    QStringList m_shownStrings;
    std::function<void(const QString&)> m_noticeDisplay;
    QMap<QString, bool> m_buttonStates;
    QList<SignatureRequest> m_signatureRequests;
};
