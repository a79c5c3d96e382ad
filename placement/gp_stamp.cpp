#include "gp_stamp.h"

#include "gac_stamp.h"
#include "gpi_cancelannot.h"
#include "gt_stamp.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_settingmgr.h"
#include "host/framework/g_uicontext.h"

#include <QCursor>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QLoggingCategory>

namespace
{
constexpr float kMinZoom = 10.0f;
constexpr float kMaxZoom = 500.0f;

// Local time to the second, as the annotation keeps it. Formatted once a second: a batch
// places many stamps within one, and the local-time conversion is the costly part.
QString creationTime()
{
    static qint64 second = -1;
    static QString text;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    if (now != second) {
        text = QDateTime::fromSecsSinceEpoch(now).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        second = now;
    }
    return text;
}

} // namespace

GP_Stamp::GP_Stamp()
{
    Param()->Add("name", QStringLiteral("tp_stamp"));
}

G_Operation* GP_Stamp::Clone()
{
    auto* copy = new GP_Stamp;
    copy->CopyFrom(this);
    return copy;
}

GP_Stamp::~GP_Stamp() = default;

const char* GP_Stamp::Name()
{
    return "tp_stamp";
}

int GP_Stamp::AuthorityType()
{
    return 2;
}

int GP_Stamp::DoAction()
{
    G_DocView* view = DocView();
    if (!view)
        return 0;
    auto* tool = dynamic_cast<GT_Stamp*>(view->ToolHandlerByName("tp_stamp"));
    if (!tool)
        return 0;
    G_UIContext* context = UIContext() ? UIContext() : view->UIContext();

    // Placing at a zoom the reader cannot show would put the preview out of reach.
    const float zoom = view->GetZoom();
    if (zoom > kMaxZoom || zoom < kMinZoom) {
        if (context) {
            if (G_Operation* zoomOp = context->CreateOperationByName("v_zoom", QString())) {
                zoomOp->Param()->Add("zoomIndex", zoom > kMaxZoom ? kMaxZoom : kMinZoom);
                zoomOp->ExecuteAction();
                zoomOp->DeleteLater();
            }
            context->FireEvent(new G_StringEvent(
                tr("The current view zoom no more than 10%-500%, automatic recovery has been "
                   "made."),
                173));
        }
    }

    view->SetToolHandler(tool);
    if (CancelAnnotInstance)
        CancelAnnotInstance->SetPendingTool(tool);

    GAC_Stamp* command = tool->StampCommand();
    if (!command)
        return 0;
    const G_OperationParam* param = Param();
    command->pageIndex = param->GetInt32("pageIndex", view->CurrentPageIndex());
    command->resourceId = param->GetInt32("stampId", 0);
    command->imagePath = param->GetQString("imgPath");
    const CCA_GSize size = param->GetGSize("stampSize");
    command->width = size.width;
    command->height = size.height;
    command->annotType = 8;
    command->applySign = param->GetBool("applysign", false);
    const CCA_GPoint position = param->GetGPoint("position");
    const bool isAuto = param->GetBool("auto", false);
    QString subType = param->GetQString("subType");
    if (subType.isEmpty())
        subType = QStringLiteral("Stamp");

    const CCA_GRect placed(position.x, position.y, position.x + size.width,
                           position.y + size.height);
    command->Flush(placed, !isAuto);
    IG_Annot* annot = command->Annot();
    if (!annot)
        return 1;
    // A batch places a stamp per page: its two lines are only put together when shown.
    const bool log = QLoggingCategory::defaultCategory()->isDebugEnabled();
    if (log)
        qDebug() << "GP_Stamp::DoAction"
                 << " annot id: " << annot->ID();

    // Keep the new annotation out of the page cache so it is drawn live while it moves.
    auto renderItem = NexJsonFactory::CreateObject();
    renderItem->SetMember("IsRender", NexJson::Value(false));
    renderItem->SetMember("RenderType", NexJson::Value(0));
    NexJson::Value ids = NexJson::Value::array();
    ids.push_back(annot->ID());
    renderItem->SetMember("ID", std::move(ids));
    auto renderList = NexJsonFactory::CreateArray();
    renderList->Append(renderItem);
    auto request = NexJsonFactory::CreateObject();
    request->SetMember("RenderParams", renderList);
    const std::string requestText = NexJsonFactory::BuildJsonString(request);
    if (log)
        qDebug() << requestText.c_str();
    view->ApplyRenderParams(QString::fromUtf8(requestText.c_str()));

    annot->SetCreationDate(GQ_ToCAS(creationTime()));
    const QString userKey = QStringLiteral("annot.annothighlight.identity.username");
    const QString user =
        G_SettingMgr::Instance()->ConfigValue(userKey, QDir::home().dirName()).toString();
    annot->SetCreator(GQ_ToCAS(user));

    if (isAuto) {
        command->subType = GQ_ToCAS(subType);
        annot->SetSubType(command->subType);
        annot->SetRect(placed);
        command->CreateAnnotCmd(annot);
        command->SetAnnot(nullptr);
        if (context) {
            context->FireEvent(
                new G_DocumentChangedEvent(context->CurrentDocView(), 110, 1, annot));
        }
        Param()->Add("annotid", static_cast<int>(annot->ID()));
        Param()->Add("pageIndex", annot->Page() ? annot->Page()->Index() : command->pageIndex);
        if (context) {
            context->FireEvent(new G_CommandBarOpChangedEvent(G_Event::CommandBarSettingData(
                QStringList{QStringLiteral("t_handtool")}, 7, QVariant(true))));
        }
    } else {
        const CCA_Point scenePoint = view->ScenePointFromGlobalPoint(QCursor::pos());
        int pointerPage = view->PageIndexByPoint(scenePoint, true, false);
        CCA_GRect rect(0, 0, size.width, size.height);
        if (pointerPage >= 0) {
            const CCA_GPoint p = view->DocPointFromScenePoint(scenePoint, pointerPage);
            const double left = double(p.x) - double(size.width) * 0.5;
            const double top = double(p.y) - double(size.height) * 0.5;
            rect = CCA_GRect(float(left), float(top), float(left) + size.width,
                             float(top) + size.height);
        }
        command->subType = "Stamp";
        annot->SetSubType(command->subType);
        annot->SetRect(rect);
        if (context) {
            context->FireEvent(
                new G_DocumentChangedEvent(context->CurrentDocView(), 110, 0, annot));
        }
    }

    view->Refresh();
    return 1;
}
