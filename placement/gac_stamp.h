#pragma once

#include "host/framework/gac_common.h"

#include <QString>

// The record a stamp annotation is made from. The placement operation fills it, the
// placement tool and the stamp handler own one each; Flush (base) turns it into an
// annotation whose content is BuildAppearanceJson.
class GAC_Stamp : public GAC_Common
{
public:
    GAC_Stamp();
    ~GAC_Stamp() override;

    // {"RunTime", "SubType", "Appearance": [{"Type", "ResourceID", "Width", "Height",
    // "RunTime"}]} in that member order; a run-time annotation is the placement preview.
    NexSharedPtr<NexJson> BuildAppearanceJson(bool runTime) override;

    float width = 0;        // page units
    float height = 0;       // page units
    int resourceId = 0;     // picture resource of the document, written as unsigned
    bool applySign = false; // digital signature after an interactive commit
    QString imagePath;      // picture file, embedded again when the stamp is committed
};
