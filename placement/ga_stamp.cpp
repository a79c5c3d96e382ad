#include "ga_stamp.h"

#include "gac_stamp.h"
#include "host/document/g_annottype.h"
#include "host/document/g_application.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "host/framework/contextmenuitemstate.h"
#include "host/framework/g_contextmenu.h"
#include "host/framework/g_operationparam.h"
#include "host/framework/g_settingmgr.h"
#include "host/framework/g_uicontext.h"

#include <QDebug>
#include <QMap>

GA_Stamp::GA_Stamp()
{
    qDebug() << "GA_Stamp" << static_cast<const void*>(this);
}

GA_Stamp::~GA_Stamp()
{
    delete m_stampCmd;
    m_stampCmd = nullptr;
    SetCurrentAnnot(nullptr);
}

G_ToolHandler* GA_Stamp::CreateInstance()
{
    return new GA_Stamp;
}

CCA_String GA_Stamp::HandlerName()
{
    return "StampEditHandler";
}

void GA_Stamp::OnDeactivate() {}

int GA_Stamp::OnLButtonDown(unsigned int flags, const CCA_Point& point)
{
    return GA_Common::OnLButtonDown(flags, point);
}

int GA_Stamp::OnLButtonUp(unsigned int flags, const CCA_Point& point)
{
    return GA_Common::OnLButtonUp(flags, point);
}

int GA_Stamp::OnMouseMove(unsigned int flags, const CCA_Point& point)
{
    return GA_Common::OnMouseMove(flags, point);
}

QVector<CCA_Point> GA_Stamp::GetCtrlPoints()
{
    return GA_Common::GetCtrlPoints();
}

bool GA_Stamp::HitTest(const CCA_Point& point)
{
    return GA_Common::HitTest(point);
}

bool GA_Stamp::Filter(IG_Annot* annot)
{
    if (!annot)
        return false;

    const QString line = QString("%1 subannotType: %2, IsSignature is %3, annitID is %4")
                             .arg(QStringLiteral("GA_Stamp::Filter"))
                             .arg(static_cast<int>(annot->Type()))
                             .arg(annot->IsSignature() ? 1 : 0)
                             .arg(annot->ID());
    G_Application::Instance()->Logger()->Write(line.toUtf8().constData());

    const QString type = QString::fromUtf8(AnnotTypeToString(annot->Type()));
    const QString sub = GQ_ToQString(annot->SubType());
    if (type == QLatin1String("Stamp") && sub == QLatin1String("Tablet"))
        return false;
    return type == QLatin1String("Stamp") && !annot->IsSignature() &&
           sub != QLatin1String("PreSeal");
}

void GA_Stamp::OnSelected()
{
    GA_Common::OnSelected();

    if (!m_stampCmd) {
        m_stampCmd = new GAC_Stamp;
        m_stampCmd->view = DocView();
        m_stampCmd->SetAnnot(CurrentAnnot());
    }

    IG_Annot* annot = CurrentAnnot();
    if (!annot || !annot->Page())
        return;
    G_SettingMgr* settings = G_SettingMgr::Instance();
    settings->SetConfigCache(QStringLiteral("stampPageIndex"), annot->Page()->Index());
    settings->SetConfigCache(QStringLiteral("stampAnnotID"), annot->ID());
}

int GA_Stamp::OnRButtonUp(unsigned int, const CCA_Point&)
{
    G_UIContext* context = UIContext();
    if (!context || !context->ContextMenu())
        return 0;
    IG_Annot* annot = CurrentAnnot();
    if (!annot || !annot->Page())
        return 0;

    auto* params = new G_OperationParam;
    params->Add("pageIndex", annot->Page()->Index());
    params->Add("annotid", static_cast<int>(annot->ID()));

    const IG_Document* doc = GDocument();
    const QString sub = GQ_ToQString(annot->SubType());
    const bool editable = !(doc && doc->IsReadOnly()) && !annot->IsLocked() &&
                          sub.toLower() != QLatin1String("pdfsign");
    const bool signable =
        editable && sub.compare(QLatin1String("DateStamp"), Qt::CaseInsensitive) != 0;

    QMap<QString, ContextMenuItemState> states;
    ContextMenuItemState edit;
    edit.SetFlag(ContextMenuItemState::Enabled, editable);
    edit.SetFlag(ContextMenuItemState::Visible, true);
    states.insert(QStringLiteral("d_delpageannot"), edit);
    states.insert(QStringLiteral("d_embedpageannot"), edit);
    ContextMenuItemState sign;
    sign.SetFlag(ContextMenuItemState::Enabled, true);
    sign.SetFlag(ContextMenuItemState::Visible, signable);
    states.insert(QStringLiteral("d_applysignature"), sign);

    // The menu may run an operation that drops this selection; nothing here is touched
    // after it returns.
    context->ContextMenu()->ShowMenu(QStringLiteral("annot"), states, params);
    return 0;
}
