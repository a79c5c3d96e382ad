#include "g_uicontext.h"

#include "../document/ig_document.h"
#include "../utils/nex_messagebox.h"
#include "crf_eventmgr.h"
#include "g_annotationhandler.h"
#include "g_contextmenu.h"
#include "g_docview.h"
#include "g_event.h"
#include "g_operation.h"
#include "g_toolhandler.h"
#include "icore.h"

#include <QCoreApplication>

G_UIContext::G_UIContext(QObject* parent)
    : QObject(parent), m_eventMgr(new CRF_EventMgr), m_menu(new G_ContextMenu(this))
{
    // Queued connections and spies carry these pointers.
    qRegisterMetaType<const G_Event*>("const G_Event*");
    qRegisterMetaType<G_DocView*>("G_DocView*");
    qRegisterMetaType<G_Event*>("G_Event*");
    qRegisterMetaType<G_Operation*>("G_Operation*");
    qRegisterMetaType<IG_Document*>("IG_Document*");
    // The annotation commands every reader window offers.
    m_menu->RegisterEntry(QStringLiteral("annot"), QStringLiteral("d_delpageannot"),
                          QT_TRANSLATE_NOOP("G_ContextMenu", "Delete"));
    m_menu->RegisterEntry(QStringLiteral("annot"), QStringLiteral("d_embedpageannot"),
                          QT_TRANSLATE_NOOP("G_ContextMenu", "Embed into page"));
    m_menu->RegisterEntry(QStringLiteral("annot"), QStringLiteral("d_applysignature"),
                          QT_TRANSLATE_NOOP("G_ContextMenu", "Apply signature"));
}

G_UIContext::~G_UIContext()
{
    ClearEventLog();
}

void G_UIContext::SetCurrentDocView(G_DocView* view)
{
    if (view && !m_views.contains(view))
        AddDocView(view);
    if (m_current == view)
        return;
    m_current = view;
    if (view)
        emit m_eventMgr->SwitchDocView(view);
}

void G_UIContext::AddDocView(G_DocView* view)
{
    if (view && !m_views.contains(view))
        m_views.append(view);
}

void G_UIContext::RemoveDocView(G_DocView* view)
{
    if (!view || !m_views.removeAll(view))
        return;
    emit m_eventMgr->DocClose(nullptr, view->GDocument());
    if (m_current == view) {
        m_current = nullptr;
        if (!m_views.isEmpty())
            SetCurrentDocView(m_views.last());
    }
    if (m_views.isEmpty())
        emit m_eventMgr->AllDocClose(nullptr);
}

G_ToolHandler* G_UIContext::FindHandlerByName(const char* name) const
{
    if (G_ToolHandler* tool = G_ToolHandler::FindGlobal(name))
        return tool;
    return G_AnnotationHandler::FindGlobalAnnotHandler(name);
}

G_Operation* G_UIContext::CreateOperationByName(const char* name, const QString& paramsJson)
{
    G_Operation* prototype = G_Operation::FindGlobal(name);
    if (!prototype)
        return nullptr;
    G_Operation* op = prototype->Clone();
    if (!op)
        return nullptr;
    op->SetContext(this, m_current);
    if (!paramsJson.trimmed().isEmpty())
        op->ParseParamJson(paramsJson);
    return op;
}

void G_UIContext::FireEvent(G_Event* event)
{
    if (!event)
        return;
    emit EventFired(event);
    G_Event* logged = event->Clone();
    m_eventLog.append(logged);
    while (m_eventLog.size() > kEventLogLimit)
        delete m_eventLog.takeFirst();
    emit m_eventMgr->EventFired(logged);
    handleEvent(event);
    delete event;
}

void G_UIContext::ClearEventLog()
{
    qDeleteAll(m_eventLog);
    m_eventLog.clear();
}

void G_UIContext::handleEvent(G_Event* event)
{
    switch (event->Type()) {
    case G_Event::DocumentChanged: {
        auto* changed = dynamic_cast<G_DocumentChangedEvent*>(event);
        G_DocView* view = changed && changed->View() ? changed->View() : m_current;
        if (view && m_views.contains(view))
            view->Refresh();
        break;
    }
    case G_Event::AnnotationRemoved: {
        auto* removed = dynamic_cast<G_AnnotationEvent*>(event);
        for (G_DocView* view : qAsConst(m_views)) {
            if (!removed || !removed->Document() || view->GDocument() == removed->Document())
                view->Refresh();
        }
        break;
    }
    case G_Event::ShowString: {
        auto* text = dynamic_cast<G_StringEvent*>(event);
        if (!text)
            break;
        m_shownStrings.append(text->Text());
        while (m_shownStrings.size() > kEventLogLimit)
            m_shownStrings.removeFirst();
        emit StringShown(text->Text());
        if (m_noticeDisplay)
            m_noticeDisplay(text->Text());
        else
            InformationMessageBox(tr("Prompt"), text->Text());
        break;
    }
    case G_Event::CommandBarOpChanged: {
        auto* bar = dynamic_cast<G_CommandBarOpChangedEvent*>(event);
        if (!bar || bar->Data().kind != 7 || bar->Data().names.isEmpty())
            break;
        const QString name = bar->Data().names.first();
        m_commandBarSelection = name;
        emit CommandBarSelectionChanged(name);
        const QByteArray utf8 = name.toUtf8();
        if (m_current && G_ToolHandler::FindGlobal(utf8.constData())) {
            if (G_ToolHandler* tool = m_current->ToolHandlerByName(utf8.constData()))
                m_current->SetToolHandler(tool);
        }
        break;
    }
    default:
        break;
    }
}

void G_UIContext::notifyPerformed(const QString& name, int result)
{
    emit OperationPerformed(name, result);
}

int G_UIContext::messageBox(int kind, const QString& title, const QString& text, int buttons,
                            int defaultButton, const QMap<int, QString>& buttonTexts,
                            const QSize& size)
{
    Utils::Widgets::MessageBoxRequest request;
    request.kind = kind;
    request.title = title;
    request.text = text;
    request.buttons = buttons;
    request.defaultButton = defaultButton;
    request.buttonTexts = buttonTexts;
    if (Utils::Widgets::MessageBoxSeam::HasAnswerer())
        return Utils::Widgets::Nex_MessageBox::Show(nullptr, request);
    Utils::Widgets::Nex_MessageBox box(Core::ICore::dialogParent());
    box.SetTitle(kind, title);
    box.SetContent(text, QString());
    box.SetButtons(buttons, defaultButton, buttonTexts);
    if (size.isValid())
        box.setMinimumSize(size);
    return box.exec();
}

int G_UIContext::InformationMessageBox(const QString& title, const QString& text, int buttons,
                                       int defaultButton, const QMap<int, QString>& buttonTexts,
                                       const QSize& size)
{
    return messageBox(Utils::Widgets::MessageBoxRequest::Information, title, text, buttons,
                      defaultButton, buttonTexts, size);
}

int G_UIContext::WarningMessageBox(const QString& title, const QString& text, int buttons,
                                   int defaultButton, const QMap<int, QString>& buttonTexts,
                                   const QSize& size)
{
    return messageBox(Utils::Widgets::MessageBoxRequest::Warning, title, text, buttons,
                      defaultButton, buttonTexts, size);
}

int G_UIContext::ErrorMessageBox(const QString& title, const QString& text, int buttons,
                                 int defaultButton, const QMap<int, QString>& buttonTexts,
                                 const QSize& size)
{
    return messageBox(Utils::Widgets::MessageBoxRequest::Error, title, text, buttons,
                      defaultButton, buttonTexts, size);
}

bool G_UIContext::CommandBarButtonChecked(const QString& name) const
{
    return m_buttonStates.value(name, false);
}

void G_UIContext::SetCommandBarButtonChecked(const QString& name, bool checked)
{
    if (name.isEmpty())
        return;
    m_buttonStates.insert(name, checked);
    emit CommandBarButtonChanged(name, checked);
}

void G_UIContext::RecordSignatureRequest(const SignatureRequest& request)
{
    m_signatureRequests.append(request);
    emit SignatureRequested(request.operation, request.annotId, request.pageIndex);
}
