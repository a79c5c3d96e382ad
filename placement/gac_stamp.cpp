#include "gac_stamp.h"

#include "host/document/g_annottype.h"

GAC_Stamp::GAC_Stamp() = default;

GAC_Stamp::~GAC_Stamp() = default;

NexSharedPtr<NexJson> GAC_Stamp::BuildAppearanceJson(bool runTime)
{
    NexSharedPtr<NexJson> content = NexJsonFactory::ParseJsonString("{}");
    content->SetMember("RunTime", NexJson::Value(runTime));
    content->SetMember("SubType", NexJson::Value(subType.str()));

    NexJson::Value appearance = NexJson::Value::object();
    appearance["Type"] = PageObjTypeToString(G_PageObjType_Image);
    appearance["ResourceID"] = static_cast<unsigned int>(resourceId);
    appearance["Width"] = static_cast<double>(width);
    appearance["Height"] = static_cast<double>(height);
    appearance["RunTime"] = runTime;
    NexJson::Value list = NexJson::Value::array();
    list.push_back(std::move(appearance));
    content->SetMember("Appearance", std::move(list));
    return content;
}
