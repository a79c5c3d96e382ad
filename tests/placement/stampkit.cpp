#include "stampkit.h"

#include "host/document/ica_streamreader.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_uicontext.h"
#include "host/framework/iplugin.h"
#include "host/utils/popupseam.h"
#include "hostfixture.h"
#include "picker/stampdialog.h"
#include "placement/gac_stamp.h"
#include "placement/gt_stamp.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QMouseEvent>

extern "C" QObject* qt_plugin_instance();

void StampKit::InitPlugin()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    auto* plugin = qobject_cast<ExtensionSystem::IPlugin*>(qt_plugin_instance());
    QString error;
    plugin->Initialize(QStringList(), &error);
    plugin->InitializeComponents();
}

QString StampKit::SealPath()
{
    return QStringLiteral(SAMPLES_DIR "/seal_red.png");
}

QString StampKit::ContractPath()
{
    return QStringLiteral(SAMPLES_DIR "/contract.pdf");
}

int StampKit::EmbedSeal(IG_Document* doc)
{
    ICA_StreamReader* stream =
        ICA_StreamReader::CreateFileStreamReader(GQ_ToCAWS(SealPath()).c_str(), 0);
    const int id = doc->AddResource(stream, 1, 0);
    if (stream)
        stream->Release();
    return id;
}

void StampKit::PointerTo(HostFixture& fx, int page, const CCA_GPoint& mm)
{
    const QPoint pos = fx.ViewportPoint(page, mm);
    QWidget* port = fx.View()->viewport();
    QCursor::setPos(port->mapToGlobal(pos));
    fx.MoveToViewport(pos);
}

IG_Annot* StampKit::StartInteractive(HostFixture& fx, int page, const CCA_GPoint& mm,
                                     const CCA_GSize& size, bool applySign)
{
    PointerTo(fx, page, mm);
    G_Operation* op = fx.Context()->CreateOperationByName("ti_stamp", QString());
    if (!op)
        return nullptr;
    const PickerChoice choice(size, applySign);
    op->PerformAction();
    op->DeleteLater();
    return Pending(fx.View());
}

StampKit::PickerChoice::PickerChoice(const CCA_GSize& size, bool applySign)
{
    Utils::Widgets::PopupSeam::SetAnswerer([size, applySign](Utils::Widgets::Nex_Popup* popup) {
        auto* picker = qobject_cast<StampDialog*>(popup);
        if (!picker)
            return;
        picker->findChild<QCheckBox*>(QStringLiteral("ApplyDigitalSignatureBox"))
            ->setChecked(applySign);
        picker->SelectStamp(StampParam{SealPath(), QSize(int(size.width), int(size.height))});
    });
}

StampKit::PickerChoice::~PickerChoice()
{
    Utils::Widgets::PopupSeam::SetAnswerer(nullptr);
}

IG_Annot* StampKit::PlaceAuto(HostFixture& fx, int page, const CCA_GPoint& topLeft,
                              const CCA_GSize& size)
{
    G_Operation* op = fx.Context()->CreateOperationByName("tp_stamp", QString());
    if (!op)
        return nullptr;
    op->Param()->Add("stampId", EmbedSeal(fx.Document()));
    op->Param()->Add("stampSize", size);
    op->Param()->Add("imgPath", SealPath());
    op->Param()->Add("pageIndex", page);
    op->Param()->Add("position", topLeft);
    op->Param()->Add("auto", 1);
    op->ExecuteAction();
    const unsigned int id = unsigned(op->Param()->GetInt32("annotid", 0));
    op->DeleteLater();
    IG_Page* target = fx.View()->Page(page);
    return target && id ? target->AnnotById(id) : nullptr;
}

GT_Stamp* StampKit::StampTool(G_DocView* view)
{
    return dynamic_cast<GT_Stamp*>(view->ToolHandlerByName("tp_stamp"));
}

IG_Annot* StampKit::Pending(G_DocView* view)
{
    GT_Stamp* tool = StampTool(view);
    return tool && tool->StampCommand() ? tool->StampCommand()->Annot() : nullptr;
}

QString StampKit::CurrentTool(G_DocView* view)
{
    return view->ToolHandler() ? GQ_ToQString(view->ToolHandler()->HandlerName()) : QString();
}

QList<const G_Event*> StampKit::Events(G_UIContext* context, int type)
{
    QList<const G_Event*> found;
    const QList<G_Event*> log = context->EventLog();
    for (const G_Event* event : log) {
        if (event->Type() == type)
            found.append(event);
    }
    return found;
}

int StampKit::RunTimeCount(IG_Page* page)
{
    int count = 0;
    for (int i = 0; i < page->AnnotCount(); ++i) {
        IG_Annot* annot = page->AnnotAt(i);
        if (annot->IsOnPage() && annot->IsRunTime())
            ++count;
    }
    return count;
}

CCA_GPoint StampKit::Centre(const CCA_GRect& r)
{
    return CCA_GPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
