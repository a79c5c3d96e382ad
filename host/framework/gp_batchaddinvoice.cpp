#include "gp_batchaddinvoice.h"

#include "../document/ig_annot.h"
#include "../document/ig_document.h"
#include "../document/ig_page.h"
#include "../json/nexjson.h"
#include "annotaddcommand.h"
#include "g_docview.h"
#include "g_event.h"
#include "g_settingmgr.h"
#include "g_uicontext.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QUndoStack>

G_Operation* GP_BatchAddInvoice::Clone()
{
    auto* op = new GP_BatchAddInvoice;
    op->CopyFrom(this);
    return op;
}

bool GP_BatchAddInvoice::ParsePlacements(const QString& text, QList<Placement>* out)
{
    static const QRegularExpression item(QStringLiteral(
        "^\\s*(\\d+)\\s*:\\s*(-?\\d+(?:\\.\\d+)?)\\s*,\\s*(-?\\d+(?:\\.\\d+)?)\\s*$"));
    QList<Placement> placements;
    const QStringList parts = text.split(QLatin1Char('/'));
    for (const QString& part : parts) {
        const QRegularExpressionMatch m = item.match(part);
        if (!m.hasMatch())
            return false;
        Placement p;
        bool ok = false;
        p.page = m.captured(1).toInt(&ok);
        if (!ok)
            return false;
        p.position = CCA_GPoint(m.captured(2).toFloat(), m.captured(3).toFloat());
        placements.append(p);
    }
    if (out)
        *out = placements;
    return !placements.isEmpty();
}

int GP_BatchAddInvoice::DoAction()
{
    G_DocView* view = DocView();
    IG_Document* doc = GDocument();
    if (!view || !doc)
        return 0;
    QList<Placement> placements;
    if (!ParsePlacements(Param()->GetQString("pageandposition"), &placements))
        return 0;
    const CCA_GSize size = Param()->GetGSize("stampSize");
    const int stampId = Param()->GetInt32("stampId", 0);
    if (!(size.width > 0) || !(size.height > 0) || doc->IsReadOnly())
        return 0;
    // Stamps without their picture would be empty frames on every page.
    if (doc->ResourceImage(stampId).isNull())
        return 0;
    for (const Placement& p : qAsConst(placements)) {
        if (!view->Page(p.page))
            return 0;
    }
    // The same content a placed picture stamp carries.
    NexJson::Value appearance = NexJson::Value::object();
    appearance["Type"] = "Image";
    appearance["ResourceID"] = static_cast<unsigned int>(stampId);
    appearance["Width"] = double(size.width);
    appearance["Height"] = double(size.height);
    appearance["RunTime"] = false;
    NexJson::Value content = NexJson::Value::object();
    content["RunTime"] = false;
    content["SubType"] = "Stamp";
    content["Appearance"] = NexJson::Value::array({appearance});
    const std::string text = content.dump();

    // Made and signed the way a stamp placed automatically by "tp_stamp" is.
    const CCA_String date =
        GQ_ToCAS(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    const CCA_String user =
        GQ_ToCAS(G_SettingMgr::Instance()
                     ->ConfigValue(QStringLiteral("annot.annothighlight.identity.username"),
                                   QDir::home().dirName())
                     .toString());
    auto* macro = new QUndoCommand(QCoreApplication::translate("G_DocView", "Add stamps"));
    QList<IG_Annot*> made;
    for (const Placement& p : qAsConst(placements)) {
        IG_Page* page = view->Page(p.page);
        page->Load();
        const CCA_GRect rect(p.position.x, p.position.y, p.position.x + size.width,
                             p.position.y + size.height);
        IG_Annot* annot = page->NewAnnot(G_AnnotType_Stamp, "Stamp", rect, text);
        if (!annot)
            break;
        annot->SetCreationDate(date);
        annot->SetCreator(user);
        made.append(annot);
        new AnnotAddCommand(view, annot, macro);
    }
    if (made.size() != placements.size()) {
        // All or nothing: take back what was placed before the failure.
        for (IG_Annot* annot : qAsConst(made))
            annot->Page()->RemoveAnnot(annot->ID(), false);
        delete macro;
        view->Refresh();
        return 0;
    }
    view->UndoStack()->push(macro); // the children's first redo does nothing
    Param()->Add("annotCount", int(made.size()));
    if (UIContext())
        UIContext()->FireEvent(
            new G_DocumentChangedEvent(view, G_Event::DocumentChanged, 1, made.first()));
    view->Refresh();
    return 1;
}
