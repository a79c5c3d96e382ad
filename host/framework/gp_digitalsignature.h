#pragma once
// "d_digitalsignature": asks for the digital signature of the annotation "annotid" on page
// "pageIndex". This reader has no signing service yet: the request is recorded in the UI
// context (SignatureRequests) and the user is told what would be signed.

#include "g_operation.h"

class GP_DigitalSignature : public G_Operation
{
public:
    G_Operation* Clone() override;
    const char* Name() override { return "d_digitalsignature"; }
    int DoAction() override;
};
