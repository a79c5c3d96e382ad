#pragma once
// "d_applysignature": the stamp context menu's "Apply signature"; the same request as
// "d_digitalsignature", recorded under its own name.

#include "gp_digitalsignature.h"

class GP_ApplySignature : public GP_DigitalSignature
{
public:
    G_Operation* Clone() override;
    const char* Name() override { return "d_applysignature"; }
};
