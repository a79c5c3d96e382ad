#include "stampkit.h"

#include "host/document/ica_streamreader.h"
#include "host/framework/iplugin.h"
#include "host/utils/popupseam.h"
#include "hostfixture.h"
#include "picker/stampdialog.h"
#include "placement/gac_stamp.h"
#include "placement/gt_stamp.h"

#include <QCheckBox>
#include <QCursor>

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

void StampKit::AddCustomSeal(G_DocView* view, const QSize& size)
{
    const StampParam custom{SealPath(), size};
    QMetaObject::invokeMethod(StampDialog::Instance(view, CCA_GRect()), "AddCustomStamp",
                              Q_ARG(StampParam, custom));
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
    QCursor::setPos(fx.View()->viewport()->mapToGlobal(pos));
    fx.MoveToViewport(pos);
}

IG_Annot* StampKit::StartInteractive(HostFixture& fx, int page, const CCA_GPoint& mm,
                                     const CCA_GSize& size, bool applySign)
{
    PointerTo(fx, page, mm);
    const PickerChoice choice(size, applySign);
    const int result = fx.Run("ti_stamp", {});
    return result < 0 ? nullptr : Pending(fx.View());
}

StampKit::PickerChoice::PickerChoice(const CCA_GSize& size, bool applySign)
{
    Utils::Widgets::PopupSeam::SetAnswerer([size, applySign](Utils::Widgets::Nex_Popup* popup) {
        auto* picker = qobject_cast<StampDialog*>(popup);
        if (!picker)
            return;
        picker->findChild<QCheckBox*>(QStringLiteral("ApplyDigitalSignatureBox"))
            ->setChecked(applySign);
        // Placed with the mouse, also where the picker starts with auto stamping on.
        picker->findChild<QCheckBox*>(QStringLiteral("ChkApplySig"))->setChecked(false);
        picker->SelectStamp(StampParam{SealPath(), QSize(int(size.width), int(size.height))});
    });
}

StampKit::PickerChoice::~PickerChoice()
{
    Utils::Widgets::PopupSeam::SetAnswerer(nullptr);
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

int StampKit::RunTimeCount(IG_Page* page)
{
    int count = 0;
    for (int i = 0; i < page->AnnotCount(); ++i)
        count += page->AnnotAt(i)->IsOnPage() && page->AnnotAt(i)->IsRunTime();
    return count;
}

CCA_GPoint StampKit::Centre(const CCA_GRect& r)
{
    return CCA_GPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
