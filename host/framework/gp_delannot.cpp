#include "gp_delannot.h"

#include "../document/ig_annot.h"
#include "../document/ig_document.h"
#include "../document/ig_page.h"
#include "annotremovecommand.h"
#include "g_docview.h"

#include <QRegularExpression>
#include <QUndoStack>

G_Operation* GP_DelAnnot::Clone()
{
    auto* op = new GP_DelAnnot;
    op->CopyFrom(this);
    return op;
}

int GP_DelAnnot::DoAction()
{
    G_DocView* view = DocView();
    if (!view || !view->GDocument())
        return 0;
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d+)\\s*:\\s*(\\d+)\\s*$"));
    const QRegularExpressionMatch m = form.match(Param()->GetQString("pageAndAnnotID"));
    if (!m.hasMatch())
        return 0;
    bool pageOk = false, idOk = false;
    const int pageIndex = m.captured(1).toInt(&pageOk);
    const unsigned int id = m.captured(2).toUInt(&idOk);
    IG_Page* page = pageOk && idOk ? view->Page(pageIndex) : nullptr;
    if (!page)
        return 0;
    IG_Annot* annot = page->AnnotById(id);
    if (!annot || !annot->IsOnPage())
        return 0;
    auto* command = new AnnotRemoveCommand(view, annot);
    view->UndoStack()->push(command); // the push removes it
    return view->UndoStack()->count() > 0 && !annot->IsOnPage() ? 1 : 0;
}
