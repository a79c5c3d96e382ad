#pragma once
// One open document in the window: the document (owned) and its view, registered with the
// engine while the tab lives. The view goes first, so its tools can still reach the
// document while they close.

#include <QString>
#include <QWidget>

class G_DocView;
class G_UIContext;
class IG_Document;

class DocumentTab : public QWidget
{
    Q_OBJECT
public:
    DocumentTab(G_UIContext* context, IG_Document* document, QWidget* parent = nullptr);
    ~DocumentTab() override;

    G_DocView* View() const { return m_view; }
    IG_Document* Document() const { return m_document; }
    QString Path() const; // the file it was opened from or saved to (empty when none)

private:
    IG_Document* m_document;
    G_DocView* m_view;
};
