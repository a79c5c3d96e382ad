#include "documenttab.h"

#include "host/document/g_application.h"
#include "host/document/ig_document.h"
#include "host/framework/g_docview.h"

#include <QVBoxLayout>

DocumentTab::DocumentTab(G_UIContext* context, IG_Document* document, QWidget* parent)
    : QWidget(parent), m_document(document)
{
    G_Application::Instance()->RegisterDocument(document);
    m_view = new G_DocView(context, document, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->SetToolHandler(m_view->ToolHandlerByName("t_handtool"));
}

DocumentTab::~DocumentTab()
{
    delete m_view;
    G_Application::Instance()->UnregisterDocument(m_document);
    delete m_document;
}

QString DocumentTab::Path() const
{
    return GQ_ToQStringFromUtf8(m_document->FilePath());
}
