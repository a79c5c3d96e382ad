#pragma once

#include "host/framework/g_operation.h"

// "ti_stamp", the reader's stamp command: runs "tp_stamp" once with the stamp chosen
// before the run and hands the new annotation's "annotid" back.
class GP_StampAnnot : public G_Operation
{
public:
    G_Operation* Clone() override;
    ~GP_StampAnnot() override;
    const char* Name() override;
    int AuthorityType() override;
    int DoAction() override;
};

// Runs "tp_stamp" with the stamp keys of `op` and copies its "annotid" back into `op`.
// Shared by the stamp and invoice seal commands, which place stamps the same way.
int ForwardToStampPlacement(G_Operation* op);
